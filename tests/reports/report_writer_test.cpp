// The report writer: rule styles, value rows and the 72-column mend, message wrapping, page
// breaks and page headers, and every device that needs no window (files, spreadsheet, HTML,
// text printer, outside programs started detached).
#include "report_test_support.h"

#include "reports/report_devices.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <map>

namespace kora {
namespace {

using namespace kora::testing;

const std::string kIndent(7, ' ');

TEST(RuleText, EveryStyleAndShape) {
    const std::string dashes(70, '-'), equals(70, '='), stars(70, '*'), blanks(70, ' ');
    auto box = [](char l, char r) { return std::string(1, l) + std::string(68, '\xCD') + r; };
    struct Case {
        int style;
        RuleShape shape;
        std::string expected;
    };
    const Case cases[] = {
        {1, RuleShape::Single, dashes},
        {1, RuleShape::Double, equals},
        {1, RuleShape::BoxTop, stars},
        {1, RuleShape::BoxBottom, stars},
        {1, RuleShape::BoxMiddle, stars},
        {2, RuleShape::Single, std::string(70, '\xC4')},
        {2, RuleShape::Double, std::string(70, '\xCD')},
        {2, RuleShape::BoxTop, box('\xC9', '\xBB')},
        {2, RuleShape::BoxBottom, box('\xC8', '\xBC')},
        {2, RuleShape::BoxMiddle, box('\xCC', '\xB9')},
        {3, RuleShape::Single, blanks},
        {3, RuleShape::Double, blanks},
        {3, RuleShape::BoxTop, blanks},
        {3, RuleShape::BoxBottom, blanks},
        {3, RuleShape::BoxMiddle, blanks},
        {4, RuleShape::Single, ""},
        {4, RuleShape::BoxTop, ""},
        {0, RuleShape::Double, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RuleText(c.style, c.shape), c.expected)
            << "style " << c.style << " shape " << int(c.shape);
    EXPECT_EQ(FrameCharacter(1), '*');
    EXPECT_EQ(FrameCharacter(2), '\xBA');
    EXPECT_EQ(FrameCharacter(3), ' ');
    EXPECT_EQ(FrameCharacter(4), ' ');
}

TEST(RowText, ColumnsAndPushing) {
    struct Case {
        const char* label;
        const char* symbol;
        const char* unit;
        const char* value;
        std::string expected;
    };
    auto col = [](int n) { return std::string(n, ' '); };
    const Case cases[] = {
        // Label at 1, symbol at 35, unit at 44, value at 56, 72 characters in all.
        {"Federkraft", "F1", "N", "58.13",
         "Federkraft" + col(24) + "F1" + col(7) + "N" + col(11) + "58.13" + col(12)},
        // A label of exactly 34 characters meets the symbol.
        {"Mindestabstand der federnden Wdg.:", "Sa", "mm", "6.50",
         "Mindestabstand der federnden Wdg.:Sa" + col(7) + "mm" + col(10) + "6.50" + col(13)},
        // A longer label pushes the symbol behind it, one blank apart.
        {"ungefederte Endwindungen, Unterseite", "nE1", "", "1",
         "ungefederte Endwindungen, Unterseite nE1" + col(15) + "1" + col(16)},
        // Empty texts take no place.
        {"Drahtquerschnitt", "", "", "rechteckig",
         "Drahtquerschnitt" + col(39) + "rechteckig" + col(7)},
    };
    for (const Case& c : cases) {
        std::string row = RowText(c.label, c.symbol, c.unit, c.value);
        EXPECT_EQ(row, c.expected) << c.label;
        EXPECT_EQ(row.size(), 72u) << c.label;
    }
}

// The 72-column mend: a value with its tolerance that runs past column 72 is written whole.
TEST(RowText, ValueIsNeverCut) {
    std::string row = RowText("Federkraft", "F1", "N", "3.99 +0.083/-0.018");
    EXPECT_EQ(row.substr(55), "3.99 +0.083/-0.018");
    EXPECT_EQ(row.size(), 73u);
    std::string pushed = RowText(std::string(60, 'x'), "s", "u", "1.5");
    EXPECT_EQ(pushed, std::string(60, 'x') + " s u 1.5" + std::string(4, ' '));
}

TEST(RowText, TwoValuesAtColumns51And62) {
    std::string row = RowText("Lebensdauer min/max", "tN", "h", "186.8", "1030");
    EXPECT_EQ(row.substr(50, 5), "186.8");
    EXPECT_EQ(row.substr(61, 4), "1030");
    EXPECT_EQ(row.size(), 72u);
}

TEST(WrapMessage, PiecesOfAtMost64AtBlanks) {
    EXPECT_EQ(WrapMessage("kurz"), std::vector<std::string>{"kurz"});
    const std::string exactly72(72, 'a');
    EXPECT_EQ(WrapMessage(exactly72), std::vector<std::string>{exactly72});

    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "Wort" + std::to_string(i) + " ";
    auto pieces = WrapMessage(words);
    ASSERT_GT(pieces.size(), 1u);
    std::string joined;
    for (const auto& p : pieces) {
        EXPECT_LE(p.size(), 64u);
        EXPECT_NE(p.back(), ' ');
        joined += p + " ";
    }
    EXPECT_EQ(joined, words);

    auto cut = WrapMessage(std::string(150, 'x'));
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0].size(), 64u);
    EXPECT_EQ(cut[2].size(), 22u);
}

TEST(SpreadsheetNumber, DecimalSignByTheSpreadsheetSetting) {
    Configuration english, german;
    english.SpreadsheetDecimal = 1;
    german.SpreadsheetDecimal = 2;
    struct Case {
        const Configuration& config;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {german, "1.5", "1,5"},
        {english, "1,5", "1.5"},
        {german, "+0.2/-0.1", "+0,2/-0,1"},
        {german, "> 10 Mio.", "> 10 Mio."},
        {english, "22", "22"},
        {german, "knicksicher", "knicksicher"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpreadsheetNumber(c.config, c.in), c.out) << c.in;
}

// ---- Page breaks ----

// A writer on "OUTDOS.TXT" with the given page settings, its report opened and first page begun.
struct PagedRig : ReportRig {
    PagedRig(int style, int linesPerPage = 66, int header = 1, int spaceLines = 0) {
        Configuration& c = session.config;
        c.textPrintMode = style;
        c.linesPerPage = linesPerPage;
        c.printoutHeader = header;
        c.headerSpaceLines = spaceLines;
        writer.SetHeader({"KORA - Progressive zyl. Druckfeder  V11.4", "Titel", "", "", ""});
        EXPECT_TRUE(writer.OpenReport(0, "probe"));
        writer.PageHeader(true);
    }
    std::vector<std::string> Close() {
        EXPECT_TRUE(writer.CloseReport());
        return SplitLines(Output());
    }
};

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST(PageBreaks, PageCheckAfterMoreThan56Lines) {
    PagedRig rig(1);
    while (rig.writer.LinesOnPage() < 56)
        rig.writer.WriteLine("Zeile");
    rig.writer.PageCheck();
    EXPECT_EQ(rig.writer.Page(), 1);
    rig.writer.WriteLine("Zeile 57");
    rig.writer.PageCheck();
    EXPECT_EQ(rig.writer.Page(), 2);
    auto lines = rig.Close();
    EXPECT_EQ(Count(lines, "\f"), 1);
    EXPECT_EQ(Count(lines, kIndent + std::string(70, '*')), 6); // two boxes of three rules
}

TEST(PageBreaks, LineAfterAFullPageStartsANewOne) {
    PagedRig rig(1, 20);
    while (rig.writer.LinesOnPage() < 20)
        rig.writer.WriteLine("voll");
    EXPECT_EQ(rig.writer.Page(), 1);
    rig.writer.WriteLine("erste Zeile von Blatt 2");
    EXPECT_EQ(rig.writer.Page(), 2);
    auto lines = rig.Close();
    auto ff = std::find(lines.begin(), lines.end(), "\f");
    ASSERT_NE(ff, lines.end());
    // Form feed, the header box, a blank line, then the line.
    EXPECT_EQ(*(ff + 1), kIndent + std::string(70, '*'));
    EXPECT_NE((ff + 2)->find("Bl. 2"), std::string::npos);
    EXPECT_EQ(*(ff + 10), kIndent);
    EXPECT_EQ(*(ff + 11), kIndent + "erste Zeile von Blatt 2");
}

TEST(PageBreaks, HeaderOnFirstPageOnly) {
    PagedRig rig(1, 20, 2);
    for (int i = 0; i < 45; ++i)
        rig.writer.WriteLine("Zeile");
    auto lines = rig.Close();
    EXPECT_EQ(Count(lines, "\f"), 2); // two breaks; files get no final form feed
    EXPECT_EQ(Count(lines, kIndent + std::string(70, '*')), 3); // one box
}

TEST(PageBreaks, CompressedStyleSparesHalfEmptyPages) {
    PagedRig rig(4, 66);
    rig.writer.WriteRow("Federkraft", "F1", "N", "58");
    rig.writer.WriteSeparator();
    rig.writer.FormFeed(); // less than half a page: nothing
    for (int i = 0; i < 30; ++i)
        rig.writer.WriteLine("Zeile");
    rig.writer.FormFeed(); // now more than half: written
    EXPECT_EQ(rig.writer.LinesOnPage(), 0);
    auto lines = rig.Close();
    EXPECT_EQ(Count(lines, "\f"), 1);
    // Rows are not followed by rules, rules vanish, no box; one more blank header line.
    EXPECT_EQ(lines[0], kIndent);
    EXPECT_EQ(lines[1].substr(7, 1), " ");
    auto row =
        std::find(lines.begin(), lines.end(), kIndent + RowText("Federkraft", "F1", "N", "58"));
    ASSERT_NE(row, lines.end());
    EXPECT_EQ(*(row + 1), kIndent + "Zeile");
}

TEST(PageBreaks, BlankRulesInStyle3) {
    PagedRig rig(3);
    rig.writer.WriteRow("Federkraft", "F1", "N", "58");
    auto lines = rig.Close();
    auto row =
        std::find(lines.begin(), lines.end(), kIndent + RowText("Federkraft", "F1", "N", "58"));
    ASSERT_NE(row, lines.end());
    EXPECT_EQ(*(row + 1), kIndent + std::string(70, ' '));
}

TEST(PageBreaks, HeaderSpaceLinesAndTotalPages) {
    ReportRig rig;
    rig.session.config.headerSpaceLines = 3;
    rig.writer.SetTotalPages(4);
    rig.writer.SetHeader({"KORA - Progressive zyl. Druckfeder  V11.4", "", "", "", ""});
    ASSERT_TRUE(rig.writer.OpenReport(0, "probe"));
    rig.writer.PageHeader(true);
    ASSERT_TRUE(rig.writer.CloseReport());
    auto lines = SplitLines(rig.Output());
    EXPECT_EQ(lines[0], kIndent);
    EXPECT_EQ(lines[2], kIndent);
    EXPECT_EQ(lines[3], kIndent + std::string(70, '*'));
    EXPECT_EQ(lines[4].substr(7 + 59, 6), "Bl.1/4");
    EXPECT_EQ(lines[5].substr(7 + 52, 16), "05.03.2024 14:07");
    EXPECT_EQ(lines[6], kIndent + "*    /data/federn/feder1.kra" + std::string(41, ' ') + "*  ");
}

// A page shorter than its own header still ends: the header never breaks a page itself.
TEST(PageBreaks, PageShorterThanItsHeader) {
    PagedRig rig(1, 5);
    for (int i = 0; i < 12; ++i)
        rig.writer.WriteLine("Zeile");
    rig.writer.PageCheck();
    auto lines = rig.Close();
    EXPECT_EQ(Count(lines, kIndent + "Zeile"), 12);
}

// ---- Devices ----

struct DeviceRig : ReportRig {
    explicit DeviceRig(int device) {
        session.config.textDevice = device;
        writer.SetHeader({"KORA - Progressive zyl. Druckfeder  V11.4", "Titel", "", "", ""});
    }
    // A short report: a heading, two rows (one with two values), a table and the messages.
    bool Write(std::string_view name = "probe") {
        if (!writer.OpenReport(0, name)) return false;
        writer.PageHeader(true);
        writer.WriteLine("FEDERKR\x8E"
                         "FTE");
        writer.WriteSeparator();
        writer.WriteRow("Federkraft", "F1", "N", "1.5");
        writer.WriteRow("Lebensdauer min/max", "tN", "h", "186.8", "1030");
        writer.WriteLine("");
        writer.BeginTable({{"Nr.", 5}, {"L0i [mm]", 10}}, true);
        writer.TableRow({"E1", "   3.000"});
        writer.TableRow({" 1", "  10.000"});
        writer.EndTable();
        writer.MessagesSection();
        return writer.CloseReport();
    }
};

TEST(SpreadsheetDevice, OneLinePerValueAndNoRules) {
    for (int device : {kDeviceSpreadsheet, kDeviceSpreadsheetNamed}) {
        SCOPED_TRACE(device);
        DeviceRig rig(device);
        rig.session.messages.Add("Warnung: tauc>tauz !");
        rig.files.directory = rig.dir.path();
        ASSERT_TRUE(rig.Write());
        auto lines = SplitLines(rig.Output());
        ASSERT_GE(lines.size(), 6u);
        EXPECT_EQ(lines[0], "KORA - Progressive zyl. Druckfeder V11.4\t05.03.2024\t14:07");
        EXPECT_EQ(lines[1], rig.writer.OutputPath());
        EXPECT_EQ(lines[5], " ");
        EXPECT_EQ(Count(lines, "Federkraft\tF1\tN\t1,5"), 1);
        EXPECT_EQ(Count(lines, "Lebensdauer min/max\ttN\th\t186,8\t1030"), 1);
        EXPECT_EQ(Count(lines, "Nr.\tL0i [mm]"), 1);
        EXPECT_EQ(Count(lines, "E1\t3,000"), 1);
        for (const auto& l : lines)
            EXPECT_EQ(l.find("---"), std::string::npos) << l;
        // Messages: one line each with cause and remedy.
        auto message = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.rfind("Warnung: tauc>tauz !\t", 0) == 0;
        });
        ASSERT_NE(message, lines.end());
        EXPECT_EQ(std::count(message->begin(), message->end(), '\t'), 2);
    }
}

TEST(SpreadsheetDevice, NumberedCopiesInTheTemporaryFolder) {
    DeviceRig rig(kDeviceSpreadsheet);
    rig.session.config.SpreadsheetDecimal = 1;
    ASSERT_TRUE(rig.Write());
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "1$$$.txt");
    EXPECT_EQ(rig.writer.CopyPath(), rig.dir / "$$1.txt");
    EXPECT_NE(ReadFile(rig.writer.CopyPath()).find("Federkraft\tF1\tN\t1.5\n"), std::string::npos);
    ASSERT_TRUE(rig.Write());
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "2$$$.txt");
    EXPECT_EQ(rig.writer.CopyPath(), rig.dir / "$$2.txt");
    EXPECT_EQ(rig.writer.SpreadsheetFiles(), 2);
}

TEST(SpreadsheetDevice, NamedCopyBesideTheSpring) {
    DeviceRig rig(kDeviceSpreadsheetNamed);
    rig.files.directory = rig.dir.path();
    ASSERT_TRUE(rig.Write());
    EXPECT_EQ(rig.writer.CopyPath(), rig.dir / "feder1.txt");
    EXPECT_TRUE(fs::exists(rig.writer.CopyPath()));
}

// Every element that is opened is closed, in order (void elements aside).
std::string UnbalancedTag(const std::string& html) {
    static const char* kVoid[] = {"br", "hr", "meta"};
    std::vector<std::string> open;
    for (std::size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        if (html.compare(i, 4, "<!--") == 0) {
            i = html.find("-->", i);
            if (i == std::string::npos) return "unclosed comment";
            continue;
        }
        std::size_t end = html.find('>', i);
        if (end == std::string::npos) return "unclosed tag";
        std::string tag = html.substr(i + 1, end - i - 1);
        bool closing = !tag.empty() && tag[0] == '/';
        if (closing) tag.erase(0, 1);
        tag = tag.substr(0, tag.find(' '));
        for (char& c : tag)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::find(std::begin(kVoid), std::end(kVoid), tag) != std::end(kVoid)) continue;
        if (!closing) {
            open.push_back(tag);
        } else {
            if (open.empty() || open.back() != tag) return "</" + tag + ">";
            open.pop_back();
        }
    }
    return open.empty() ? "" : "<" + open.back() + ">";
}

TEST(HtmlDevice, WellFormedWithHeaderAndEnd) {
    DeviceRig rig(kDeviceHtml);
    rig.session.config.htmlBrowser = "";
    rig.session.messages.Add("Fatal  : sh <= 0 !");
    rig.dialogs.Push(ScriptedDialogs::Typed(rig.dir / "bericht.htm"));
    ASSERT_TRUE(rig.Write());
    const std::string html = rig.Output();
    auto lines = SplitLines(html, "\n");
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "<!-- " + rig.dir / "bericht.htm" + " -->");
    EXPECT_EQ(lines[1], "<HTML>");
    EXPECT_NE(lines[2].find("<title>KORA - Progressive zyl. Druckfeder V11.4</title>"),
              std::string::npos);
    EXPECT_EQ(lines[lines.size() - 2], "</BODY>");
    EXPECT_EQ(lines.back(), "</HTML>");
    EXPECT_EQ(UnbalancedTag(html), "");
    // Text is UTF-8 and escaped; rules are dropped.
    EXPECT_NE(html.find("<br>FEDERKR\xC3\x84"
                        "FTE"),
              std::string::npos);
    EXPECT_NE(html.find("Fatal  : sh &lt;= 0 !"), std::string::npos);
    EXPECT_EQ(html.find("-----"), std::string::npos);
    EXPECT_NE(html.find("<TR><TD>Federkraft</TD><TD>F1</TD><TD>N</TD><TD><DIV ALIGN=RIGHT>1.5"
                        "</DIV></TD></TR>"),
              std::string::npos);
}

TEST(HtmlDevice, PlainCharactersInsteadOfSpecialOnes) {
    DeviceRig rig(kDeviceHtml);
    rig.session.config.htmlBrowser = "";
    rig.session.config.plainCharacters = true;
    rig.dialogs.Push(ScriptedDialogs::Typed(rig.dir / "bericht"));
    ASSERT_TRUE(rig.writer.OpenReport(0, "probe"));
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "bericht.htm");
    rig.writer.WriteRow("Betriebstemperatur", "theta",
                        "\xF8"
                        "C",
                        "20 \xF1 2");
    ASSERT_TRUE(rig.writer.CloseReport());
    EXPECT_NE(rig.Output().find("<TD>degC</TD><TD><DIV ALIGN=RIGHT>20 +/- 2"), std::string::npos);
}

TEST(FileDevice, ChosenFileAndWindowsCopy) {
    DeviceRig rig(kDeviceFile);
    rig.dialogs.Push(ScriptedDialogs::Typed(rig.dir / "bericht.doc"));
    ASSERT_TRUE(rig.Write());
    // The save dialog's extension rule: whatever was typed becomes ".txt".
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "bericht.txt");
    EXPECT_EQ(rig.writer.CopyPath(), rig.dir / "outwin.txt");
    ASSERT_EQ(rig.dialogs.infos.size(), 1u);
    EXPECT_EQ(rig.dialogs.infos[0],
              rig.dir / "bericht.txt" + " und Windows-Datei outwin.txt wurden angelegt.");
    // The copy is the report, line by line in UTF-8.
    std::string expected;
    for (const auto& l : SplitLines(rig.Output()))
        expected += Cp850ToUtf8(l) + "\n";
    EXPECT_EQ(ReadFile(rig.writer.CopyPath()), expected);
    EXPECT_NE(expected.find("FEDERKR\xC3\x84"
                            "FTE"),
              std::string::npos);
}

TEST(FileDevice, ExistingFileIsOnlyOverwrittenWhenConfirmed) {
    struct Case {
        ScriptedDialogs::Answer answer;
        bool written;
    };
    const Case cases[] = {{ScriptedDialogs::Yes(), true},
                          {ScriptedDialogs::No(), false},
                          {ScriptedDialogs::Cancelled(), false}};
    for (const Case& c : cases) {
        DeviceRig rig(kDeviceFile);
        const std::string path = rig.dir / "bericht.txt";
        WriteFile(path, "alt");
        rig.dialogs.Push(ScriptedDialogs::Typed(path));
        rig.dialogs.Push(c.answer);
        EXPECT_EQ(rig.Write(), c.written);
        EXPECT_EQ(ReadFile(path) == "alt", !c.written);
        ASSERT_GE(rig.dialogs.shown.size(), 2u);
        EXPECT_EQ(rig.dialogs.shown[1], path + " existiert bereits.   \xC3\x9C"
                                               "berschreiben ?");
        if (!c.written) {
            EXPECT_EQ(rig.writer.State(), ReportState::Cancelled);
            EXPECT_TRUE(rig.session.AbortFlag);
        }
    }
}

TEST(FileDevice, CommandLineRunNeedsNoDialog) {
    DeviceRig rig(kDeviceScreen); // the configured device does not matter
    rig.session.config.textDeviceWindow = true;
    rig.writer.SetFileWithoutDialog(true);
    ASSERT_TRUE(rig.Write(rig.dir / "feder1.TXT"));
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "feder1.TXT");
    EXPECT_TRUE(fs::exists(rig.dir / "feder1.TXT"));
    EXPECT_TRUE(rig.dialogs.unexpected.empty());
}

TEST(FileDevice, FailedWriteIsReportedAndLeavesTheTargetAlone) {
    struct Case {
        const char* name;
        std::string (*target)(const TempDir&);
        const char* message; // "{}" stands for the target
    };
    const Case cases[] = {
        {"missing folder", [](const TempDir& d) { return d / "fehlt/bericht.txt"; },
         "file write error"},
        // The finished file cannot replace a folder of that name, and the message says why.
        {"folder in the way",
         [](const TempDir& d) {
             fs::create_directory(d / "bericht.txt");
             return d / "bericht.txt";
         },
         "Dateiname \"{}\" ist ein Ordner !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig(kDeviceFile);
        const std::string target = c.target(rig.dir);
        rig.dialogs.Push(ScriptedDialogs::Typed(target));
        if (fs::exists(target)) rig.dialogs.Push(ScriptedDialogs::Yes());
        EXPECT_FALSE(rig.Write());
        EXPECT_EQ(rig.writer.State(), ReportState::Failed);
        EXPECT_TRUE(rig.session.AbortFlag);
        ASSERT_EQ(rig.dialogs.errors.size(), 1u);
        std::string message = c.message;
        if (auto at = message.find("{}"); at != std::string::npos) message.replace(at, 2, target);
        EXPECT_EQ(rig.dialogs.errors[0], message);
        EXPECT_FALSE(fs::is_regular_file(target));
        EXPECT_TRUE(rig.dialogs.infos.empty());
    }
}

// A command-line report over names that are already there: a write-protected file stays as
// it is, links stay links, and the spring file the report is made from is never replaced.
TEST(FileDevice, ExistingNamesAreTreatedWithCare) {
    DeviceRig rig(kDeviceFile);
    rig.writer.SetFileWithoutDialog(true);
    const std::string name = rig.dir / "FILE.TXT";
    auto write = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };

    write(name, "read-only");
    fs::permissions(name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(rig.Write(name));
    EXPECT_EQ(rig.writer.State(), ReportState::Failed);
    ASSERT_EQ(rig.dialogs.errors.size(), 1u);
    EXPECT_EQ(rig.dialogs.errors[0], "Schreibschutz entfernen !");
    EXPECT_EQ(ReadFile(name), "read-only");
    fs::remove(name);
    rig.dialogs.errors.clear();

    fs::create_directory(rig.dir / "real");
    write(rig.dir / "real/FILE.TXT", "old");
    fs::create_symlink("real/FILE.TXT", name);
    ASSERT_TRUE(rig.Write(name));
    EXPECT_TRUE(fs::is_symlink(name));
    EXPECT_TRUE(ReadFile(rig.dir / "real/FILE.TXT").find("FEDERKR") != std::string::npos);
    fs::remove(name);

    write(name, "old");
    fs::create_hard_link(name, rig.dir / "other.TXT");
    ASSERT_TRUE(rig.Write(name));
    EXPECT_EQ(ReadFile(rig.dir / "other.TXT"), ReadFile(name));
    EXPECT_EQ(fs::hard_link_count(name), 2u);

    const std::string spring = rig.dir / "v.TXT"; // a spring file named like its report
    write(spring, "spring bytes");
    rig.writer.SetKeptFile(spring);
    for (const std::string& target : {spring, rig.dir / "./v.TXT"}) {
        rig.dialogs.errors.clear();
        EXPECT_FALSE(rig.Write(target));
        EXPECT_EQ(rig.writer.State(), ReportState::Failed);
        ASSERT_EQ(rig.dialogs.errors.size(), 1u);
        EXPECT_EQ(rig.dialogs.errors[0], "Datei \"" + target +
                                             "\" ist die geladene Federdatei und wird nicht "
                                             "\xC3\xBC"
                                             "berschrieben !");
        EXPECT_EQ(ReadFile(spring), "spring bytes");
    }
}

// A folder for temporary files that cannot be made gives way to the run's private folder: the
// output is written there, never into the working folder.
TEST(DosFileDevice, TemporaryFolderThatCannotBeMade) {
    DeviceRig rig(kDeviceDosFile);
    rig.session.config.tempFolder = "/proc/kora-no-such-folder";
    ASSERT_TRUE(rig.Write());
    const std::string path = rig.writer.OutputPath();
    EXPECT_EQ(path.rfind("/tmp/kora-run-", 0), 0u) << path;
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(rig.dialogs.errors.empty());
}

TEST(ScreenDevice, TextWindowShowsTheCopyAndTheTemporaryFileGoes) {
    DeviceRig rig(kDeviceScreen);
    ASSERT_TRUE(rig.Write());
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "$OUT1.TMP");
    EXPECT_FALSE(fs::exists(rig.writer.OutputPath()));
    ASSERT_FALSE(rig.dialogs.shown.empty());
    EXPECT_EQ(rig.dialogs.shown.back(),
              "KORA - Progressive zyl. Druckfeder  V11.4 " + rig.dir / "outwin.txt");
    EXPECT_NE(ReadFile(rig.dir / "outwin.txt")
                  .find("FEDERKR\xC3\x84"
                        "FTE"),
              std::string::npos);
}

TEST(DeviceChoice, AskedWhenConfigured) {
    DeviceRig rig(kDeviceScreen);
    rig.session.config.textDeviceWindow = true;
    rig.dialogs.Push(ScriptedDialogs::Chosen(6));
    rig.dialogs.Push(ScriptedDialogs::Typed(rig.dir / "tabelle"));
    ASSERT_TRUE(rig.Write());
    EXPECT_EQ(rig.writer.Device(), kDeviceSpreadsheet);
    EXPECT_EQ(rig.writer.OutputPath(), rig.dir / "tabelle.txt");
    EXPECT_EQ(Count(rig.dialogs.shown, "Ausgabe auf .."), 1);
    EXPECT_EQ(rig.session.HelpTopic, 1050);

    DeviceRig cancelled(kDeviceScreen);
    cancelled.session.config.textDeviceWindow = true;
    cancelled.dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(cancelled.Write());
    EXPECT_EQ(cancelled.writer.State(), ReportState::Cancelled);
    EXPECT_TRUE(cancelled.session.AbortFlag);
}

TEST(TextPrinter, RawBytesToTheDevicePath) {
    DeviceRig rig(kDeviceTextPrinter);
    rig.session.config.textPrinterTarget = rig.dir / "lp0";
    rig.session.config.printoutHeader = 2;
    WriteFile(rig.dir / "lp0", "");          // the printer device
    rig.dialogs.Push(ScriptedDialogs::No()); // no pause after each page
    ASSERT_TRUE(rig.Write());
    const std::string printed = ReadFile(rig.dir / "lp0");
    EXPECT_EQ(rig.dialogs.shown[0], "Pause nach jeder Seite ?");
    EXPECT_EQ(rig.dialogs.infos[0], "Ausdruck erfolgt  -   bitte warten ...");
    // Code page 850 as it is, ended by a form feed without a line end.
    EXPECT_NE(printed.find("FEDERKR\x8E"
                           "FTE\r\n"),
              std::string::npos);
    EXPECT_EQ(printed.back(), '\f');
}

TEST(TextPrinter, RefusedSheetCancelsTheReport) {
    ReportRig rig;
    rig.session.config.textDevice = kDeviceTextPrinter;
    rig.session.config.textPrinterTarget = rig.dir / "lp0";
    WriteFile(rig.dir / "lp0", "");
    StaticSpring(rig.session);
    CalculateSpring(rig.session);
    rig.dialogs.Push(ScriptedDialogs::Yes()); // pause after each page
    rig.dialogs.Push(ScriptedDialogs::Yes()); // sheet 1 is in
    rig.dialogs.Push(ScriptedDialogs::No());  // sheet 2 is refused
    FullReportRecalculating(rig.writer, rig.session);
    EXPECT_EQ(rig.writer.State(), ReportState::Cancelled);
    EXPECT_TRUE(rig.session.AbortFlag);
    EXPECT_TRUE(rig.dialogs.script.empty());
    EXPECT_EQ(Count(rig.dialogs.shown, "Blatt in Drucker einlegen"), 2);
    EXPECT_EQ(ReadFile(rig.dir / "lp0").find("Bl. 2"), std::string::npos);
}

TEST(TextPrinter, MissingDeviceIsNotCreated) {
    DeviceRig rig(kDeviceTextPrinter);
    rig.session.config.textPrinterTarget = rig.dir / "lp9";
    rig.dialogs.Push(ScriptedDialogs::No());
    EXPECT_FALSE(rig.Write());
    EXPECT_EQ(rig.writer.State(), ReportState::Failed);
    ASSERT_EQ(rig.dialogs.errors.size(), 1u);
    EXPECT_EQ(rig.dialogs.errors[0], "file write error");
    EXPECT_FALSE(fs::exists(rig.dir / "lp9"));
}

TEST(TextPrinter, TargetWithoutConfiguration) {
    Configuration config;
    config.textPrinterTarget = "";
    config.printerPort = 2;
    EXPECT_EQ(TextPrinterTarget(config), "/dev/lp1");
    config.textPrinterTarget = " lp -d kora ";
    EXPECT_EQ(TextPrinterTarget(config), "lp -d kora");
    EXPECT_FALSE(IsDevicePath("lp -d kora"));
    EXPECT_TRUE(IsDevicePath("/dev/usb/lp0"));
}

TEST(OutsidePrograms, MissingProgramIsNamed) {
    struct Case {
        int device;
        void (*configure)(Configuration&);
        const char* program;
    };
    const Case cases[] = {
        {kDeviceTextProgram, [](Configuration& c) { c.textProgram = "/kein/textprogramm"; },
         "/kein/textprogramm not found"},
        {kDeviceHtml, [](Configuration& c) { c.htmlBrowser = "kora-kein-browser"; },
         "kora-kein-browser not found"},
        {kDeviceTextPrinter, [](Configuration& c) { c.textPrinterTarget = "kora-kein-lp"; },
         "kora-kein-lp not found"},
        {kDeviceWindowsPrinter, [](Configuration& c) { c.printCommand = "kora-kein-druck"; },
         "kora-kein-druck not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        DeviceRig rig(c.device);
        c.configure(rig.session.config);
        EXPECT_FALSE(rig.Write());
        ASSERT_EQ(rig.dialogs.errors.size(), 1u);
        EXPECT_EQ(rig.dialogs.errors[0], c.program);
        EXPECT_TRUE(rig.session.AbortFlag);
    }
}

// A stand-in for the text program, the browser and the print command: it copies the file it
// is given next to itself.
std::string FakeProgram(const TempDir& dir) {
    const std::string script = dir / "zeige";
    WriteFile(script, "#!/bin/sh\ncp \"$1\" \"$(dirname \"$0\")/gezeigt\"\n");
    ::chmod(script.c_str(), 0755);
    return script;
}

// Waits for the detached program: it is our child until it ends.
void WaitForChildren() {
    int status = 0;
    while (::waitpid(-1, &status, 0) > 0) {
    }
}

TEST(OutsidePrograms, StartedDetachedWithTheReport) {
    struct Case {
        int device;
        void (*configure)(Configuration&, const std::string&);
        const char* expectedText;
    };
    const Case cases[] = {
        {kDeviceTextProgram, [](Configuration& c, const std::string& p) { c.textProgram = p; },
         "FEDERKR\xC3\x84"
         "FTE"},
        {kDeviceHtml, [](Configuration& c, const std::string& p) { c.htmlBrowser = p; },
         "<br>FEDERKR\xC3\x84"
         "FTE"},
        {kDeviceWindowsPrinter, [](Configuration& c, const std::string& p) { c.printCommand = p; },
         "FEDERKR\xC3\x84"
         "FTE"},
        {kDeviceTextPrinter,
         [](Configuration& c, const std::string& p) {
             c.textPrinterTarget = p.substr(p.rfind('/') + 1);
             ::setenv("PATH", (p.substr(0, p.rfind('/')) + ":/usr/bin:/bin").c_str(), 1);
         },
         "FEDERKR\xC3\x84"
         "FTE"},
    };
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        DeviceRig rig(c.device);
        c.configure(rig.session.config, FakeProgram(rig.dir));
        EXPECT_TRUE(rig.Write());
        ::setenv("PATH", path.c_str(), 1);
        EXPECT_TRUE(rig.dialogs.errors.empty());
        WaitForChildren();
        EXPECT_NE(ReadFile(rig.dir / "gezeigt").find(c.expectedText), std::string::npos);
    }
}

TEST(OutsidePrograms, CommandWords) {
    EXPECT_EQ(CommandWords(""), std::vector<std::string>{"xdg-open"});
    EXPECT_EQ(CommandWords("lp -d kora"), (std::vector<std::string>{"lp", "-d", "kora"}));
    EXPECT_TRUE(ProgramExists("sh"));
    EXPECT_TRUE(ProgramExists("/bin/sh -c"));
    EXPECT_FALSE(ProgramExists("/bin"));
    EXPECT_FALSE(ProgramExists("kora-no-such-program"));
}

TEST(MessagesSection, WrappedCauseAndRemedyWithRules) {
    DeviceRig rig(kDeviceDosFile);
    rig.session.messages.Add("Fehler : taukh>tauhzul! S=0.97");
    rig.session.messages.Add("Warnung: ohne Hilfetext");
    ASSERT_TRUE(rig.writer.OpenReport(0, "probe"));
    rig.writer.MessagesSection();
    ASSERT_TRUE(rig.writer.CloseReport());
    auto lines = SplitLines(rig.Output());
    const std::vector<std::string> expected = {
        kIndent,
        kIndent + "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN",
        kIndent + std::string(70, '='),
        kIndent,
        kIndent + std::string(70, '-'),
        kIndent + "Fehler : taukh>tauhzul! S=0.97",
        kIndent + "Die Hubspannung der Feder liegt \x81"
                  "ber der zul\x84ssigen Hubspannung",
        kIndent + "des Werkstoffs bei zehn Millionen Lastspielen, die Feder ist",
        kIndent + "nicht dauerfest.",
        kIndent + "Hub verkleinern, Drahtdurchmesser vergr\x94\xE1"
                  "ern oder",
        kIndent + "kugelgestrahlten Draht w\x84hlen.",
        kIndent + std::string(70, '-'),
        kIndent + "Warnung: ohne Hilfetext",
        kIndent + "keine Beschreibung dieser Fehlermeldung vorhanden.",
        kIndent, // the empty remedy keeps its line
        kIndent + std::string(70, '-'),
    };
    EXPECT_EQ(lines, expected);
}

// Without a help file cause and remedy are empty, yet each keeps its line.
TEST(MessagesSection, WithoutHelpFileCauseAndRemedyStayAsBlankLines) {
    DeviceRig rig(kDeviceDosFile);
    rig.session.config.helpFolder = rig.dir / "keine-hilfe";
    rig.session.messages.Add("Warnung: ohne Hilfedatei");
    ASSERT_TRUE(rig.writer.OpenReport(0, "probe"));
    rig.writer.MessagesSection();
    ASSERT_TRUE(rig.writer.CloseReport());
    auto lines = SplitLines(rig.Output());
    ASSERT_GE(lines.size(), 4u);
    const std::vector<std::string> tail(lines.end() - 4, lines.end());
    const std::vector<std::string> expected = {kIndent + "Warnung: ohne Hilfedatei", kIndent,
                                               kIndent, kIndent + std::string(70, '-')};
    EXPECT_EQ(tail, expected);
}

} // namespace
} // namespace kora
