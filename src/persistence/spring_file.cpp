#include "persistence/spring_file.h"

#include "base/file_io.h"
#include "base/file_texts.h"
#include "persistence/material_tables.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "calc/settings.h"
#include "calc/spring_fields.h"
#include "engine/calculate.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <type_traits>
#include <unordered_map>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kora {
namespace {

namespace fs = std::filesystem;

// ---- Texts of the spring file and its messages (code page 850) ----

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kHeaderRuleLength = 65;
constexpr std::string_view kIdentification = "KORA - Progressive zyl. Druckfeder   #Federdaten";
constexpr std::string_view kVersionPrefix = "Version ";
constexpr std::string_view kBanner = "    KALDORN Federberechnung";
constexpr std::string_view kFreeHeader = "Eingaben einer Feder, Ergebnisse werden neu berechnet";
constexpr int kHeaderLines = 5;

constexpr std::string_view kSectionsMarker = "Windungen";
constexpr std::string_view kTableStart = "---------"; // 9
constexpr std::string_view kTableEnd = "--------";    // 8
constexpr std::string_view kChangesMarker = "\x8E"
                                            "NDERUNGEN";
constexpr std::string_view kListStart = "--------------------"; // 20
constexpr std::string_view kRecordEnd = "--------------";       // 14
constexpr std::string_view kDocumentsMarker = "Dokumente";
constexpr std::string_view kCharacteristicMarker = "Char.Line";
constexpr std::string_view kFrlMarker = "F,R - L";
constexpr std::string_view kExtraMarker = "Zusatzwerte";
constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kFalse = "FALSE";
constexpr char kBar = '|';
constexpr char kCr = '\r';
constexpr char kCtrlZ = '\x1A';

constexpr std::string_view kCurrentName = "aktuell";
constexpr std::string_view kArchiveRefusal = "File- und User- Befehle sind im "
                                             "Archivierungsmodus nicht m\x94"
                                             "glich.";
constexpr std::string_view kExists = "existiert bereits";
constexpr std::string_view kOverwrite = "\x9A"
                                        "berschreiben";
constexpr std::string_view kInvalidName = "Ung\x81"
                                          "ltiger Dateiname";
constexpr std::string_view kFilePrefix = "Datei ";
const std::string kNotReadable = std::string(file_text::kNotFoundOrNoAccess) + " !";
constexpr std::string_view kTooLarge = "ist zu gro\xE1 f\x81"
                                       "r eine Federdatei !";
constexpr std::string_view kNoSpringFile = "ist keine Federdatei !";
constexpr std::string_view kOutOfStepStart = "Federdatei ";
constexpr std::string_view kOutOfStepLine = " fehlerhaft: Zeile ";
constexpr std::string_view kOutOfStepExpected = " sollte \"";
constexpr std::string_view kOutOfStepEnd = "\" lauten. Die Datei wurde nicht geladen !";
constexpr std::string_view kCutStart = "Federdatei ";
constexpr std::string_view kCutMiddle = ": zu lange Tabelle gek\x81"
                                        "rzt, Zeile ";
constexpr std::string_view kCutEnd = " !";
constexpr std::string_view kRangeMiddle = " fehlerhaft: Zeile ";
constexpr std::string_view kRangeNumber = ": Zahl \"";
constexpr std::string_view kRangeEnd = "\" au\xE1"
                                       "erhalb des Zahlenbereichs. Die Datei wurde nicht geladen !";
constexpr std::string_view kNoticeLine = ", Zeile ";
constexpr std::string_view kNoticeNotInList = " ist nicht in der Liste, ";
constexpr std::string_view kNoticeOutOfRange = " liegt nicht im Bereich ";
constexpr std::string_view kNoticeUsed = " eingesetzt !";

// A legitimate spring file has a few kilobytes; anything this large is not one.
constexpr std::size_t kMaxSpringFileBytes = std::size_t{4} << 20;

constexpr int kMaxChanges = 25;
constexpr int kMaxDrawingTexts = 8;
constexpr int kDocumentCount = 5;
constexpr int kTitleBlockFields = 8;
constexpr int kDrawingTextFields = 6;

// ---- Value forms ----

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

// A path as a code page 850 message shows it.
std::string PathText(std::string_view path) {
    return Utf8ToCp850(path);
}

std::string RealText(const Configuration& config, real x) {
    return LongRealFormat(config, x);
}

std::string ShortRealText(const Configuration& config, real x) {
    return NeverZero(config, x, ShortFormat(config, x));
}

// A CR or Ctrl-Z inside a one-line text would end the line early when read back.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), kCr, ' ');
    std::replace(line.begin(), line.end(), kCtrlZ, ' ');
    return line;
}

// A field of a piped line must not hold the separator either.
std::string PipedField(std::string_view text) {
    std::string field = OneLine(text);
    std::replace(field.begin(), field.end(), kBar, ' ');
    return field;
}

// Line breaks of a change description are kept as "|" + LF, read back as CR LF.
std::string DescriptionLine(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), kCr, kBar);
    std::replace(line.begin(), line.end(), kCtrlZ, ' ');
    return line;
}

std::string DescriptionFromLine(std::string line) {
    std::replace(line.begin(), line.end(), kBar, kCr);
    return line;
}

std::string Cut(std::string text, std::size_t maxLength) {
    if (text.size() > maxLength) text.resize(maxLength);
    return text;
}

std::string TrimmedRight(std::string_view text) {
    auto last = text.find_last_not_of(" \t\n");
    return std::string(last == std::string_view::npos ? std::string_view{}
                                                      : text.substr(0, last + 1));
}

bool ReadBoolean(std::string_view line) {
    std::string upper(line);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == kTrue;
}

char ReadFlagLetter(std::string_view line) {
    return line.empty() ? 'N' : line.front();
}

std::vector<std::string> SplitPiped(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find(kBar, start)) != std::string_view::npos; start = bar + 1)
        fields.emplace_back(line.substr(start, bar - start));
    if (start < line.size()) fields.emplace_back(line.substr(start));
    return fields;
}

// ---- The plain fields ----

// The line groups of the record's plain fields (calc/spring_fields.h), in the order of the
// file; each group is written and read in the order of its lines.
constexpr FileGroup kPlainGroups[] = {
    FileGroup::TitleAndMain,   FileGroup::MaterialAndManufacturing,
    FileGroup::MaterialNumber, FileGroup::DrawingAndSettings,
    FileGroup::EndCoils,       FileGroup::StatisticsAndTail,
    FileGroup::ExtraValues,
};

// Numbers beyond these magnitudes mean nothing for a spring in any unit; far beyond them a
// long double still holds values that no double, no JSON reader and no report column can.
constexpr real kLargestMagnitude = 1e30L;
constexpr real kSmallestMagnitude = 1e-30L;

bool MagnitudeIsMeaningful(real value) {
    if (!std::isfinite(value) || value == 0) return true; // the calculation names these
    const real magnitude = std::fabs(value);
    return magnitude <= kLargestMagnitude && magnitude >= kSmallestMagnitude;
}

// ---- Writing ----

class LineWriter {
  public:
    explicit LineWriter(const Configuration& config) : config_(config) {}
    void Line(std::string_view text) { out_.append(text).append(kCrLf); }
    void Integer(long long value) { Line(std::to_string(value)); }
    void Real(real value) { Line(RealText(config_, value)); }
    void Text(std::string_view text) { Line(OneLine(text)); }
    // The count line of a table, which is the record's field of that name.
    void Count(std::string_view field, int count) {
        Integer(count);
        Wrote(field);
    }
    void Fields(const SpringRecord& spring, std::span<const SpringField* const> fields) {
        for (const SpringField* field : fields) {
            std::visit([&](auto member) { Write(spring, member); }, field->member);
            Wrote(field->name);
        }
    }
    // Keeps the names of the record's fields as they are written.
    void NameFields(std::vector<std::string_view>& names) { names_ = &names; }
    std::string Take() { return std::move(out_); }
    const Configuration& config() const { return config_; }

  private:
    void Write(const SpringRecord& s, real SpringRecord::*m) { Real(s.*m); }
    void Write(const SpringRecord& s, word SpringRecord::*m) { Integer(s.*m); }
    void Write(const SpringRecord& s, std::int32_t SpringRecord::*m) { Integer(s.*m); }
    void Write(const SpringRecord& s, bool SpringRecord::*m) { Line(s.*m ? kTrue : kFalse); }
    void Write(const SpringRecord& s, TextMember f) { Text(s.*f.member); }
    void Write(const SpringRecord& s, FlagMember f) { Line(std::string(1, s.*f.member)); }
    void Wrote(std::string_view field) {
        if (names_) names_->push_back(field);
    }

    const Configuration& config_;
    std::string out_;
    std::vector<std::string_view>* names_ = nullptr;
};

int CountIn(int count, int maximum) {
    return std::clamp(count, 0, maximum);
}

void WriteHeader(LineWriter& w) {
    const std::string rule(kHeaderRuleLength, '-');
    w.Line(rule);
    w.Line(kIdentification);
    w.Line(std::string(kVersionPrefix).append(kProgramVersion).append(kBanner));
    w.Line(kFreeHeader);
    w.Line(rule);
}

void WriteSections(LineWriter& w, const SpringRecord& s) {
    w.Line(kSectionsMarker);
    w.Line(kTableStart);
    const int count = CountIn(s.nsec, kMaxSections);
    w.Count("nsec", count);
    for (int i = 1; i <= count; ++i) {
        w.Real(s.sections[i].L0i);
        w.Real(s.sections[i].ni);
    }
    w.Line(kTableEnd);
}

void WriteChanges(LineWriter& w, const SpringRecord& s) {
    w.Line(kChangesMarker);
    const int count = CountIn(s.changeCount, kMaxChanges);
    w.Count("changeCount", count);
    w.Line(kListStart);
    for (int i = 0; i < count; ++i) {
        const AendRecord& c = s.changes[i];
        w.Text(c.text);
        w.Text(c.date);
        w.Text(c.editor);
        w.Line(DescriptionLine(c.description));
        w.Line(kRecordEnd);
    }
}

void WriteDrawingInfo(LineWriter& w, const DrawingInfo& info) {
    const int count = CountIn(info.textCount, kMaxDrawingTexts);
    std::string line;
    for (const std::string* field : {&info.geprDate, &info.geprName, &info.normDate, &info.normName,
                                     &info.row4Date, &info.row4Name})
        line.append(PipedField(*field)).push_back(kBar);
    line.append(std::to_string(count)).push_back(kBar);
    line.push_back(kBar);
    w.Line(line);
    w.Text(info.bearbDate);
    w.Text(info.ersatzFuer);
    w.Text(info.ersetztDurch);
    w.Text(info.bearbName);
    for (int i = 0; i < count; ++i) {
        const DrawingText& t = info.texts[i];
        std::string text;
        for (real value : {t.x, t.y, t.h, t.phi})
            text.append(ShortRealText(w.config(), value)).push_back(kBar);
        text.append(OneLine(t.text)).push_back(kBar);
        text.push_back(kBar);
        w.Line(text);
    }
}

void WriteDocuments(LineWriter& w, const SpringRecord& s) {
    w.Line(kDocumentsMarker);
    w.Integer(kDocumentCount);
    w.Line(kListStart);
    for (const DocumentLink& link : s.documents) {
        w.Text(link.program);
        w.Text(link.document);
        w.Line(kRecordEnd);
    }
}

void WriteCharacteristic(LineWriter& w, const SpringRecord& s) {
    w.Line(kCharacteristicMarker);
    w.Line(kTableStart);
    const int count = CountIn(s.nchar, kMaxPoints);
    w.Count("nchar", count);
    for (int i = 1; i <= count; ++i) {
        w.Real(s.points[i].F);
        w.Real(s.points[i].s);
    }
    w.Line(kTableEnd);
}

void WriteThirdValues(LineWriter& w, const SpringRecord& s) {
    const int count = CountIn(s.nchar, kMaxPoints);
    for (int i = 0; i <= count; ++i)
        w.Real(s.points[i].L);
}

void WriteFrl(LineWriter& w, const SpringRecord& s) {
    w.Line(kFrlMarker);
    w.Line(kTableStart);
    const int count = CountIn(s.nfrl, kMaxPoints);
    w.Count("nfrl", count);
    for (int i = 1; i <= count; ++i) {
        w.Real(s.frl[i].F);
        w.Real(s.frl[i].L);
        w.Real(s.frl[i].R);
    }
    w.Line(kTableEnd);
}

void WriteLineGroups(LineWriter& w, const SpringRecord& spring) {
    WriteHeader(w);
    w.Fields(spring, FieldsOfGroup(FileGroup::TitleAndMain));
    WriteSections(w, spring);
    w.Fields(spring, FieldsOfGroup(FileGroup::MaterialAndManufacturing));
    WriteChanges(w, spring);
    WriteDrawingInfo(w, spring.drawingInfo);
    WriteDocuments(w, spring);
    w.Fields(spring, FieldsOfGroup(FileGroup::MaterialNumber));
    WriteCharacteristic(w, spring);
    w.Fields(spring, FieldsOfGroup(FileGroup::DrawingAndSettings));
    WriteThirdValues(w, spring);
    w.Fields(spring, FieldsOfGroup(FileGroup::EndCoils));
    WriteFrl(w, spring);
    w.Fields(spring, FieldsOfGroup(FileGroup::StatisticsAndTail));
    w.Line(kExtraMarker);
    w.Fields(spring, FieldsOfGroup(FileGroup::ExtraValues));
}

// ---- Reading ----

// Thrown inside the reader only, to leave the line groups at a broken marker.
struct OutOfStep {
    int line;
    std::string_view expected;
};

class FieldReader {
  public:
    // Where a value came from: its line and the line's text.
    struct Origin {
        int line = 0;
        std::string text;
    };

    FieldReader(std::string_view bytes, SpringFileReading& reading)
        : lines_(bytes), reading_(reading) {}

    // Each read gives false at the end of the file; the field then keeps its value.
    std::optional<std::string> Line() {
        auto line = lines_.Next();
        if (!line) ended_ = true;
        return line;
    }
    bool Ended() const { return ended_; }
    bool AtEnd() const { return lines_.AtEnd(); }
    int LinesRead() const { return lines_.LinesRead(); }

    void Skip(int count) {
        for (int i = 0; i < count && Line(); ++i) {
        }
    }
    void Marker(std::string_view expected) {
        auto line = Line();
        if (line && TrimmedRight(*line) != expected) throw OutOfStep{LinesRead(), expected};
    }
    bool Real(real& value) {
        auto line = Line();
        if (!line) return false;
        value = ParseReal(*line); // the reader's ParseReal takes "," as well
        if (!MagnitudeIsMeaningful(value) && reading_.number.empty()) {
            reading_.line = LinesRead();
            reading_.number = *line;
        }
        Remember(&value, *line);
        return true;
    }
    bool Integer(std::int32_t& value) {
        auto line = Line();
        if (!line) return false;
        value = ParseInteger(*line);
        Remember(&value, *line);
        return true;
    }
    // A value beyond the word's range becomes its largest value, never a wrapped small one.
    bool Word(word& value) {
        std::int32_t read = value;
        bool got = Integer(read);
        value = static_cast<word>(std::clamp<std::int32_t>(read, 0, 0xFFFF));
        if (got) Remember(&value, origins_[&read].text);
        origins_.erase(&read);
        return got;
    }
    // The line a field of the record being read came from, if the file held it.
    const Origin* OriginOf(const void* field) const {
        auto found = origins_.find(field);
        return found == origins_.end() ? nullptr : &found->second;
    }
    bool Text(std::string& text, std::size_t maxLength) {
        auto line = Line();
        if (line) text = Cut(std::move(*line), maxLength);
        return line.has_value();
    }
    // A count line: the file's count (at least 0), and whether it was read.
    std::optional<int> Count() {
        auto line = Line();
        if (!line) return std::nullopt;
        return std::max(ParseInteger(*line), 0);
    }
    // Entries a table may hold of what the file announces; the rest is read and dropped.
    int Kept(int announced, int maximum) {
        if (announced > maximum) reading_.cutCounts.push_back(LinesRead());
        return std::min(announced, maximum);
    }

    void Fields(SpringRecord& spring, std::span<const SpringField* const> fields) {
        for (const SpringField* field : fields)
            std::visit([&](auto member) { Read(spring, member); }, field->member);
    }
    // A group that newer files carry on: it reads what the file holds and stops at its end.
    void FieldsWhileAny(SpringRecord& spring, std::span<const SpringField* const> fields) {
        for (const SpringField* field : fields) {
            if (AtEnd()) return;
            std::visit([&](auto member) { Read(spring, member); }, field->member);
        }
    }

  private:
    void Read(SpringRecord& s, real SpringRecord::*m) { Real(s.*m); }
    void Read(SpringRecord& s, word SpringRecord::*m) { Word(s.*m); }
    void Read(SpringRecord& s, std::int32_t SpringRecord::*m) { Integer(s.*m); }
    void Read(SpringRecord& s, bool SpringRecord::*m) {
        if (auto line = Line()) s.*m = ReadBoolean(*line);
    }
    void Read(SpringRecord& s, TextMember f) { Text(s.*f.member, f.maxLength); }
    void Read(SpringRecord& s, FlagMember f) {
        if (auto line = Line()) s.*f.member = ReadFlagLetter(*line);
    }

    void Remember(const void* field, std::string text) {
        origins_[field] = {LinesRead(), std::move(text)};
    }

    LineReader lines_;
    SpringFileReading& reading_;
    bool ended_ = false;
    std::unordered_map<const void*, Origin> origins_;
};

void Notice(SpringFileReading& reading, const FieldReader& r, const void* field,
            std::string_view name, std::string used, std::string range) {
    const FieldReader::Origin* origin = r.OriginOf(field);
    if (!origin) return; // the default of a value the file does not hold
    reading.notices.push_back({origin->line, std::string(name), TrimmedRight(origin->text),
                               std::move(used), std::move(range)});
}

template <typename T>
void ForceIntoList(SpringFileReading& reading, const FieldReader& r, SpringRecord& spring,
                   const SpringRecord& defaults, const SpringField& field,
                   T SpringRecord::*member) {
    T& value = spring.*member;
    if (value >= field.choices->min && value <= field.choices->max) return;
    value = defaults.*member;
    Notice(reading, r, &value, field.name, std::to_string(value), {});
}

// Enumerations outside their lists fall back to their program-start values, in the order of
// the file. An end type is left as it is: the calculation refuses it with its own message.
void ForceEnumerationsIntoLists(SpringFileReading& reading, const FieldReader& r,
                                SpringRecord& spring) {
    const SpringRecord defaults{};
    for (FileGroup group : kPlainGroups) {
        for (const SpringField* field : FieldsOfGroup(group)) {
            if (!field->choices || field->choices->refusedByCalculation) continue;
            if (auto m = std::get_if<word SpringRecord::*>(&field->member))
                ForceIntoList(reading, r, spring, defaults, *field, *m);
            else if (auto i = std::get_if<std::int32_t SpringRecord::*>(&field->member))
                ForceIntoList(reading, r, spring, defaults, *field, *i);
        }
    }
}

template <typename T>
void ForceSetting(SpringFileReading& reading, const FieldReader& r, T& value, SettingRange<T> range,
                  std::string_view name) {
    const T forced = range.Force(value);
    if (forced == value) return;
    value = forced;
    auto text = [](T x) {
        if constexpr (std::is_integral_v<T>)
            return std::to_string(x);
        else
            return FormatC("%Lg", x);
    };
    Notice(reading, r, &value, name, text(forced), text(range.min) + " .. " + text(range.max));
}

void ForceSettingsIntoRange(SpringFileReading& reading, const FieldReader& r,
                            SpringRecord& spring) {
    ForceSetting(reading, r, spring.seps, kSepsRange, "seps");
    ForceSetting(reading, r, spring.wsteps, kWstepsRange, "wsteps");
    ForceSetting(reading, r, spring.faktorRFc, kFaktorRFcRange, "faktorRFc");
    ForceSetting(reading, r, spring.ssteps, kSstepsRange, "ssteps");
}

void ReadSections(FieldReader& r, SpringRecord& s) {
    r.Marker(kSectionsMarker);
    r.Marker(kTableStart);
    auto announced = r.Count();
    if (!announced) return;
    const int kept = r.Kept(*announced, kMaxSections);
    s.nsec = kept;
    for (int i = 1; i <= *announced && !r.Ended(); ++i) {
        CoilSection dropped;
        CoilSection& c = i <= kept ? s.sections[i] : dropped;
        r.Real(c.L0i);
        r.Real(c.ni);
    }
    r.Marker(kTableEnd);
}

void ReadChanges(FieldReader& r, SpringRecord& s) {
    r.Marker(kChangesMarker);
    auto announced = r.Count();
    if (!announced) return;
    const int kept = r.Kept(*announced, kMaxChanges);
    s.changeCount = kept;
    r.Marker(kListStart);
    for (int i = 0; i < *announced && !r.Ended(); ++i) {
        AendRecord dropped;
        AendRecord& c = i < kept ? s.changes[i] : dropped;
        r.Text(c.text, 20);
        r.Text(c.date, 10);
        r.Text(c.editor, 5);
        if (auto line = r.Line()) c.description = DescriptionFromLine(std::move(*line));
        r.Marker(kRecordEnd);
    }
}

// "x|y|h|phi|text||": the text is what lies between the fourth bar and the closing pair, so a
// bar inside the text does not shift anything.
void ReadDrawingText(std::string_view line, DrawingText& t) {
    real* values[] = {&t.x, &t.y, &t.h, &t.phi};
    std::size_t start = 0;
    for (real* value : values) {
        std::size_t bar = line.find(kBar, start);
        *value =
            ParseReal(line.substr(start, bar == std::string_view::npos ? line.npos : bar - start));
        if (bar == std::string_view::npos) return;
        start = bar + 1;
    }
    std::string_view rest = line.substr(start);
    if (rest.size() >= 2 && rest.substr(rest.size() - 2) == "||")
        rest.remove_suffix(2);
    else if (!rest.empty() && rest.back() == kBar)
        rest.remove_suffix(1);
    t.text = Cut(std::string(rest), 80);
}

void ReadDrawingInfo(FieldReader& r, DrawingInfo& info) {
    auto line = r.Line();
    if (!line) return;
    std::vector<std::string> fields = SplitPiped(*line);
    fields.resize(kTitleBlockFields);
    std::string* texts[] = {&info.geprDate, &info.geprName, &info.normDate,
                            &info.normName, &info.row4Date, &info.row4Name};
    for (std::size_t i = 0; i < std::size(texts); ++i)
        *texts[i] = Cut(fields[i], 10);
    const int announced = std::max(ParseInteger(fields[6]), 0);
    const int kept = r.Kept(announced, kMaxDrawingTexts);
    info.textCount = kept;
    r.Text(info.bearbDate, 10);
    r.Text(info.ersatzFuer, 15);
    r.Text(info.ersetztDurch, 15);
    r.Text(info.bearbName, 10);
    for (int i = 0; i < announced && !r.Ended(); ++i) {
        auto text = r.Line();
        if (text && i < kept) ReadDrawingText(*text, info.texts[i]);
    }
}

void ReadDocuments(FieldReader& r, SpringRecord& s) {
    r.Marker(kDocumentsMarker);
    auto announced = r.Count();
    if (!announced) return;
    const int kept = r.Kept(*announced, kDocumentCount);
    r.Marker(kListStart);
    for (int i = 0; i < *announced && !r.Ended(); ++i) {
        DocumentLink dropped;
        DocumentLink& link = i < kept ? s.documents[i] : dropped;
        r.Text(link.program, 50);
        r.Text(link.document, 50);
        r.Marker(kRecordEnd);
    }
}

// Gives the number of points the file announced (the third values follow that many + 1).
int ReadCharacteristic(FieldReader& r, SpringRecord& s) {
    r.Marker(kCharacteristicMarker);
    r.Marker(kTableStart);
    auto announced = r.Count();
    if (!announced) return 0;
    const int kept = r.Kept(*announced, kMaxPoints);
    s.nchar = kept;
    for (int i = 1; i <= *announced && !r.Ended(); ++i) {
        CharacteristicPoint dropped;
        CharacteristicPoint& p = i <= kept ? s.points[i] : dropped;
        r.Real(p.F);
        r.Real(p.s);
    }
    r.Marker(kTableEnd);
    return *announced;
}

void ReadThirdValues(FieldReader& r, SpringRecord& s, int announced) {
    for (int i = 0; i <= announced && !r.Ended(); ++i) {
        real dropped = 0;
        r.Real(i <= kMaxPoints ? s.points[i].L : dropped);
    }
}

void ReadFrl(FieldReader& r, SpringRecord& s) {
    r.Marker(kFrlMarker);
    r.Marker(kTableStart);
    auto announced = r.Count();
    if (!announced) return;
    const int kept = r.Kept(*announced, kMaxPoints);
    s.nfrl = kept;
    for (int i = 1; i <= *announced && !r.Ended(); ++i) {
        FrlPoint dropped;
        FrlPoint& p = i <= kept ? s.frl[i] : dropped;
        r.Real(p.F);
        r.Real(p.L);
        r.Real(p.R);
    }
    r.Marker(kTableEnd);
}

// The values after line 116 come from newer files only; an older file simply ends there.
void ReadExtraValues(FieldReader& r, SpringRecord& s) {
    if (r.AtEnd()) return;
    auto marker = r.Line();
    if (!marker || TrimmedRight(*marker) != kExtraMarker) return;
    r.FieldsWhileAny(s, FieldsOfGroup(FileGroup::ExtraValues));
}

// The line groups of the file, in order; a broken marker throws OutOfStep.
void ReadLineGroups(FieldReader& r, SpringRecord& s) {
    r.Skip(kHeaderLines);
    r.Fields(s, FieldsOfGroup(FileGroup::TitleAndMain));
    ReadSections(r, s);
    r.Fields(s, FieldsOfGroup(FileGroup::MaterialAndManufacturing));
    ReadChanges(r, s);
    ReadDrawingInfo(r, s.drawingInfo);
    ReadDocuments(r, s);
    r.Fields(s, FieldsOfGroup(FileGroup::MaterialNumber));
    const int announcedPoints = ReadCharacteristic(r, s);
    r.Fields(s, FieldsOfGroup(FileGroup::DrawingAndSettings));
    ReadThirdValues(r, s, announcedPoints);
    r.Fields(s, FieldsOfGroup(FileGroup::EndCoils));
    ReadFrl(r, s);
    r.Fields(s, FieldsOfGroup(FileGroup::StatisticsAndTail));
    ReadExtraValues(r, s);
}

constexpr int kFirstMarkerLine = 16; // "Windungen"

// ---- Name resolution ----

std::string WithExtension(const SpringFileContext& context, std::string_view name) {
    std::string file(name);
    file.append(".").append(kSpringFileExtension);
    if (context.directory.empty()) return file;
    return (fs::path(context.directory) / file).string();
}

void ShowInvalidName(Session& session, const std::string& path) {
    std::string message(kInvalidName);
    message.append(" ").append(Quoted(PathText(path))).append(" !");
    ShowError(session, message);
}

// An existing file is only opened for appending, never created and deleted again: deleting it
// before the new one is safely written would lose it if the write failed.
bool PathIsWritable(const std::string& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        if (fs::is_directory(path, ec)) return false;
        int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0) return false;
        return ::close(fd) == 0;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool closed = ::close(fd) == 0;
    return ::unlink(path.c_str()) == 0 && closed;
}

std::optional<std::string> Refused(Session& session) {
    session.AbortFlag = true;
    return std::nullopt;
}

} // namespace

// ---- Line reader ----

LineReader::LineReader(std::string_view bytes) : bytes_(bytes) {
    if (auto eof = bytes_.find(kCtrlZ); eof != std::string_view::npos)
        bytes_ = bytes_.substr(0, eof);
    // A file that went through a tool which dropped every CR is read line by line all the same.
    if (bytes_.find(kCr) == std::string_view::npos) end_ = '\n';
}

std::optional<std::string> LineReader::Next() {
    if (pos_ >= bytes_.size()) return std::nullopt;
    std::size_t end = bytes_.find(end_, pos_);
    std::string line(bytes_.substr(pos_, end == std::string_view::npos ? bytes_.npos : end - pos_));
    pos_ = end == std::string_view::npos ? bytes_.size() : end + 1;
    if (end_ == kCr && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    ++lines_;
    return line;
}

// ---- The spring file ----

std::string SpringFileText(const Configuration& config, const SpringRecord& spring) {
    LineWriter w(config);
    WriteLineGroups(w, spring);
    return w.Take();
}

std::vector<std::string_view> SpringFileFieldNames() {
    const Configuration config;
    LineWriter w(config);
    std::vector<std::string_view> names;
    w.NameFields(names);
    WriteLineGroups(w, SpringRecord{});
    return names;
}

SpringFileReading ParseSpringFile(std::string_view bytes, SpringRecord& spring) {
    SpringFileReading reading;
    FieldReader reader(bytes, reading);
    try {
        ReadLineGroups(reader, spring);
    } catch (const OutOfStep& broken) {
        reading.status = SpringFileReading::Status::OutOfStep;
        reading.line = broken.line;
        reading.expected = broken.expected;
        return reading;
    }
    if (!reading.number.empty()) {
        reading.status = SpringFileReading::Status::NumberOutOfRange;
        return reading;
    }
    if (reader.Ended()) {
        reading.status = SpringFileReading::Status::EndedEarly;
        reading.line = reader.LinesRead();
    }
    ForceSettingsIntoRange(reading, reader, spring);
    ForceEnumerationsIntoLists(reading, reader, spring);
    return reading;
}

std::string SpringFileNoticeText(const SpringFileReading& reading, std::string_view path) {
    std::string text;
    for (const SpringFileNotice& n : reading.notices) {
        if (!text.empty()) text.push_back('\n');
        text.append(kCutStart).append(Quoted(PathText(path))).append(kNoticeLine);
        text.append(std::to_string(n.line)).append(": ").append(n.field).append(" = ");
        text.append(Quoted(n.read));
        if (n.range.empty())
            text.append(kNoticeNotInList);
        else
            text.append(kNoticeOutOfRange).append(n.range).append(", ");
        text.append(n.used).append(kNoticeUsed);
    }
    return text;
}

std::string SpringFileReadingMessage(const SpringFileReading& reading, std::string_view path) {
    using Status = SpringFileReading::Status;
    const std::string file = Quoted(PathText(path));
    if (reading.status == Status::OutOfStep) {
        std::string message(kOutOfStepStart);
        message.append(file).append(kOutOfStepLine).append(std::to_string(reading.line));
        return message.append(kOutOfStepExpected).append(reading.expected).append(kOutOfStepEnd);
    }
    if (reading.status == Status::NumberOutOfRange) {
        std::string message(kOutOfStepStart);
        message.append(file).append(kRangeMiddle).append(std::to_string(reading.line));
        return message.append(kRangeNumber).append(TrimmedRight(reading.number)).append(kRangeEnd);
    }
    if (reading.status == Status::EndedEarly && reading.line < kFirstMarkerLine)
        return std::string(kFilePrefix).append(file).append(" ").append(kNoSpringFile);
    if (!reading.cutCounts.empty()) {
        std::string message(kCutStart);
        message.append(file).append(kCutMiddle).append(std::to_string(reading.cutCounts.front()));
        return message.append(kCutEnd);
    }
    return {};
}

std::optional<std::string> ResolveSpringFileName(Session& session, SpringFileContext& context,
                                                 std::string_view name, bool confirmOverwrite) {
    if (context.archiveMode) {
        if (session.config.archiveFlag) {
            if (name != kCurrentName) {
                ShowInfo(session, kArchiveRefusal);
                return Refused(session);
            }
        } else {
            context.archiveMode = false;
        }
    }
    std::string path;
    if (name.empty()) {
        std::string chosen = context.directory;
        if (!ChooseSaveFile(session, chosen, "*." + std::string(kSpringFileExtension)))
            return Refused(session);
        fs::path picked(chosen);
        if (picked.stem().empty()) return Refused(session);
        context.directory = picked.parent_path().string();
        context.fileName = picked.stem().string();
        path = WithExtension(context, context.fileName);
    } else if (name.find('.') != std::string_view::npos) {
        path = std::string(name);
    } else {
        path = WithExtension(context, name);
    }
    std::error_code ec;
    if (confirmOverwrite && fs::exists(path, ec) && path.find(kCurrentName) == std::string::npos) {
        std::string question = PathText(path);
        question.append(" ").append(kExists).append(".   ").append(kOverwrite).append(" ?");
        bool yes = true;
        if (!AskYesNo(session, question, yes) || !yes) return Refused(session);
    }
    if (IsWriteProtected(path)) { // never replaced, whoever runs the program
        ShowError(session, file_text::kWriteProtected);
        return Refused(session);
    }
    if (!PathIsWritable(path)) {
        ShowInvalidName(session, path);
        return Refused(session);
    }
    session.AbortFlag = false;
    return path;
}

std::optional<std::string> SaveSpringFile(Session& session, SpringFileContext& context,
                                          std::string_view name, bool confirmOverwrite) {
    auto path = ResolveSpringFileName(session, context, name, confirmOverwrite);
    if (!path) return std::nullopt;
    FileWriteResult result =
        WriteFileAtomically(*path, SpringFileText(session.config, session.spring));
    if (!result.ok()) {
        ShowError(session, FileWriteMessage(result, PathText(*path)));
        return Refused(session);
    }
    session.AbortFlag = false;
    return path;
}

std::optional<SpringFileLoad> ReadSpringFile(Session& session, SpringFileContext& context,
                                             std::string_view name) {
    std::string path(name);
    if (path.empty()) {
        path = context.directory;
        if (!ChooseFile(session, path, "*." + std::string(kSpringFileExtension)) || path.empty()) {
            session.AbortFlag = true;
            return std::nullopt;
        }
    }
    auto bytes = ReadSmallFile(path, kMaxSpringFileBytes);
    if (!bytes) {
        std::error_code ec;
        bool tooLarge =
            fs::is_regular_file(path, ec) && fs::file_size(path, ec) > kMaxSpringFileBytes;
        std::string message(kFilePrefix);
        message.append(Quoted(PathText(path)))
            .append(" ")
            .append(tooLarge ? kTooLarge : kNotReadable);
        ShowError(session, message);
        session.AbortFlag = true;
        return std::nullopt;
    }
    SpringRecord spring{};
    spring.resolution3D = session.spring.resolution3D; // a setting the file does not hold
    SpringFileReading reading = ParseSpringFile(*bytes, spring);
    std::string message = SpringFileReadingMessage(reading, path);
    const bool usable = reading.status != SpringFileReading::Status::OutOfStep &&
                        reading.status != SpringFileReading::Status::NumberOutOfRange &&
                        !(reading.status == SpringFileReading::Status::EndedEarly &&
                          reading.line < kFirstMarkerLine);
    if (!message.empty()) ShowError(session, message);
    if (!usable) {
        session.AbortFlag = true;
        return std::nullopt;
    }
    if (std::string notices = SpringFileNoticeText(reading, path); !notices.empty())
        ShowInfo(session, notices);
    session.spring = std::move(spring);
    // The stored values of a table material may be older than the table: look it up again.
    MaterialRefresh refresh = RefreshSpringMaterial(session);
    if (!refresh.boxText.empty()) ShowError(session, refresh.boxText);
    EnterSpringFileName(context, path);
    session.AbortFlag = false;
    return SpringFileLoad{path, refresh.message};
}

void EnterSpringFileName(SpringFileContext& context, std::string_view path) {
    fs::path file(path);
    context.directory = file.parent_path().string();
    context.fileName = file.stem().string();
}

std::optional<std::string> LoadSpringFile(Session& session, SpringFileContext& context,
                                          std::string_view name) {
    auto read = ReadSpringFile(session, context, name);
    if (!read) return std::nullopt;
    CalculateSpring(session);
    if (!read->materialNote.empty()) session.Message(read->materialNote);
    session.AbortFlag = false;
    return read->path;
}

} // namespace kora
