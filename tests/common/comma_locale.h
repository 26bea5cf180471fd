// A process locale whose decimal separator is a comma, as a window toolkit sets it for a
// German user. Number files must not change under it.
#pragma once

#include <clocale>
#include <string>

namespace kora::test {

class CommaLocale {
  public:
    CommaLocale() {
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = previous ? previous : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name)) {
                active_ = true;
                break;
            }
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return active_; }

  private:
    std::string saved_;
    bool active_ = false;
};

} // namespace kora::test
