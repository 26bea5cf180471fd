#include "graphics/help_picture.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "calc/dialog_calls.h"
#include "calc/help_texts.h"
#include "calc/session.h"
#include "graphics/display_list.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace kora {
namespace {

constexpr std::size_t kMaxPictureBytes = 16 * 1024 * 1024;
constexpr std::size_t kMaxLabel = 255;
constexpr char kEndOfText = 3;
constexpr char kEscape = 27;
constexpr int kHpglFont = 2;
constexpr real kDefaultCharWidth = 0.19L;  // cm, the plotter's default character size
constexpr real kDefaultCharHeight = 0.27L; // cm

// Commands that set up the plotter and change nothing of the picture.
constexpr std::array<std::string_view, 8> kSkippedCommands{"IN", "IP", "IW", "DF",
                                                           "VS", "LT", "RO", "SC"};

// The letters that a "}" turns into their umlaut with character set 3 (code page 850).
struct Umlaut {
    char letter;
    char umlaut;
};
constexpr std::array<Umlaut, 6> kUmlauts{{
    {'A', '\x8E'},
    {'O', '\x99'},
    {'U', '\x9A'},
    {'a', '\x84'},
    {'o', '\x94'},
    {'u', '\x81'},
}};

bool IsBlank(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

real Degrees(real radians) {
    return radians * 180 / std::numbers::pi_v<real>;
}
real Radians(real degrees) {
    return degrees * std::numbers::pi_v<real> / 180;
}

// The colour a pen draws in: pens 1 to 7 in the palette colours of the CAD colours 1 to 7,
// other numbers as colour index directly.
int PenColour(int pen) {
    return pen >= 1 && pen <= 7 ? DisplayList::GetColorTurbo(pen) : pen;
}

// A number parameter: blanks and the letters P and A are dropped, an empty text reads as 0.
real ParameterValue(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (!IsBlank(c) && c != 'P' && c != 'A' && c != 'p' && c != 'a') digits += c;
    std::size_t start = !digits.empty() && digits[0] == '+' ? 1 : 0;
    double value = 0;
    std::from_chars(digits.data() + start, digits.data() + digits.size(), value);
    return std::isfinite(value) ? static_cast<real>(value) : 0; // "inf" is no coordinate
}

class Interpreter {
  public:
    Interpreter(DisplayList& list, std::string_view hpgl) : list_(list), in_(hpgl) {}

    HelpPictureResult Run() {
        result_.opened = true;
        list_.SetColor(PenColour(pen_));
        while (auto name = CommandName()) {
            if (!Execute(*name)) {
                result_.complete = false;
                break;
            }
        }
        return result_;
    }

  private:
    struct Parameters {
        std::vector<std::string> texts;
        bool terminated = true; // false: the file ended before the ";"
        real Value(std::size_t i) const { return ParameterValue(texts[i]); }
        bool Empty() const { return texts.empty() || (texts.size() == 1 && texts[0].empty()); }
    };

    bool AtEnd() const { return pos_ >= in_.size(); }
    char Next() { return in_[pos_++]; }

    // Skips blanks, line ends and ";" before a name; nullopt at the end of the file. A name
    // cut off by the end of the file marks the picture incomplete.
    std::optional<std::string> CommandName() {
        while (!AtEnd() && (IsBlank(in_[pos_]) || in_[pos_] == ';'))
            ++pos_;
        if (AtEnd()) return std::nullopt;
        std::string name;
        if (in_[pos_] == kEscape) {
            ++pos_;
            return std::string(1, kEscape);
        }
        while (name.size() < 2) {
            while (!AtEnd() && IsBlank(in_[pos_]))
                ++pos_;
            if (AtEnd()) {
                result_.complete = false;
                return std::nullopt;
            }
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(Next())));
        }
        return name;
    }

    // The parameters up to the next ";", split at ",".
    Parameters ReadParameters() {
        Parameters p;
        p.texts.emplace_back();
        while (!AtEnd()) {
            char c = Next();
            if (c == ';') return p;
            if (c == ',')
                p.texts.emplace_back();
            else if (!IsBlank(c))
                p.texts.back() += c;
        }
        p.terminated = false;
        return p;
    }

    bool SkipToSemicolon() {
        while (!AtEnd())
            if (Next() == ';') return true;
        return false;
    }

    bool Execute(const std::string& name) {
        if (name == "PU" || name == "PD" || name == "PA") return Plot(name);
        if (name == "SP") return SelectPen();
        if (name == "CI") return Circle();
        if (name == "AA") return ArcAbsolute();
        if (name == "SI") return CharacterSize();
        if (name == "DI") return Direction();
        if (name == "LB") return Label();
        if (name == "PE") return Encoded();
        if (name == "CS") return CharacterSet();
        if (name[0] != kEscape && std::find(kSkippedCommands.begin(), kSkippedCommands.end(),
                                            name) == kSkippedCommands.end())
            result_.unknownCommands.push_back(name);
        return SkipToSemicolon();
    }

    void MoveOrDraw(real x, real y) {
        if (penDown_) list_.line(x_, y_, x, y);
        x_ = x;
        y_ = y;
    }

    bool Plot(const std::string& name) {
        if (name == "PU") penDown_ = false;
        if (name == "PD") penDown_ = true;
        Parameters p = ReadParameters();
        if (!p.Empty())
            for (std::size_t i = 0; i + 1 < p.texts.size(); i += 2)
                MoveOrDraw(p.Value(i) * kPlotterUnit, p.Value(i + 1) * kPlotterUnit);
        return p.terminated;
    }

    void UsePen(int pen) {
        pen_ = pen;
        list_.SetColor(PenColour(pen));
    }

    bool SelectPen() {
        Parameters p = ReadParameters();
        UsePen(p.texts[0].empty() ? 1 : static_cast<int>(std::lround(p.Value(0))));
        return p.terminated;
    }

    bool Circle() {
        Parameters p = ReadParameters();
        real r = std::fabs(p.Value(0)) * kPlotterUnit;
        if (p.terminated && r > 0) list_.circle(x_, y_, r);
        return p.terminated;
    }

    // Arc around the centre (x, y) from the current point through the sweep; a negative
    // sweep runs clockwise, drawn as the counter-clockwise arc from its end. The current point
    // becomes the arc's end point, as a plotter leaves it.
    bool ArcAbsolute() {
        Parameters p = ReadParameters();
        if (!p.terminated) return false;
        if (p.texts.size() < 3) return true;
        real xc = p.Value(0) * kPlotterUnit, yc = p.Value(1) * kPlotterUnit;
        real sweep = p.Value(2);
        real r = std::hypot(x_ - xc, y_ - yc);
        real start = Degrees(std::atan2(y_ - yc, x_ - xc));
        real end = start + sweep;
        if (penDown_ && r > 0) {
            real turned = std::fmod(sweep, 360.0L);
            if (turned == 0)
                list_.Arc(xc, yc, r, start, start + 360);
            else if (sweep > 0)
                list_.Arc(xc, yc, r, start, end);
            else
                list_.Arc(xc, yc, r, end, start);
        }
        x_ = xc + r * std::cos(Radians(end));
        y_ = yc + r * std::sin(Radians(end));
        return true;
    }

    bool CharacterSize() {
        Parameters p = ReadParameters();
        if (p.Empty()) {
            charWidth_ = kDefaultCharWidth;
            charHeight_ = kDefaultCharHeight;
        } else if (p.texts.size() >= 2) {
            charWidth_ = p.Value(0);
            charHeight_ = p.Value(1);
        }
        return p.terminated;
    }

    bool Direction() {
        Parameters p = ReadParameters();
        if (p.Empty()) {
            run_ = 1;
            rise_ = 0;
        } else if (p.texts.size() >= 2) {
            run_ = p.Value(0);
            rise_ = p.Value(1);
        }
        return p.terminated;
    }

    bool CharacterSet() {
        Parameters p = ReadParameters();
        characterSet_ = static_cast<int>(std::lround(p.Value(0)));
        return p.terminated;
    }

    std::string WithUmlauts(const std::string& raw) const {
        if (characterSet_ != 3) return raw;
        std::string text;
        for (char c : raw) {
            if (c == '}' && !text.empty()) {
                auto it = std::find_if(kUmlauts.begin(), kUmlauts.end(),
                                       [&](const Umlaut& u) { return u.letter == text.back(); });
                if (it != kUmlauts.end()) {
                    text.back() = it->umlaut;
                    continue;
                }
            }
            text += c;
        }
        return text;
    }

    bool Label() {
        std::string raw;
        for (;;) {
            if (AtEnd()) return false;
            char c = Next();
            if (c == kEndOfText) break;
            if (c != '\r' && c != '\n') raw += c;
        }
        std::string text = WithUmlauts(raw);
        if (text.size() > kMaxLabel) {
            text.resize(kMaxLabel);
            ++result_.labelsCut;
        }
        real angle = Degrees(std::atan2(rise_, run_));
        list_.SetTextStyle(kHpglFont, angle, charHeight_ * 10, charWidth_ * 10);
        list_.OutTextXY(text, x_, y_);
        return true;
    }

    // One HP-GL/2 encoded number, least significant digit first; nullopt at ";" or the end of
    // the file (ended tells which).
    std::optional<std::int64_t> EncodedNumber(bool base32, bool& ended) {
        std::int64_t value = 0, weight = 1;
        while (!AtEnd()) {
            auto c = static_cast<unsigned char>(in_[pos_]);
            if (c == ';') return std::nullopt;
            ++pos_;
            int digit = -1;
            bool last = false;
            if (base32 && c >= 63 && c <= 94) digit = c - 63;
            if (base32 && c >= 95 && c <= 126) digit = c - 95, last = true;
            if (!base32 && c >= 63 && c <= 126) digit = c - 63;
            if (!base32 && c >= 191 && c <= 254) digit = c - 191, last = true;
            if (digit < 0) continue;
            // Digits beyond 40 bits (far outside any plotter) add nothing.
            if (weight < (std::int64_t{1} << 40)) {
                value += digit * weight;
                weight *= base32 ? 32 : 64;
            }
            if (last) return (value & 1) ? -(value >> 1) : (value >> 1);
        }
        ended = true;
        return std::nullopt;
    }

    static bool StartsNumber(unsigned char c, bool base32) {
        return (c >= 63 && c <= 126) || (!base32 && c >= 191 && c <= 254);
    }

    bool Encoded() {
        bool base32 = false, liftNext = false, absoluteNext = false;
        while (!AtEnd()) {
            auto c = static_cast<unsigned char>(in_[pos_]);
            if (c == ';') {
                ++pos_;
                return true;
            }
            if (StartsNumber(c, base32)) {
                bool ended = false;
                auto dx = EncodedNumber(base32, ended);
                auto dy = dx ? EncodedNumber(base32, ended) : std::nullopt;
                if (ended) return false;
                if (!dy) continue; // ";" inside the pair ends the command next round
                real x = static_cast<real>(*dx) * kPlotterUnit;
                real y = static_cast<real>(*dy) * kPlotterUnit;
                if (!absoluteNext) x += x_, y += y_;
                penDown_ = !liftNext;
                MoveOrDraw(x, y);
                liftNext = absoluteNext = false;
                continue;
            }
            ++pos_;
            if (c == '7') base32 = true;
            if (c == '<') liftNext = true;
            if (c == '=') absoluteNext = true;
            if (c == ':' || c == '>') {
                if (AtEnd()) return false;
                auto argument = static_cast<unsigned char>(Next());
                if (c == ':') UsePen(std::clamp<int>(argument, 1, 15));
            }
        }
        return false;
    }

    DisplayList& list_;
    std::string_view in_;
    std::size_t pos_ = 0;
    HelpPictureResult result_;
    real x_ = 0, y_ = 0;
    bool penDown_ = false;
    int pen_ = 1;
    real charWidth_ = kDefaultCharWidth, charHeight_ = kDefaultCharHeight;
    real run_ = 1, rise_ = 0;
    int characterSet_ = 0;
};

} // namespace

HelpPictureResult PlotHelpPictureText(DisplayList& list, std::string_view hpgl) {
    return Interpreter(list, hpgl).Run();
}

HelpPictureResult PlotHelpPicture(DisplayList& list, const std::string& path) {
    auto bytes = ReadSmallFile(path, kMaxPictureBytes);
    if (!bytes) {
        std::string message = Utf8ToCp850(path);
        message.append(" ").append(help_text::kNotFound).append(help_text::kExclamation);
        Session& session = list.session();
        session.dialogs->ShowInfo(DialogText(session.config, message), "");
        return {};
    }
    list.SetWaitCursor();
    HelpPictureResult result = PlotHelpPictureText(list, *bytes);
    list.SetOldCursor();
    return result;
}

} // namespace kora
