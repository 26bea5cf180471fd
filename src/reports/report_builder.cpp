#include "reports/report_builder.h"

#include "base/numformat.h"
#include "base/text.h"
#include "base/units.h"
#include "calc/characteristic.h"
#include "calc/derived.h"
#include "calc/session.h"
#include "graphics/cad_settings.h"
#include "persistence/spring_file.h"
#include "reports/report_texts.h"
#include "strength/reject.h"
#include "strength/tolerances.h"
#include "strength/wire_tolerance.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace kora {
namespace text = report_text;

namespace {

constexpr int kDrawingNumberColumn = 40;
constexpr real kEqualGap = 1e-5L;
constexpr real kCoilSlack = 1e-9L; // a coil count that misses the end only by rounding

// ---- Value texts ----

// Which unit a row carries and how its value is converted.
enum class Unit { None, Length, Force, Stress, Rate, Work, Temperature, Frequency, Density };

Quantity QuantityOf(Unit unit) {
    switch (unit) {
    case Unit::Length:
        return Quantity::Length;
    case Unit::Force:
        return Quantity::Force;
    case Unit::Stress:
        return Quantity::Stress;
    case Unit::Rate:
        return Quantity::Rate;
    case Unit::Work:
        return Quantity::Work;
    case Unit::Temperature:
        return Quantity::Temperature;
    default:
        return Quantity::Density; // never converted
    }
}

bool Converted(Unit unit) {
    return unit != Unit::None && unit != Unit::Frequency && unit != Unit::Density;
}

std::string UnitText(const Configuration& config, Unit unit) {
    switch (unit) {
    case Unit::None:
        return {};
    case Unit::Frequency:
        return std::string(text::kFrequencyUnit);
    case Unit::Density:
        return std::string(text::kDensityUnit);
    default:
        return UnitLabel(config, QuantityOf(unit));
    }
}

std::string Short(const Configuration& config, Unit unit, real value) {
    if (unit == Unit::Length) return ReportLengthShort(config, value);
    if (!Converted(unit)) return ShortFormat(config, value);
    return ShowShort(config, QuantityOf(unit), value);
}

std::string Fixed(const Configuration& config, Unit unit, real value, int w, int d) {
    if (!Converted(unit)) return FixedFormat(config, value, w, d);
    return ShowFixed(config, QuantityOf(unit), value, w, d);
}

// A whole number in the display unit ("T = 20", "tauz = 1064"), whatever "Dezimalstellen" says.
std::string Whole(const Configuration& config, Unit unit, real value) {
    real shown = Converted(unit) ? ToDisplayUnit(config, QuantityOf(unit), value) : value;
    if (!std::isfinite(shown)) shown = 0;
    std::string out = FormatC("%.0Lf", shown);
    return out == "-0" ? "0" : out;
}

std::string Pair(const Configuration& config, Unit unit, real upper, real lower) {
    return DeviationText(config, QuantityOf(unit), upper, lower);
}

// Dm and De carry their pair one blank behind the value (a symmetric pair brings its own
// blank as well); every other value carries its pair directly.
std::string WithBlankAndPair(const std::string& value, const std::string& pair) {
    return pair.empty() ? value : value + " " + pair;
}

real Ratio(real a, real b) {
    return b == 0 || !std::isfinite(a / b) ? 0 : a / b;
}

template <std::size_t N>
std::string NameOf(const std::array<std::string_view, N>& names, int oneBased) {
    if (oneBased < 1 || oneBased > static_cast<int>(N)) return {};
    return std::string(names[oneBased - 1]);
}

std::string SuggestedName(const ReportWriter& writer, std::string_view extension) {
    std::string name =
        writer.files().fileName.empty() ? std::string("kora") : writer.files().fileName;
    return name + std::string(extension);
}

// ---- Rows from tables ----

struct RowSpec {
    std::string_view label;
    std::string_view symbol;
    Unit unit;
    bool fixed; // fixed w.d, else the short format
    int w, d;
    real (*value)(const SpringRecord&);
    bool (*when)(const SpringRecord&) = nullptr;
};

template <std::size_t N>
void WriteRows(ReportWriter& writer, const Session& session, const std::array<RowSpec, N>& rows) {
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    for (const RowSpec& row : rows) {
        if (row.when && !row.when(s)) continue;
        real v = row.value(s);
        std::string value =
            row.fixed ? Fixed(config, row.unit, v, row.w, row.d) : Short(config, row.unit, v);
        writer.WriteRow(row.label, row.symbol, UnitText(config, row.unit), value);
    }
}

bool Dynamic(const SpringRecord& s) {
    return s.loadType == 2;
}

// ---- Sections ----

void BeginSection(ReportWriter& writer, std::string_view heading) {
    writer.PageCheck();
    writer.WriteLine(heading);
    writer.WriteSeparator();
}

void EndSection(ReportWriter& writer) {
    writer.WriteLine("");
}

void LineWithRule(ReportWriter& writer, std::string_view line) {
    writer.WriteLine(line);
    writer.WriteSeparator();
}

std::vector<std::string> MaterialLines(const Session& session) {
    const SpringRecord& s = session.spring;
    if (s.materialKind != 0) return {std::string(text::kMaterialTyped) + s.materialName};
    const KORWST_Record& m = session.CurrentMaterial;
    return {std::string(TrimmedRightSpaces(std::string(TrimmedRightSpaces(m.name1)) + " " +
                                           std::string(TrimmedRightSpaces(m.name2)))),
            std::string(TrimmedRightSpaces(std::string(TrimmedRightSpaces(m.name3)) + " " +
                                           std::string(TrimmedRightSpaces(m.name4))))};
}

std::string EndText(const SpringRecord& s) {
    if (s.endType >= 1 && s.endType <= 3) return NameOf(text::kEndNames, s.endType);
    return s.endText;
}

void ApplicationBlock(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const SpringRecord& s = session.spring;
    writer.PageCheck();
    for (const std::string& line : MaterialLines(session))
        LineWithRule(writer, line);
    TemperingReportLines(writer, session.CurrentTempering);
    LineWithRule(writer, std::string(text::kManufacturing) +
                             NameOf(text::kManufacturingNames, s.manufacturing));
    LineWithRule(writer, std::string(text::kLoad) + NameOf(text::kLoadNames, s.loadType));
    LineWithRule(writer, std::string(text::kEnds) + EndText(s));
    LineWithRule(writer, std::string(text::kSurface) + NameOf(text::kSurfaceNames, s.wireSurface));
    if (s.shotPeened != 'N') LineWithRule(writer, text::kShotPeened);
    EndSection(writer);
}

void ToleranceBlock(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    auto graded = [](word grade) { return grade < kGradeTyped; };
    writer.PageCheck();
    writer.WriteSeparator();

    auto diameter = graded(s.tolGradeD) ? NameOf(kProductionGradeNames, s.tolGradeD)
                                        : Pair(config, Unit::Length, s.tolDUpper, s.tolDLower);
    LineWithRule(writer, std::string(text::kTolDiameter) + diameter);
    auto length = graded(s.tolGradeL0) ? NameOf(kProductionGradeNames, s.tolGradeL0)
                                       : Pair(config, Unit::Length, s.tolL0Upper, s.tolL0Lower);
    LineWithRule(writer, std::string(text::kTolL0) + length);
    std::string forces = graded(s.tolGradeF1) && graded(s.tolGradeF2)
                             ? NameOf(kProductionGradeNames, s.tolGradeF1) +
                                   std::string(text::kCommaBlank) +
                                   NameOf(text::kShortGradeNames, s.tolGradeF2)
                             : Pair(config, Unit::Force, s.tolF1Upper, s.tolF1Lower) +
                                   std::string(text::kCommaBlank) +
                                   Pair(config, Unit::Force, s.tolF2Upper, s.tolF2Lower);
    LineWithRule(writer, std::string(text::kTolForces) + forces);
    std::string wire =
        s.wireTolGrade == kWireTolTyped
            ? std::string(text::kPlusMinus) + Fixed(config, Unit::Length, s.wireTol, 3, 3)
        : s.wireTolGrade >= 1 && s.wireTolGrade < kWireTolTyped
            ? NameOf(kWireTolChoiceShortNames, s.wireTolGrade)
            : std::string();
    LineWithRule(writer, std::string(text::kTolWire) + wire);
    std::string e = graded(s.tolGradeE1) && graded(s.tolGradeE2)
                        ? NameOf(kProductionGradeNames, s.tolGradeE1) +
                              std::string(text::kCommaBlank) +
                              NameOf(text::kShortGradeNames, s.tolGradeE2)
                        : std::string(text::kPlusMinus) + ReportLengthShort(config, s.e1) +
                              std::string(text::kCommaPlusMinus) + ReportLengthShort(config, s.e2);
    LineWithRule(writer, std::string(text::kTolE) + e);
    EndSection(writer);
}

constexpr std::array<RowSpec, 6> kMaterialRows = {{
    {"Elastizit\x84tsmodul", "E", Unit::Stress, true, 6, 0,
     [](const SpringRecord& s) { return s.E; }},
    {"Schubmodul", "G", Unit::Stress, true, 6, 0, [](const SpringRecord& s) { return s.G; }},
    {"Dichte", "rho", Unit::Density, true, 3, 2, [](const SpringRecord& s) { return s.rho; }},
    {"Zugfestigkeit", "Rm", Unit::Stress, true, 6, 0, [](const SpringRecord& s) { return s.Rm; }},
    {"zul. Schubspannung", "tau", Unit::Stress, true, 6, 0,
     [](const SpringRecord& s) { return s.tauz; }},
    {"Betriebstemperatur", "theta", Unit::Temperature, true, 6, 0,
     [](const SpringRecord& s) { return s.theta; }},
}};

void MaterialValues(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    writer.PageCheck();
    writer.WriteSeparator();
    WriteRows(writer, session, kMaterialRows);
    writer.WriteRow("Schubmodul bei Betriebstemperatur",
                    "G" + Short(config, Unit::Temperature, s.theta), UnitText(config, Unit::Stress),
                    Fixed(config, Unit::Stress, s.Gtheta, 6, 0));
    EndSection(writer);
}

void MainDimensions(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    auto length = [&](real v) { return ReportLengthShort(config, v); };
    BeginSection(writer, text::kMainDimensions);
    if (s.wireType >= 2 && s.wireType <= 4)
        writer.WriteRow("Drahtquerschnitt", "", "",
                        NameOf(text::kCrossSectionNames, s.wireType - 1));
    const std::string wirePair = Pair(config, Unit::Length, s.wireTol, -s.wireTol);
    if (s.wireType == 2 || s.wireType == 4) {
        writer.WriteRow("Draht Breite", "b", mm, length(s.d) + wirePair);
        writer.WriteRow("Draht H\x94he", "h", mm, length(s.h) + wirePair);
    } else if (s.wireType == 3) {
        writer.WriteRow("Draht Breite", "a", mm, length(s.d) + wirePair);
    } else {
        writer.WriteRow("Drahtdurchmesser", "d", mm, length(s.d) + wirePair);
    }
    const std::string coilPair = Pair(config, Unit::Length, s.tolDUpper, s.tolDLower);
    writer.WriteRow("Innendurchmesser", "Di", mm,
                    length(s.Di) + (s.diameterInput == kSelectDi ? coilPair : std::string()));
    writer.WriteRow("Mittlerer Windungsdurchmesser", "Dm", mm,
                    s.diameterInput == kSelectDm ? WithBlankAndPair(length(s.Dm), coilPair)
                                                 : length(s.Dm));
    writer.WriteRow("Au\xE1"
                    "endurchmesser",
                    "De", mm,
                    s.diameterInput == kSelectDe ? WithBlankAndPair(length(s.De), coilPair)
                                                 : length(s.De));
    EndSection(writer);
}

// The coil-section table, shared by the full and the short report.
void CoilTable(ReportWriter& writer, const Session& session, int numberWidth) {
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    writer.BeginTable({{"Nr.", 5},
                       {"L0i [" + mm + "]", 10},
                       {"   ni", 8},
                       {"  Ri[" + UnitText(config, Unit::Rate) + "]", 12},
                       {" Lci[" + mm + "]", 10},
                       {"  Fci [" + UnitText(config, Unit::Force) + "]", 11},
                       {" P [" + mm + "]", 10}},
                      true);
    auto row = [&](std::string name, real L0i, real ni, real Ri, real Lci, real Fci, real P) {
        writer.TableRow(
            {std::move(name), Fixed(config, Unit::Length, L0i, 4, 3), FixedFormat(config, ni, 3, 3),
             Fixed(config, Unit::Rate, Ri, 7, 2), Fixed(config, Unit::Length, Lci, 4, 3),
             Fixed(config, Unit::Force, Fci, 6, 2), Fixed(config, Unit::Length, P, 3, 3)});
    };
    row("E1", s.Lend1, s.nend1, 0, s.Lend1, 0, s.h);
    const int count = std::min<int>(s.nsec, kMaxSections);
    for (int i = 1; i <= count && writer.Active(); ++i) {
        const CoilSection& c = s.sections[i];
        row(FormatC("%*d", numberWidth, i), c.L0i, c.ni, c.Ri, c.Lci, c.Fci, c.P);
    }
    row("E2", s.Lend2, s.nend2, 0, s.Lend2, 0, s.h);
    writer.EndTable();
}

void Coils(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    BeginSection(writer, text::kCoils);
    CoilTable(writer, session, 2);
    writer.WriteRow("Anzahl der federnden Windungen", "n(if)", "", ShortFormat(config, s.n));
    writer.WriteRow("ungefederte Endwindungen, Unterseite", "", "", ShortFormat(config, s.nend1));
    writer.WriteRow("ungefederte Endwindungen, Oberseite", "", "", ShortFormat(config, s.nend2));
    writer.WriteRow("Gesamtanzahl der Windungen", "nt", "", ShortFormat(config, s.nt));
    writer.WriteRow("Blockl\x84nge o.Endwdg.", "Lc th.", UnitText(config, Unit::Length),
                    ReportLengthShort(config, s.Lcth));
    EndSection(writer);
}

void CharacteristicTables(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    const std::string force = UnitText(config, Unit::Force);
    if (s.nchar > 0) {
        BeginSection(writer, s.charOrigin == 3 ? text::kCharFs : text::kCharFsInput);
        writer.BeginTable({{" i", 6},
                           {"   s [" + mm + "]", 14},
                           {"   L [" + mm + "]", 14},
                           {"    F [" + force + "]", 14}});
        const int count = std::min<int>(s.nchar, kMaxPoints);
        for (int i = 1; i <= count && writer.Active(); ++i) {
            const CharacteristicPoint& p = s.points[i];
            writer.TableRow({std::to_string(i), Fixed(config, Unit::Length, p.s, 5, 3),
                             Fixed(config, Unit::Length, s.L0 - p.s, 5, 3),
                             Fixed(config, Unit::Force, p.F, 6, 2)});
        }
        writer.EndTable();
        EndSection(writer);
    }
    if (s.nfrl > 0 && writer.Active()) {
        BeginSection(writer, text::kCharFrl);
        writer.BeginTable({{" i", 6},
                           {"   L [" + mm + "]", 14},
                           {"    F [" + force + "]", 14},
                           {" R [" + UnitText(config, Unit::Rate) + "]", 14},
                           {"   s [" + mm + "]", 14}});
        const int count = std::min<int>(s.nfrl, kMaxPoints);
        for (int i = 1; i <= count && writer.Active(); ++i) {
            const FrlPoint& p = s.frl[i];
            writer.TableRow({std::to_string(i), Fixed(config, Unit::Length, p.L, 5, 3),
                             Fixed(config, Unit::Force, p.F, 6, 2),
                             Fixed(config, Unit::Rate, p.R, 6, 2),
                             Fixed(config, Unit::Length, s.L0 - p.L, 5, 3)});
        }
        writer.EndTable();
        EndSection(writer);
    }
}

void Forces(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string N = UnitText(config, Unit::Force);
    auto force = [&](real v) { return Short(config, Unit::Force, v); };
    BeginSection(writer, text::kForces);
    writer.WriteRow("Federkraft", "F1", N,
                    force(s.F1) + Pair(config, Unit::Force, s.tolF1Upper, s.tolF1Lower));
    writer.WriteRow("Federkraft", "F2", N,
                    force(s.F2) + Pair(config, Unit::Force, s.tolF2Upper, s.tolF2Lower));
    writer.WriteRow("Federkraft", "Fn", N, force(s.Fn));
    writer.WriteRow("Federkraft", "Fc", N, force(s.Fc));
    if (s.rx2 > 0) {
        writer.WriteRow("Relaxation  F2, 48h", "rx2", text::kPercent, ShortFormat(config, s.rx2));
        writer.WriteRow("Federkraft", "F2,48h", N, force((1 - s.rx2 * 0.01L) * s.F2));
    }
    EndSection(writer);
}

constexpr std::array<RowSpec, 4> kLengthRows = {{
    {"Federl\x84nge bei Kraft F1", "L1", Unit::Length, false, 0, 0,
     [](const SpringRecord& s) { return s.L1; }},
    {"Federl\x84nge bei Kraft F2", "L2", Unit::Length, false, 0, 0,
     [](const SpringRecord& s) { return s.L2; }},
    {"nutzbare Federl\x84nge", "Ln", Unit::Length, false, 0, 0,
     [](const SpringRecord& s) { return s.Ln; }},
    {"Blockl\x84nge", "Lc", Unit::Length, false, 0, 0, [](const SpringRecord& s) { return s.Lc; }},
}};

void Lengths(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    BeginSection(writer, text::kLengths);
    writer.WriteRow("Federl\x84nge", "L0", UnitText(config, Unit::Length),
                    ReportLengthShort(config, s.L0) +
                        Pair(config, Unit::Length, s.tolL0Upper, s.tolL0Lower));
    WriteRows(writer, session, kLengthRows);
    EndSection(writer);
}

constexpr std::array<RowSpec, 5> kDeflectionRows = {{
    {"Hub", "sh", Unit::Length, true, 5, 2, [](const SpringRecord& s) { return s.sh; }},
    {"Federweg", "s1", Unit::Length, true, 5, 2, [](const SpringRecord& s) { return s.s1; }},
    {"Federweg", "s2", Unit::Length, true, 5, 2, [](const SpringRecord& s) { return s.s2; }},
    {"nutzbarer Federweg", "sn", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.sn; }},
    {"Blockfederweg", "sc", Unit::Length, true, 5, 2, [](const SpringRecord& s) { return s.sc; }},
}};

constexpr std::array<RowSpec, 4> kRateRows = {{
    {"Federrate", "R0", Unit::Rate, false, 0, 0, [](const SpringRecord& s) { return s.R0; }},
    {"Federrate", "R1", Unit::Rate, false, 0, 0, [](const SpringRecord& s) { return s.R1; }},
    {"Federrate", "R2", Unit::Rate, false, 0, 0, [](const SpringRecord& s) { return s.R2; }},
    {"Federrate", "Rc", Unit::Rate, false, 0, 0, [](const SpringRecord& s) { return s.Rc; }},
}};

constexpr std::array<RowSpec, 5> kFrequencyRows = {{
    {"Eigenfrequenz(1.Ordnung)", "fe0", Unit::Frequency, false, 0, 0,
     [](const SpringRecord& s) { return s.fe0; }},
    {"Eigenfrequenz(1.Ordnung) bei s1", "fe1", Unit::Frequency, false, 0, 0,
     [](const SpringRecord& s) { return s.fe1; }},
    {"Eigenfrequenz(1.Ordnung) bei s2", "fe2", Unit::Frequency, false, 0, 0,
     [](const SpringRecord& s) { return s.fe2; }},
    {"Eigenfrequenz(1.Ordnung) bei sc", "fec", Unit::Frequency, false, 0, 0,
     [](const SpringRecord& s) { return s.fec; }},
    {"Lastspielfrequenz", "f", Unit::Frequency, false, 0, 0,
     [](const SpringRecord& s) { return s.f; }, Dynamic},
}};

constexpr std::array<RowSpec, 9> kStressRows = {{
    {"Schubspannung bei F1", "tau1", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tau1; }},
    {"Schubspannung bei F2", "tau2", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tau2; }},
    {"Schubspannung bei Fn", "taun", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.taun; }},
    {"Schubspannung bei Fc", "tauc", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tauc; }},
    {"korrigierte Schubspannung bei F1", "tauk1", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tauk1; }},
    {"korrigierte Schubspannung bei F2", "tauk2", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tauk2; }},
    {"Hubspannung", "taukh", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.taukh; }},
    {"zul\x84ssige Hubspannung", "tauhz", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tauhz; },
     [](const SpringRecord& s) { return s.tauhz > 0; }},
    {"zul\x84ssige Schubspannung", "tauz", Unit::Stress, true, 5, 0,
     [](const SpringRecord& s) { return s.tauz; }},
}};

template <std::size_t N>
void RowSection(ReportWriter& writer, const Session& session, std::string_view heading,
                const std::array<RowSpec, N>& rows) {
    if (!writer.Active()) return;
    BeginSection(writer, heading);
    WriteRows(writer, session, rows);
    EndSection(writer);
}

// deltaDe and Dec only for round-type wire.
bool RoundType(const SpringRecord& s) {
    return s.wireType < 2 || s.wireType > 4;
}

constexpr std::array<RowSpec, 6> kCharacteristicRows = {{
    {"Wickelverh\x84ltnis", "w", Unit::None, true, 5, 2, [](const SpringRecord& s) { return s.w; }},
    {"Abweichung der Mantellinie", "e1", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.e1; }},
    {"Abweichung der Parallelit\x84t", "e2", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.e2; }},
    {"Vergr\x94\xE1.d.Wind.durchm.bei Lc", "deltaDe", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.deltaDe; }, RoundType},
    {"Au\xE1"
     "endurchmesser",
     "Dec", Unit::Length, true, 5, 2, [](const SpringRecord& s) { return s.De + s.deltaDe; },
     RoundType},
    {"Mindestabstand der federnden Wdg.", "Sa", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.Sa; }},
}};

void Characteristics(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    BeginSection(writer, text::kCharacteristics);
    writer.WriteRow("Lagerungsbeiwert", "nue", "", FixedFormat(config, s.nue, 5, 2));
    writer.WriteRow("Knickfederweg", "sk", mm,
                    s.sk == kBucklingSafe ? std::string(text::kBucklingSafeText)
                                          : Fixed(config, Unit::Length, s.sk, 5, 2));
    WriteRows(writer, session, kCharacteristicRows);
    writer.WriteRow("Ist-Abstand der federnden Windg.", "sc-s2", mm,
                    Fixed(config, Unit::Length, s.sc - s.s2, 5, 2));
    WriteLifeLines(writer, session);
    EndSection(writer);
}

constexpr std::array<RowSpec, 4> kProductionRows = {{
    {"Drahtl\x84nge", "L", Unit::Length, true, 6, 1, [](const SpringRecord& s) { return s.L; }},
    {"Anpre\xE1"
     "druck",
     "R/D", Unit::Stress, true, 5, 2, [](const SpringRecord& s) { return Ratio(s.R0, s.Dm); }},
    {"Max.Durchmesser Aufnahmedorn", "Ddmax", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.mandrelMax; }},
    {"Min.Durchmesser Aufnahmeh\x81lse", "Dhmin", Unit::Length, true, 5, 2,
     [](const SpringRecord& s) { return s.sleeveMin; }},
}};

constexpr std::array<RowSpec, 2> kWorkRows = {{
    {"Federarbeit zwischen s1 und s2", "W12", Unit::Work, true, 8, 0,
     [](const SpringRecord& s) { return s.W12; }},
    {"Federarbeit zwischen s=0 und sc", "W0c", Unit::Work, true, 8, 0,
     [](const SpringRecord& s) { return s.W0c; }},
}};

void Production(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    BeginSection(writer, text::kProduction);
    LineWithRule(writer, std::string(text::kCompensation) +
                             NameOf(kCompensationModeNames, s.compensationMode));
    WriteRows(writer, session, kProductionRows);
    if (s.m < 100)
        writer.WriteRow("Gewicht/100 St\x81"
                        "ck",
                        "m", text::kWeightPer100Unit, FixedFormat(config, 100 * s.m, 8, 0));
    else
        writer.WriteRow("Gewicht der Feder", "m", text::kWeightUnit,
                        FixedFormat(config, s.m, 8, 0));
    WriteRows(writer, session, kWorkRows);
    EndSection(writer);
}

// The end of the first three reports: the messages when there are any, then the file.
void FinishReport(ReportWriter& writer, const Session& session) {
    if (!writer.Active()) return;
    if (session.messages.Count() > 0) {
        writer.MessagesSection();
        writer.FormFeed();
    }
    writer.CloseReport();
}

// Header, fatal check, device and first page: false when no report is to be written.
bool StartReport(ReportWriter& writer, const Session& session, std::string_view suggestedName) {
    writer.SetHeader(SpringReportHeader(session.spring));
    if (session.FatalFlag) {
        writer.ShowMessageWindow();
        return false;
    }
    if (!writer.OpenReport(0, suggestedName)) return false;
    writer.PageHeader(true);
    return writer.Active();
}

// ---- Short report ----

void WorkingPointTable(ReportWriter& writer, const Session& session) {
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const bool dynamic = Dynamic(s);
    auto len = [&](std::string_view name, real v) {
        return std::string(name) + Fixed(config, Unit::Length, v, 4, 2);
    };
    auto force = [&](std::string_view name, real v, const std::string& pair) {
        return std::string(name) + Fixed(config, Unit::Force, v, 5, 2) + pair;
    };
    auto stress = [&](std::string_view name, real v) {
        return std::string(name) + Fixed(config, Unit::Stress, v, 4, 0);
    };
    auto safety = [&](real v) { return FixedFormat(config, v, 2, 2); };

    writer.BeginTable({{"Federl\x84nge " + UnitText(config, Unit::Length), 16},
                       {"Federweg " + UnitText(config, Unit::Length), 14},
                       {"Federkraft " + UnitText(config, Unit::Force), 20},
                       {"tau " + UnitText(config, Unit::Stress), 15},
                       {" S", 5}});
    writer.TableRow({len("L0=", s.L0)});
    writer.TableRow({len("L1=", s.L1), len("s1=", s.s1),
                     force("F1=", s.F1, Pair(config, Unit::Force, s.tolF1Upper, s.tolF1Lower)),
                     dynamic ? stress("tauk1= ", s.tauk1) : stress("tau1 = ", s.tau1),
                     safety(s.S1)});
    if (dynamic)
        writer.TableRow({len("sh=", s.sh), force("Fh=", s.F2 - s.F1, std::string()),
                         stress("taukh= ", s.taukh), safety(s.Sh)});
    writer.TableRow({len("L2=", s.L2), len("s2=", s.s2),
                     force("F2=", s.F2, Pair(config, Unit::Force, s.tolF2Upper, s.tolF2Lower)),
                     dynamic ? stress("tauk2= ", s.tauk2) : stress("tau2 = ", s.tau2),
                     safety(s.S2)});
    const real taukc = s.tauc * s.k;
    if (dynamic)
        writer.TableRow({len("Lc=", s.Lc), len("sc=", s.sc), force("Fc=", s.Fc, std::string()),
                         stress("taukc=", taukc), safety(Ratio(s.tauz, taukc))});
    writer.TableRow({len("Lc=", s.Lc), len("sc=", s.sc), force("Fc=", s.Fc, std::string()),
                     stress("tauc = ", s.tauc), safety(Ratio(s.tauz, s.tauc))});
    writer.EndTable();
}

// ---- Coil spacing ----

std::string SlotLabel(const SpringRecord& s, real c) {
    real total = 0;
    const int last = std::min<int>(s.nsec + 1, kSectionSlots - 1);
    for (int slot = 0; slot <= last; ++slot)
        total += s.sections[slot].ni;
    if (!(c <= total + kCoilSlack) || c < 0) return std::string(text::kNoSlot);
    const int slot = SlotOfCoil(s, c);
    if (slot == 0 || slot == s.nsec + 1) return "    " + SlotName(s, slot);
    return FormatC("%6d", slot);
}

} // namespace

std::string ReportLengthShort(const Configuration& config, real mm) {
    if (!Imperial(config)) return ShortFormat(config, mm);
    real inches = ToImperial(Quantity::Length, mm);
    if (std::fabs(inches) < 1e-8L || !std::isfinite(inches)) inches = 0;
    std::string out = FormatC("%.4Lg", inches);
    // The general format writes a power of ten as "E" and the exponent without padding.
    if (std::size_t e = out.find('e'); e != std::string::npos) {
        int exponent = std::atoi(out.c_str() + e + 1);
        out = out.substr(0, e) + "E" + std::to_string(exponent);
    }
    if (config.decimalSeparator == 2)
        for (char& c : out)
            if (c == '.') c = ',';
    return out;
}

std::array<std::string, 5> SpringReportHeader(const SpringRecord& spring) {
    std::string drawing = spring.designation;
    std::string number = "Nr.: " + spring.drawingNumber;
    if (drawing.size() < static_cast<std::size_t>(kDrawingNumberColumn - 1))
        drawing.append(kDrawingNumberColumn - 1 - drawing.size(), ' ');
    else
        drawing += ' ';
    drawing += number;
    if (drawing.size() < static_cast<std::size_t>(kRowWidth))
        drawing.append(kRowWidth - drawing.size(), ' ');
    return {std::string(kProgramTitle) + std::string(text::kProgramLineVersion) +
                std::string(kProgramVersion),
            drawing, spring.drawingName2, spring.remark1, spring.remark2};
}

void FullReportRecalculating(ReportWriter& writer, Session& session) {
    if (!StartReport(writer, session, SuggestedName(writer, text::kSuggestedExtension))) return;
    ApplicationBlock(writer, session);
    ToleranceBlock(writer, session);
    MaterialValues(writer, session);
    MainDimensions(writer, session);
    Coils(writer, session);
    CharacteristicTables(writer, session);
    Forces(writer, session);
    Lengths(writer, session);
    RowSection(writer, session, text::kDeflections, kDeflectionRows);
    RowSection(writer, session, text::kRates, kRateRows);
    RowSection(writer, session, text::kFrequencies, kFrequencyRows);
    RowSection(writer, session, text::kStresses, kStressRows);
    Characteristics(writer, session);
    Production(writer, session);
    if (writer.Active() && session.spring.statsSwitch != 'N') {
        writer.FormFeed();
        writer.PageHeader(false);
        writer.WriteLine("");
        StatisticsReportBlockRecalculating(writer, session);
        writer.WriteLine("");
    }
    FinishReport(writer, session);
}

void ShortReport(ReportWriter& writer, const Session& session) {
    if (!StartReport(writer, session, SuggestedName(writer, text::kSuggestedExtension))) return;
    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    const std::string stress = UnitText(config, Unit::Stress);
    auto length = [&](real v) { return ReportLengthShort(config, v); };

    writer.WriteLine("");
    writer.WriteLine("Dm = " + length(s.Dm) + " " + mm + "     d = " + length(s.d) +
                     std::string(text::kPlusMinusSign) + length(s.wireTol) + " " + mm);
    writer.WriteLine("");
    writer.WriteLine("n = " + ShortFormat(config, s.n) + "     nt = " + ShortFormat(config, s.nt) +
                     "     nt-n = " + ShortFormat(config, s.ne));
    writer.WriteLine("");
    writer.WriteLine("L dr = " + length(s.L) + " " + mm + "      m = " + ShortFormat(config, s.m) +
                     std::string(text::kShortWeightUnit) + std::string(text::kPieces));
    writer.WriteLine("");
    writer.WriteLine("");
    if (writer.Active()) CoilTable(writer, session, 3);
    writer.WriteLine("");
    writer.WriteLine("");
    for (const std::string& line : MaterialLines(session))
        writer.WriteLine(line);
    writer.WriteLine("");
    const std::string theta = Whole(config, Unit::Temperature, s.theta);
    writer.WriteLine("G = " + Short(config, Unit::Stress, s.G) + " " + stress +
                     "     T = " + theta + " " + UnitText(config, Unit::Temperature) + "     G" +
                     theta + " = " + Short(config, Unit::Stress, s.Gtheta) + " " + stress);
    writer.WriteLine("");
    std::string limits = "tauz = " + Whole(config, Unit::Stress, s.tauz) + " " + stress;
    if (s.tauhz > 0)
        limits += "     tauhz = " + Whole(config, Unit::Stress, s.tauhz) + " " + stress;
    limits += "     Rm = " + Whole(config, Unit::Stress, s.Rm) + " " + stress;
    writer.WriteLine(limits);
    writer.WriteLine("");
    if (writer.Active()) WorkingPointTable(writer, session);
    writer.WriteLine("");
    writer.WriteLine("");
    if (session.messages.Count() > 0) {
        writer.WriteLine(text::kMessagesHeading);
        for (const std::string& message : session.messages)
            writer.WriteLine(message);
    }
    writer.FormFeed();
    if (writer.Active()) writer.CloseReport();
}

void CoilSpacingReport(ReportWriter& writer, const Session& session) {
    writer.SetHeader(SpringReportHeader(session.spring));
    // A fatal spring has no coils to list: its messages are shown before anything is asked.
    if (session.FatalFlag) {
        writer.ShowMessageWindow();
        return;
    }
    real step = 0.25L;
    if (!writer.AskNumber(text::kStepPrompt, text::kStepHelp, step, 1.0L, 0.01L)) return;
    bool progressiveOnly = false;
    if (!writer.AskYesNo(text::kProgressiveOnly, progressiveOnly)) return;
    if (!StartReport(writer, session, SuggestedName(writer, text::kSuggestedExtension))) return;

    const Configuration& config = session.config;
    const SpringRecord& s = session.spring;
    const std::string mm = UnitText(config, Unit::Length);
    auto length = [&](real v) { return ReportLengthShort(config, v); };
    writer.WriteLine("Dm = " + length(s.Dm) + " " + mm + "     d = " + length(s.d) + " " + mm +
                     "    L0 = " + length(s.L0) + " " + mm);
    writer.WriteLine("");
    writer.WriteLine("n = " + ShortFormat(config, s.n) + "      nt = " + ShortFormat(config, s.nt) +
                     "     nE1 = " + ShortFormat(config, s.nend1) +
                     "     nE2 = " + ShortFormat(config, s.nend2));
    writer.WriteLine("");
    writer.WriteLine(text::kCoils);
    writer.BeginTable({{"   nx", 8},
                       {" nx+1", 8},
                       {"    Nr.", 8},
                       {"  Nr.+", 8},
                       {"   Lx[" + mm + "]", 12},
                       {"  Lx+[" + mm + "]", 12},
                       {"   a [" + mm + "]", 12}});
    real previousGap = 0;
    // x = i * step rather than a running sum, so that the last coil is not lost to rounding.
    for (long i = 0; writer.Active(); ++i) {
        const real x = static_cast<real>(i) * step;
        if (!(x <= s.nt - 1 + kCoilSlack)) break;
        const real Lx = CoilPosition(s, x);
        const real LxNext = CoilPosition(s, x + 1);
        const real gap = LxNext - Lx - s.h;
        const bool repeated = i > 0 && std::fabs(gap - previousGap) < kEqualGap;
        previousGap = gap;
        if (progressiveOnly && repeated) continue;
        writer.TableRow(
            {FixedFormat(config, x, 2, 2), FixedFormat(config, x + 1, 2, 2), SlotLabel(s, x),
             SlotLabel(s, x + 1), Fixed(config, Unit::Length, Lx, 5, 3),
             Fixed(config, Unit::Length, LxNext, 5, 3), Fixed(config, Unit::Length, gap, 5, 3)});
    }
    writer.EndTable();
    writer.WriteLine("");
    writer.FormFeed();
    if (writer.Active()) writer.CloseReport();
}

void MessagesReport(ReportWriter& writer, const Session& session) {
    if (session.messages.Count() == 0) {
        writer.ShowNote(text::kFatalNone);
        return;
    }
    writer.SetHeader(SpringReportHeader(session.spring));
    if (session.FatalFlag) {
        writer.ShowMessageWindow();
        return;
    }
    if (!writer.OpenReport(0, SuggestedName(writer, text::kMessagesExtension))) return;
    writer.PageHeader(true);
    writer.MessagesSection();
    if (writer.Active()) writer.CloseReport();
}

} // namespace kora
