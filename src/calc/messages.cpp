#include "calc/messages.h"

namespace kora {

void MessageList::Add(std::string_view text) {
    std::string_view cut = text.substr(0, kTextLength);
    if (Contains(cut)) return;
    if (count_ >= kSlots) return;
    slots_[count_++] = std::string(cut);
}

bool MessageList::Contains(std::string_view text) const {
    std::string_view cut = text.substr(0, kTextLength);
    for (int i = 0; i < count_; ++i)
        if (slots_[i] == cut) return true;
    return false;
}

} // namespace kora
