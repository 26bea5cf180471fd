// Helpers of the material, relaxation and tempering table tests: the three tables built small
// in a fresh table folder (rows written column by column through the engine, not through the
// code under test), a table window that answers from a script, and dialogs that record the
// preset of every prompt.
#pragma once

#include "base/codepage.h"
#include "calc/material_record.h"
#include "dbf_test_support.h"
#include "persistence/table_browser.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kora::test {

// korwst.dbf: 4 names, G, E, rho, Rm0, d0, Rm max, kRm, fatigue d0, 5 unpeened and 5 peened
// fatigue values, dmin, dmax, Tmax, free text, material number N(9,0).
inline std::vector<DbfColumn> KorwstColumns() {
    return {{"NAME1", 'C', 50, 0, 0}, {"NAME2", 'C', 30, 0, 0}, {"NAME3", 'C', 20, 0, 0},
            {"NAME4", 'C', 20, 0, 0}, {"G", 'N', 8, 0, 0},      {"E", 'N', 8, 0, 0},
            {"RHO", 'N', 7, 3, 0},    {"RM0", 'N', 6, 0, 0},    {"D0", 'N', 8, 3, 0},
            {"RMMAX", 'N', 6, 0, 0},  {"KRM", 'N', 6, 0, 0},    {"FD0", 'N', 8, 3, 0},
            {"TAUO0", 'N', 6, 0, 0},  {"KTAUO", 'N', 6, 0, 0},  {"TAUH0", 'N', 6, 0, 0},
            {"KTAUH", 'N', 6, 0, 0},  {"M", 'N', 8, 4, 0},      {"TAUO0K", 'N', 6, 0, 0},
            {"KTAUOK", 'N', 6, 0, 0}, {"TAUH0K", 'N', 6, 0, 0}, {"KTAUHK", 'N', 6, 0, 0},
            {"MK", 'N', 8, 4, 0},     {"DMIN", 'N', 8, 3, 0},   {"DMAX", 'N', 8, 3, 0},
            {"TMAX", 'N', 5, 0, 0},   {"FREI", 'C', 40, 0, 0},  {"NR", 'N', 9, 0, 0}};
}

// korwstr.dbf: number, name, T1, T2, d1, d2, eight points (stress, relaxation).
inline std::vector<DbfColumn> KorwstrColumns() {
    std::vector<DbfColumn> c = {{"NR", 'N', 9, 0, 0}, {"NAME", 'C', 20, 0, 0},
                                {"T1", 'N', 5, 0, 0}, {"T2", 'N', 5, 0, 0},
                                {"D1", 'N', 8, 3, 0}, {"D2", 'N', 8, 3, 0}};
    for (int p = 1; p <= 8; ++p) {
        c.push_back({"TAU" + std::to_string(p), 'N', 6, 0, 0});
        c.push_back({"R" + std::to_string(p), 'N', 8, 3, 0});
    }
    return c;
}

// korwstt.dbf: number, name, three tempering lines, information line.
inline std::vector<DbfColumn> KorwsttColumns() {
    return {{"NR", 'N', 9, 0, 0},       {"NAME", 'C', 20, 0, 0},    {"TEMPER1", 'C', 40, 0, 0},
            {"TEMPER2", 'C', 40, 0, 0}, {"TEMPER3", 'C', 40, 0, 0}, {"INFO", 'C', 40, 0, 0}};
}

// A spring-steel row: Rm = 2230 - 770 log10(d), capped at 2800; unpeened fatigue data.
inline KORWST_Record SteelRow(std::int32_t number, std::string name1) {
    KORWST_Record m;
    m.name1 = std::move(name1);
    m.name2 = "DIN EN 10270-1";
    m.name3 = "DH";
    m.name4 = "";
    m.G = 81500;
    m.E = 206000;
    m.rho = 7.85;
    m.Rm0 = 2230;
    m.d0 = 1;
    m.RmMax = 2800;
    m.kRm = 770;
    m.fatigueD0 = 1;
    m.tauo0 = 900;
    m.kTauo = 200;
    m.tauh0 = 450;
    m.kTauh = 150;
    m.mSlope = 0.7;
    m.dmin = 0.3;
    m.dmax = 20;
    m.Tmax = 80;
    m.freeText = "frei";
    m.materialNumber = number;
    return m;
}

// Appends a material row column by column (texts given in code page 850).
inline void AppendMaterialRow(DbfTable& table, const KORWST_Record& m) {
    table.BlankRecord();
    auto text = [&](int c, const std::string& cp850) {
        EXPECT_TRUE(table.SetColumnText(c, Cp850ToUtf8(cp850)));
    };
    auto whole = [&](int c, long long v) { EXPECT_TRUE(table.SetColumnInteger(c, v)); };
    auto decimal = [&](int c, double v) { EXPECT_TRUE(table.SetColumnReal(c, v)); };
    text(1, m.name1);
    text(2, m.name2);
    text(3, m.name3);
    text(4, m.name4);
    whole(5, m.G);
    whole(6, m.E);
    decimal(7, m.rho);
    whole(8, m.Rm0);
    decimal(9, m.d0);
    whole(10, m.RmMax);
    whole(11, m.kRm);
    decimal(12, m.fatigueD0);
    whole(13, m.tauo0);
    whole(14, m.kTauo);
    whole(15, m.tauh0);
    whole(16, m.kTauh);
    decimal(17, m.mSlope);
    whole(18, m.tauo0Peened);
    whole(19, m.kTauoPeened);
    whole(20, m.tauh0Peened);
    whole(21, m.kTauhPeened);
    decimal(22, m.mSlopePeened);
    decimal(23, m.dmin);
    decimal(24, m.dmax);
    whole(25, m.Tmax);
    text(26, m.freeText);
    whole(27, m.materialNumber);
    EXPECT_TRUE(table.AppendRecord());
}

inline RelaxationRecord RelaxationRow(std::int32_t number, std::string name) {
    RelaxationRecord r;
    r.materialNumber = number;
    r.name = std::move(name);
    r.T1 = 20;
    r.T2 = 100;
    r.d1 = 1;
    r.d2 = 10;
    const int taus[] = {300, 900};
    const double relax[4][2] = {{1, 4}, {2, 6}, {3, 9}, {5, 12}};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 2; ++i)
            r.points[static_cast<std::size_t>(2 * k + i)] = {taus[i], relax[k][i]};
    return r;
}

inline void AppendRelaxationRow(DbfTable& table, const RelaxationRecord& r) {
    table.BlankRecord();
    EXPECT_TRUE(table.SetColumnInteger(1, r.materialNumber));
    EXPECT_TRUE(table.SetColumnText(2, Cp850ToUtf8(r.name)));
    EXPECT_TRUE(table.SetColumnInteger(3, r.T1));
    EXPECT_TRUE(table.SetColumnInteger(4, r.T2));
    EXPECT_TRUE(table.SetColumnReal(5, r.d1));
    EXPECT_TRUE(table.SetColumnReal(6, r.d2));
    for (int p = 0; p < 8; ++p) {
        EXPECT_TRUE(table.SetColumnInteger(7 + 2 * p, r.points[static_cast<std::size_t>(p)].tau));
        EXPECT_TRUE(
            table.SetColumnReal(8 + 2 * p, r.points[static_cast<std::size_t>(p)].relaxation));
    }
    EXPECT_TRUE(table.AppendRecord());
}

inline void AppendTemperingRow(DbfTable& table, const TemperingRecord& r) {
    table.BlankRecord();
    EXPECT_TRUE(table.SetColumnInteger(1, r.materialNumber));
    EXPECT_TRUE(table.SetColumnText(2, Cp850ToUtf8(r.name)));
    EXPECT_TRUE(table.SetColumnText(3, Cp850ToUtf8(r.line1)));
    EXPECT_TRUE(table.SetColumnText(4, Cp850ToUtf8(r.line2)));
    EXPECT_TRUE(table.SetColumnText(5, Cp850ToUtf8(r.line3)));
    EXPECT_TRUE(table.SetColumnText(6, Cp850ToUtf8(r.info)));
    EXPECT_TRUE(table.AppendRecord());
}

// The table window, answered from a script: one action per Show; none left means cancel.
class ScriptedTableView final : public TableView {
  public:
    using Action = std::function<void(TableBrowser&)>;

    static Action PickRecord(long record) {
        return [record](TableBrowser& b) {
            for (int row = 0; row < b.RowCount(); ++row)
                if (b.RecordOfRow(row) == record) b.MoveTo(row, 1);
            b.Ok();
        };
    }
    static Action PickRow(int row) {
        return [row](TableBrowser& b) {
            b.MoveTo(row, 1);
            b.Ok();
        };
    }
    static Action OkWhereShown() {
        return [](TableBrowser& b) { b.Ok(); };
    }
    static Action CancelBrowser() {
        return [](TableBrowser& b) { b.Cancel(); };
    }

    void Show(TableBrowser& browser) override {
        captions.push_back(browser.Caption());
        startRecords.push_back(browser.RecordOfRow(browser.CurrentRow()));
        std::vector<long> records;
        for (int row = 0; row < browser.RowCount(); ++row)
            records.push_back(browser.RecordOfRow(row));
        shownRecords.push_back(records);
        choosing.push_back(browser.Choosing());
        if (script.empty()) {
            browser.Cancel();
            return;
        }
        Action next = script.front();
        script.pop_front();
        next(browser);
    }

    std::deque<Action> script;
    std::vector<std::string> captions;
    std::vector<long> startRecords;
    std::vector<std::vector<long>> shownRecords;
    std::vector<bool> choosing;
};

// Dialogs that record every prompt with its preset and answer from a script; "Accept"
// confirms whatever the dialog showed. A missing or unfitting answer cancels and is noted. It
// records and is answered in UTF-8 (paths as they are), converting at its edge.
class RecordingDialogs final : public Dialogs {
  public:
    std::optional<std::size_t> ShowTable(TableWindowContent&) override { return std::nullopt; }
    struct Answer {
        enum Kind { Text, Choice, Accept, Yes, No, Cancel } kind;
        std::string text;
        int choice = 0;
    };
    static Answer Typed(std::string text) { return {Answer::Text, std::move(text), 0}; }
    static Answer Chosen(int index) { return {Answer::Choice, {}, index}; }
    static Answer Accept() { return {Answer::Accept, {}, 0}; }
    static Answer Yes() { return {Answer::Yes, {}, 0}; }
    static Answer No() { return {Answer::No, {}, 0}; }
    static Answer Cancelled() { return {Answer::Cancel, {}, 0}; }

    struct Asked {
        std::string prompt; // UTF-8, as the window shows it
        std::string preset; // the shown text, or the preset index as digits
        std::vector<std::string> items;
    };

    void Push(Answer a) { script.push_back(std::move(a)); }
    void Push(std::initializer_list<Answer> answers) {
        for (const auto& a : answers)
            script.push_back(a);
    }
    std::vector<std::string> Prompts() const {
        std::vector<std::string> out;
        for (const auto& a : asked)
            out.push_back(a.prompt);
        return out;
    }

    std::deque<Answer> script;
    std::vector<Asked> asked;
    std::vector<std::string> infos, errors, unexpected;

    void ShowInfo(std::string_view text, std::string_view) override {
        infos.push_back(Cp850ToUtf8(text));
    }
    void ShowError(std::string_view text) override { errors.push_back(Cp850ToUtf8(text)); }
    YesNoCancel AskYesNoCancel(std::string_view question) override {
        auto a = Next(Cp850ToUtf8(question), "", {});
        if (!a || a->kind == Answer::Cancel) return YesNoCancel::Cancel;
        return a->kind == Answer::Yes ? YesNoCancel::Yes : YesNoCancel::No;
    }
    std::optional<bool> AskYesNo(std::string_view prompt, bool preset) override {
        auto a = Next(Cp850ToUtf8(prompt), preset ? "J" : "N", {});
        if (!a) return std::nullopt;
        if (a->kind == Answer::Accept) return preset;
        if (a->kind != Answer::Yes && a->kind != Answer::No) return Unfit(prompt);
        return a->kind == Answer::Yes;
    }
    std::optional<int> ChooseItem(std::string_view prompt, const std::vector<std::string>& items,
                                  int preset) override {
        std::vector<std::string> shown;
        for (const auto& item : items)
            shown.push_back(Cp850ToUtf8(item));
        auto a = Next(Cp850ToUtf8(prompt), std::to_string(preset), shown);
        if (!a) return std::nullopt;
        if (a->kind == Answer::Accept) return preset;
        if (a->kind != Answer::Choice) return Unfit(prompt);
        return a->choice;
    }
    std::optional<std::string> InputText(std::string_view prompt, std::size_t,
                                         std::string_view text) override {
        auto typed = AskText(Cp850ToUtf8(prompt), Cp850ToUtf8(text));
        if (!typed) return std::nullopt;
        return Utf8ToCp850(*typed);
    }
    std::optional<std::string> ChooseFolder(std::string_view path) override {
        return AskText(std::string(path), std::string(path));
    }
    std::optional<std::string> ChooseFile(std::string_view path, std::string_view) override {
        return AskText(std::string(path), std::string(path));
    }
    void ShowTextFile(std::string_view, std::string_view) override {}
    void ShowLines(const std::vector<std::string>&) override {}
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    // No material sequence shows a form: one shown counts as unexpected and is cancelled.
    bool ShowForm(FormModel& form) override {
        unexpected.push_back(form.Name());
        form.Open();
        form.Cancel();
        return false;
    }

  private:
    // A typed answer: a UTF-8 text, or a path as it is; Accept keeps what was shown.
    std::optional<std::string> AskText(const std::string& prompt, const std::string& shown) {
        auto a = Next(prompt, shown, {});
        if (!a) return std::nullopt;
        if (a->kind == Answer::Accept) return shown;
        if (a->kind != Answer::Text) return Unfit(prompt);
        return a->text;
    }
    std::optional<Answer> Next(std::string_view prompt, std::string_view preset,
                               const std::vector<std::string>& items) {
        asked.push_back({std::string(prompt), std::string(preset), items});
        if (script.empty()) {
            unexpected.emplace_back(prompt);
            return std::nullopt;
        }
        Answer a = script.front();
        script.pop_front();
        if (a.kind == Answer::Cancel) return std::nullopt;
        return a;
    }
    std::nullopt_t Unfit(std::string_view prompt) {
        unexpected.emplace_back(prompt);
        return std::nullopt;
    }
};

// A table folder with korwst.dbf, korwstr.dbf, korwstt.dbf and the standard-diameter tables,
// and a session whose dialogs record their presets.
class MaterialTablesTest : public TableFolderTest {
  protected:
    void SetUp() override {
        TableFolderTest::SetUp();
        materialSession.config.tableFolder = tables;
        materialSession.config.tempFolder = temp;
        MakeMaterials({SteelRow(1, "Federstahl A"), SteelRow(2, "Nirosta \x84\x94\x81"),
                       SteelRow(3, "Federstahl C")});
    }

    std::string Path(const std::string& name) const { return tables + "/" + name + ".dbf"; }

    void MakeMaterials(const std::vector<KORWST_Record>& rows) {
        std::filesystem::remove(Path("korwst"));
        ASSERT_TRUE(CreateTable(session, Path("korwst"), KorwstColumns()));
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path("korwst")));
        for (const auto& row : rows)
            AppendMaterialRow(table, row);
        ASSERT_TRUE(table.CloseTable());
    }
    void MakeRelaxation(const std::vector<RelaxationRecord>& rows) {
        ASSERT_TRUE(CreateTable(session, Path("korwstr"), KorwstrColumns()));
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path("korwstr")));
        for (const auto& row : rows)
            AppendRelaxationRow(table, row);
        ASSERT_TRUE(table.CloseTable());
    }
    void MakeTempering(const std::vector<TemperingRecord>& rows) {
        ASSERT_TRUE(CreateTable(session, Path("korwstt"), KorwsttColumns()));
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path("korwstt")));
        for (const auto& row : rows)
            AppendTemperingRow(table, row);
        ASSERT_TRUE(table.CloseTable());
    }
    // A standard-diameter table: column 1 the diameters in mm.
    void MakeDiameters(const std::string& name, const std::vector<double>& diameters) {
        ASSERT_TRUE(CreateTable(session, Path(name), {{"D", 'N', 7, 3, 0}}));
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path(name)));
        for (double d : diameters) {
            table.BlankRecord();
            EXPECT_TRUE(table.SetColumnReal(1, d));
            EXPECT_TRUE(table.AppendRecord());
        }
        ASSERT_TRUE(table.CloseTable());
    }
    long RecordCountOf(const std::string& name) {
        DbfTable table(session);
        if (!table.OpenTablePath(Path(name))) return -1;
        return table.RecordCount();
    }
    std::vector<std::string> Messages() const {
        return {materialSession.messages.begin(), materialSession.messages.end()};
    }

    RecordingDialogs recorder;
    Session materialSession{recorder};
    ScriptedTableView view;
};

} // namespace kora::test
