// Shared pieces of the report tests: a private temporary folder, a session with scripted
// dialogs and a fixed clock, the example springs of the golden files, and the golden-file
// comparison (regenerated only when KORA_UPDATE_GOLDEN=1 is set).
#pragma once

#include "base/codepage.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "persistence/spring_file.h"
#include "platform/scripted_dialogs.h"
#include "reports/report_builder.h"
#include "reports/report_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kora::testing {

namespace fs = std::filesystem;

inline std::string FixturesDir() {
    return std::string(KORA_FIXTURES_DIR) + "/reports";
}

// A folder of its own for one test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kora-report-XXXXXX";
        char* made = ::mkdtemp(pattern.data());
        if (made) path_ = made;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<std::string> SplitLines(std::string_view bytes, std::string_view end = "\r\n") {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        std::size_t at = bytes.find(end);
        lines.emplace_back(bytes.substr(0, at));
        if (at == std::string_view::npos) break;
        bytes.remove_prefix(at + end.size());
    }
    return lines;
}

inline ReportTime FixedTime() {
    return {2024, 3, 5, 14, 7};
}

// A session whose reports go to a private folder, with scripted dialogs and a fixed clock.
struct ReportRig {
    ReportRig() {
        session.config.tempFolder = dir.path();
        session.config.helpFolder = FixturesDir() + "/help";
        session.config.textDevice = kDeviceDosFile;
        session.config.textPrintMode = 1;   // plain rules read best in assertions
        session.config.htmlBrowser.clear(); // nothing is opened unless a test says so
        writer.SetClock(FixedTime);
    }
    std::string Output() const { return ReadFile(writer.OutputPath()); }

    TempDir dir;
    ScriptedDialogs dialogs;
    Session session{dialogs};
    SpringFileContext files{"/data/federn", "feder1", false};
    ReportWriter writer{session, files};
};

// ---- Springs of the golden files ----

inline void TitleTexts(SpringRecord& s) {
    s.designation = "Druckfeder progressiv";
    s.drawingNumber = "KF-4711";
    s.drawingName2 = "Ventilfeder Einlass";
    s.remark1 = "Muster f\x81r Pr\x81"
                "fstand";
    s.remark2 = "";
}

// A table material with fatigue data (material kind 0), as the material table would give it.
inline void TableSiCr(Session& session) {
    KORWST_Record& m = session.CurrentMaterial;
    m.name1 = "VDSiCr";
    m.name2 = "EN 10270-2";
    m.name3 = "Ventilfederdraht";
    m.name4 = "verg\x81tet";
    m.G = 79500;
    m.E = 206000;
    m.rho = 7.85;
    m.Rm0 = 2080;
    m.d0 = 1;
    m.kRm = 250;
    m.fatigueD0 = 1;
    m.tauo0 = 980;
    m.kTauo = 90;
    m.tauh0 = 520;
    m.kTauh = 60;
    m.mSlope = 0.7;
    m.tauo0Peened = 1050;
    m.kTauoPeened = 90;
    m.tauh0Peened = 600;
    m.kTauhPeened = 60;
    m.mSlopePeened = 0.7;
    m.dmax = 10;
    m.Tmax = 160;
    m.materialNumber = 8;
    SpringRecord& s = session.spring;
    s.materialKind = 0;
    s.materialNumber = 8;
    s.materialName = "VDSiCr";
    s.E = 206000;
    s.G = 79500;
    s.rho = 7.85L;
}

// Three sections, dynamic load, table material, statistics on.
inline void DynamicSpring(Session& session) {
    examples::ThreeSections(session);
    TableSiCr(session);
    SpringRecord& s = session.spring;
    TitleTexts(s);
    s.loadType = 2;
    s.f = 5;
    s.shotPeened = 'J';
    s.fatigueTolMin = -10;
    s.fatigueTolMax = 10;
    s.statsSwitch = 'J';
    s.compensationMode = 4;
}

// One section, static load, typed steel, typed tolerances: no message at all.
inline void StaticSpring(Session& session) {
    examples::QuietSpring(session);
    SpringRecord& s = session.spring;
    TitleTexts(s);
    s.remark2 = "zweite Bemerkung";
    s.tolGradeD = 5;
    s.tolDUpper = 0.5L;
    s.tolDLower = -0.5L;
    s.tolGradeL0 = 5;
    s.tolL0Upper = 0.5L;
    s.tolL0Lower = -0.3L;
    s.tolGradeF1 = 5;
    s.tolF1Upper = 0.083L;
    s.tolF1Lower = -0.018L;
    s.tolGradeF2 = 5;
    s.tolF2Upper = 4;
    s.tolF2Lower = -4;
    s.tolGradeE1 = 5;
    s.tolGradeE2 = 5;
    s.e1 = 0.8L;
    s.e2 = 0.4L;
    s.wireTolGrade = 12;
    s.wireTol = 0.02L;
    s.diameterInput = 2;
}

// Hot formed, non-round wire, with both characteristic input tables.
inline void HotSpring(Session& session) {
    examples::HotFormed(session, 2);
    examples::TypedSteel(session);
    SpringRecord& s = session.spring;
    TitleTexts(s);
    s.wireType = 4; // rectangular: width d, height h
    s.h = 10;
    s.wireSurface = 2;
    s.nchar = 2;
    s.points[1].s = 20;
    s.points[2].s = 40;
    s.nfrl = 2;
    s.frl[1] = {1000, 230, 50};
    s.frl[2] = {2500, 200, 60};
}

inline bool UpdatingGoldens() {
    const char* flag = std::getenv("KORA_UPDATE_GOLDEN");
    return flag && std::string_view(flag) == "1";
}

// Compares a report (code page 850, CR LF) with its golden file, kept in UTF-8 with LF so that
// a reviewer can read it. KORA_UPDATE_GOLDEN=1 rewrites the golden file instead.
inline void ExpectGolden(const std::string& cp850Report, const std::string& goldenName) {
    std::string utf8;
    for (const std::string& line : SplitLines(cp850Report))
        utf8 += Cp850ToUtf8(line) + "\n";
    const std::string path = FixturesDir() + "/" + goldenName;
    if (UpdatingGoldens()) {
        WriteFile(path, utf8);
        return;
    }
    ASSERT_TRUE(fs::exists(path)) << "missing golden file " << path
                                  << " (run with KORA_UPDATE_GOLDEN=1 to create it)";
    const std::string expected = ReadFile(path);
    if (utf8 == expected) return;
    auto got = SplitLines(utf8, "\n"), want = SplitLines(expected, "\n");
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        std::string g = i < got.size() ? got[i] : "<end>", w = i < want.size() ? want[i] : "<end>";
        if (g != w) {
            ADD_FAILURE() << goldenName << " differs at line " << i + 1 << "\n  got:  [" << g
                          << "]\n  want: [" << w << "]";
            return;
        }
    }
}

} // namespace kora::testing
