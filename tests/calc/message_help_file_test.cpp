// The shipped message help file "kora.err" kept complete and readable: every message the
// sources can put into the message list finds its cause and remedy by the 14-character rule,
// and the file stays a code page 850 text of three-line entries with CR LF line ends.
#include "base/codepage.h"
#include "base/configuration.h"
#include "calc/message_help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kKeyLength = 14; // the lookup compares this many characters

fs::path DataFolder() {
    return fs::path(KORA_SOURCE_DATA_DIR);
}
fs::path SourceFolder() {
    return DataFolder().parent_path() / "src";
}
fs::path HelpFile() {
    return DataFolder() / "help" / kMessageHelpFile;
}

Configuration ShippedHelp() {
    Configuration config;
    config.helpFolder = (DataFolder() / "help").string();
    return config;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---------------------------------------------------------------------------------------------
// String literals of the sources.

struct Literal {
    std::string text; // the bytes the program holds, adjacent literals joined
    std::string where;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// The bytes a literal's body stands for: hex escapes take every following hex digit, octal
// ones up to three digits, as the compiler reads them.
std::string Unescape(std::string_view body) {
    struct Simple {
        char escape, byte;
    };
    static constexpr Simple kSimple[] = {{'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'a', '\a'},
                                         {'b', '\b'}, {'f', '\f'}, {'v', '\v'}};
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const char e = body[++i];
        if (e == 'x') {
            int value = 0;
            while (i + 1 < body.size() && std::isxdigit(static_cast<unsigned char>(body[i + 1])))
                value = value * 16 + HexValue(body[++i]);
            out += static_cast<char>(value);
        } else if (e >= '0' && e <= '7') {
            int value = e - '0';
            for (int n = 1;
                 n < 3 && i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7'; ++n)
                value = value * 8 + (body[++i] - '0');
            out += static_cast<char>(value);
        } else {
            const auto* simple = std::find_if(std::begin(kSimple), std::end(kSimple),
                                              [&](const Simple& s) { return s.escape == e; });
            out += simple != std::end(kSimple) ? simple->byte : e; // \\ \" \' \?
        }
    }
    return out;
}

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// A small C++ lexer: enough to tell string literals from comments, character literals and
// digit separators.
class LiteralScanner {
  public:
    LiteralScanner(std::string source, std::string name)
        : s_(std::move(source)), name_(std::move(name)) {}

    std::vector<Literal> Scan() {
        std::vector<Literal> literals;
        while (i_ < s_.size()) {
            if (StartsWith("//")) {
                SkipPast("\n");
            } else if (StartsWith("/*")) {
                SkipPast("*/");
            } else if (s_[i_] == '\'') {
                SkipCharacterLiteral();
            } else if (s_[i_] == '"') {
                literals.push_back(JoinedLiteral());
            } else {
                Advance();
            }
        }
        return literals;
    }

  private:
    bool StartsWith(std::string_view text) const { return s_.compare(i_, text.size(), text) == 0; }

    void Advance() {
        if (s_[i_] == '\n') ++line_;
        ++i_;
    }

    void SkipPast(std::string_view end) {
        while (i_ < s_.size() && !StartsWith(end))
            Advance();
        for (std::size_t k = 0; k < end.size() && i_ < s_.size(); ++k)
            Advance();
    }

    void SkipCharacterLiteral() {
        // 1'000 is a number with a digit separator, not the start of a character.
        if (i_ > 0 && std::isxdigit(static_cast<unsigned char>(s_[i_ - 1]))) return Advance();
        Advance();
        while (i_ < s_.size() && s_[i_] != '\'' && s_[i_] != '\n') {
            if (s_[i_] == '\\') Advance();
            Advance();
        }
        if (i_ < s_.size()) Advance();
    }

    bool AtRawLiteral() const {
        return i_ >= 1 && s_[i_ - 1] == 'R' && (i_ < 2 || !IsIdentifierChar(s_[i_ - 2]));
    }

    // One literal at s_[i_] == '"'; the position ends after its closing quote.
    std::string OneLiteral() {
        if (AtRawLiteral()) {
            const std::size_t open = s_.find('(', i_);
            const std::string close = ")" + s_.substr(i_ + 1, open - i_ - 1) + "\"";
            const std::size_t end = s_.find(close, open);
            std::string text = s_.substr(open + 1, end - open - 1);
            while (i_ < end + close.size())
                Advance();
            return text;
        }
        Advance();
        const std::size_t start = i_;
        while (i_ < s_.size() && s_[i_] != '"') {
            if (s_[i_] == '\\') Advance();
            Advance();
        }
        std::string text = Unescape(std::string_view(s_).substr(start, i_ - start));
        if (i_ < s_.size()) Advance();
        return text;
    }

    // Adjacent literals ("Bl\x94" "cke") are one text to the compiler, and so here.
    Literal JoinedLiteral() {
        Literal literal{"", name_ + ":" + std::to_string(line_)};
        for (;;) {
            literal.text += OneLiteral();
            std::size_t next = i_;
            while (next < s_.size() && std::isspace(static_cast<unsigned char>(s_[next])))
                ++next;
            if (next >= s_.size() || s_[next] != '"') return literal;
            while (i_ < next)
                Advance();
        }
    }

    std::string s_, name_;
    std::size_t i_ = 0;
    int line_ = 1;
};

constexpr std::string_view kMessageStarts[] = {
    "Fatal  :", "Fehler :", "Warnung:", "Fehler bei Iteration", "Fehler in GetW"};

// Literals that start like a message but never reach the list as they stand.
constexpr std::string_view kNotListMessages[] = {
    "Fatal  : ",                      // start of "<input> keine Zahl !", see the table below
    "Fehler : ",                      // caption of the error box and of the error buttons
    "Fatal  : FL : n < 2 (points) !", // box of the F,R-L design dialog
};

// Labels of the power rule: the list receives the label followed by " (pow)".
struct Completion {
    std::string_view literal, message;
};
constexpr Completion kCompletions[] = {{"Fehler : AF", "Fehler : AF (pow)"}};

bool StartsLikeAMessage(std::string_view text) {
    return std::any_of(std::begin(kMessageStarts), std::end(kMessageStarts),
                       [&](std::string_view start) { return text.starts_with(start); });
}

std::vector<Literal> MessageLiteralsOfTheSources() {
    std::vector<Literal> messages;
    for (const auto& entry : fs::recursive_directory_iterator(SourceFolder())) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        const std::string name = fs::relative(entry.path(), SourceFolder()).string();
        for (Literal& literal : LiteralScanner(ReadBytes(entry.path()), name).Scan())
            if (StartsLikeAMessage(literal.text)) messages.push_back(std::move(literal));
    }
    return messages;
}

std::string MessageToLookUp(const std::string& literal) {
    for (const Completion& c : kCompletions)
        if (literal == c.literal) return std::string(c.message);
    return literal;
}

TEST(MessageHelpScanner, ReadsLiteralsAsTheCompilerDoes) {
    const std::string source = "// \"Fatal  : comment\"\n"
                               "/* \"Fatal  : block\" */ char q = '\"'; int n = 1'000;\n"
                               "auto a = \"Fehler : zu viele Bl\\x94\" \"cke\";\n"
                               "auto b = \"\\370C) \\\"x\\\"\"; auto c = R\"(raw \"text\")\";\n";
    const std::vector<Literal> literals = LiteralScanner(source, "t.cpp").Scan();
    ASSERT_EQ(literals.size(), 3u);
    EXPECT_EQ(literals[0].text, "Fehler : zu viele Bl\x94"
                                "cke");
    EXPECT_EQ(literals[0].where, "t.cpp:3");
    EXPECT_EQ(literals[1].text, "\xF8"
                                "C) \"x\"");
    EXPECT_EQ(literals[2].text, "raw \"text\"");
}

TEST(MessageHelpFile, EveryMessageLiteralOfTheSourcesHasAnEntry) {
    const std::vector<Literal> literals = MessageLiteralsOfTheSources();
    // Guards the scan itself: messages every build holds.
    for (std::string_view known : {"Fatal  : n = 0 !", "Warnung: Setzgefahr", "Fehler in GetW !"}) {
        EXPECT_TRUE(std::any_of(literals.begin(), literals.end(),
                                [&](const Literal& l) { return l.text == known; }))
            << known << " not found under " << SourceFolder();
    }
    const Configuration config = ShippedHelp();
    for (const Literal& literal : literals) {
        if (std::find(std::begin(kNotListMessages), std::end(kNotListMessages), literal.text) !=
            std::end(kNotListMessages))
            continue;
        const std::string message = MessageToLookUp(literal.text);
        const MessageHelp help = LookUpMessageHelp(config, message);
        ASSERT_TRUE(help.fileFound) << HelpFile();
        EXPECT_TRUE(help.entryFound)
            << literal.where << ": no entry for \"" << Cp850ToUtf8(message) << "\"";
    }
}

// Messages as the list holds them: built ones with their number or name, the texts without a
// class word, and those of the material and statistics code that build on this file.
TEST(MessageHelpFile, BuiltAndUnprefixedMessagesHaveEntries) {
    std::vector<std::string> messages = {
        "Fatal  : Abschnitt 7 keine Zahl !",
        "Fatal  : L0i = 0 ! (12)",
        "Fehler : Ri < Ri-1 ! (i=3)",
        "Fatal  : si+1 <= si ! (12)",
        "Fatal  : Fi <= Fi-1 ! (2)",
        "Fatal  : Ri < 0 ! (4)",
        "Fatal  : FLR: Fi <= Fi-1 !  (2)",
        "Fatal  : FLR: Li >= Li-1 !  (3)",
        "Fatal  : FLR: Ri < Rmin !  (5)",
        "Fatal  : FLR: Ri <= 0 !  (1)",
        "Warnung: Endwindung < 1  (2)",
        "Fehler : tauk2>tau zul! S=0.85",
        "Fehler : taukh>tauhzul! S=0.92",
        "Fehler : tau2>tau zul! S=0.97",
        "Warnung: tau(T=80\xF8"
        "C)",
        "Warnung: d<dmin (0.5)",
        "Warnung: d>dmax (17)",
        "Warnung: T>Tmax (120\xF8"
        "C)",
        "Warnung: T>T2relax (150\xF8"
        "C)",
        "Warnung: T<T1relax (80\xF8"
        "C)",
        "Fehler : AF (pow)",
        "Relax (pow)",
        "N (pow)",
        "DIN: 1<d<10",
        "DIN: 0.3<d<20",
        "DIN: 2<d<20",
        "DIN: 0.07<d<20",
        "FD  DIN: 1<d<14",
        "VD  DIN: 1<d<7",
        "DIN: 7<d<80",
        "DIN 2076 0.3<d<20",
        "DIN 2076 0.07<d<20",
        "DIN 2077  7<d<80",
        "DIN 2096: warmgewalzt !",
        "Tol l0 kaltwarm !",
        "Drahtdurchmesser nicht nach DIN 2076 !",
        "Drahtdurchmesser nicht nach DIN 2077 !",
        "Schraffurfehler",
        "Invalid temp directory",
        "error blockno.5",
        "Error in DXF File",
        "GetArcCenter l12=0",
        "Fehler in GetArcCenter (dphi = 0 ! ",
        "Fehler : Blockname zu lang: FEDERBLOCK1",
        "Fehler : Blockname ung\x81ltig: A B",
        "Fatal  : KORWST DBF error",
        "Fatal  : KORWSTR DBF error",
        "Fatal  : KORWSTR.DBF error",
        "Fatal  : KORWST Goodman",
        "Fatal  : korwstt.dbf error",
        "Fatal  : korwstt DBF error",
        "Fatal  : Statistische Auswertung !",
    };
    // The inputs the calculation checks for numbers before it starts.
    for (std::string_view input :
         {"d", "h", "Dm",  "L1", "L2",   "Lx",    "nend1", "nend2", "x",       "nue",
          "E", "G", "rho", "Rm", "tauz", "theta", "f",     "seps",  "wireTol", "faktorRFc"})
        messages.push_back("Fatal  : " + std::string(input) + " keine Zahl !");

    const Configuration config = ShippedHelp();
    for (const std::string& message : messages)
        EXPECT_TRUE(LookUpMessageHelp(config, message).entryFound)
            << "no entry for \"" << Cp850ToUtf8(message) << "\"";
}

// ---------------------------------------------------------------------------------------------
// The file itself.

// Lines without their CR LF; false when a line end is anything else.
bool SplitCrLfLines(const std::string& bytes, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) return false; // last line without CR LF
        std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) return false;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return true;
}

std::vector<std::string> HelpFileLines() {
    const std::string bytes = ReadBytes(HelpFile());
    std::vector<std::string> lines;
    EXPECT_FALSE(bytes.empty()) << HelpFile();
    EXPECT_TRUE(SplitCrLfLines(bytes, lines)) << "every line must end with CR LF";
    return lines;
}

bool IsBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

TEST(MessageHelpFile, IsASequenceOfThreeLineEntries) {
    const std::vector<std::string> lines = HelpFileLines();
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.size() % 3, 0u) << "entries are message, cause and remedy";
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        const std::string message = Cp850ToUtf8(lines[i]);
        EXPECT_FALSE(IsBlank(lines[i])) << "entry at line " << i + 1;
        EXPECT_FALSE(IsBlank(lines[i + 1])) << "cause of " << message;
        EXPECT_FALSE(IsBlank(lines[i + 2])) << "remedy of " << message;
    }
}

// The lookup reads every line, not only every third: a cause or remedy that began like a
// message would answer for it, and of two entries with one key only the first is reachable.
TEST(MessageHelpFile, EachEntryIsTheFirstLineToAnswerForItsKey) {
    const std::vector<std::string> lines = HelpFileLines();
    std::map<std::string, std::size_t> firstLineOfKey;
    for (std::size_t i = 0; i < lines.size(); ++i)
        firstLineOfKey.try_emplace(lines[i].substr(0, kKeyLength), i);
    for (std::size_t i = 0; i + 2 < lines.size(); i += 3) {
        const std::size_t first = firstLineOfKey.at(lines[i].substr(0, kKeyLength));
        EXPECT_EQ(first, i) << "\"" << Cp850ToUtf8(lines[i]) << "\" is answered by line "
                            << first + 1 << ": \"" << Cp850ToUtf8(lines[first]) << "\"";
    }
}

// Length of the UTF-8 multibyte sequence at text[i], or 0 when there is none.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return length;
}

TEST(MessageHelpFile, IsCodePage850Text) {
    const std::vector<std::string> lines = HelpFileLines();
    bool umlauts = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (std::size_t k = 0; k < line.size(); ++k) {
            const auto c = static_cast<unsigned char>(line[k]);
            EXPECT_FALSE(c < 0x20 || c == 0x7F) << "control byte in line " << i + 1;
            EXPECT_EQ(Utf8SequenceAt(line, k), 0u)
                << "UTF-8 text in line " << i + 1 << ": " << line.substr(k, 4);
            umlauts = umlauts || c == 0x84 || c == 0x94 || c == 0x81 || c == 0xE1;
        }
    }
    EXPECT_TRUE(umlauts) << "the German texts carry their umlauts as code page 850 bytes";
}

} // namespace
} // namespace kora
