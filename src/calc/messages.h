// The message list of the calculation: at most 11 distinct texts of at most 36 characters,
// each starting with its class word "Fatal  :", "Fehler :" or "Warnung:".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kora {

class MessageList {
  public:
    static constexpr int kSlots = 11;
    static constexpr std::size_t kTextLength = 36;

    // Stores the first 36 characters unless an equal text is stored or the list is full.
    void Add(std::string_view text);
    void Clear() { count_ = 0; }

    int Count() const { return count_; }
    const std::string& operator[](int i) const { return slots_[i]; }
    bool Contains(std::string_view text) const;
    const std::string* begin() const { return slots_.data(); }
    const std::string* end() const { return slots_.data() + count_; }

  private:
    std::uint16_t count_ = 0;
    std::array<std::string, kSlots> slots_{};
};

} // namespace kora
