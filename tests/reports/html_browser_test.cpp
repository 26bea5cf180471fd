// The HTML report as a real browser reads it: headless Chromium parses the full report of a
// spring and must show its rows, its umlauts and its messages. Skipped when Chromium is not
// installed (Debian package "chromium").
#include "report_test_support.h"

#include "common/interop.h"
#include "reports/report_devices.h"

#include <cstdio>

namespace kora {
namespace {

using namespace kora::testing;

std::string OutputOf(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST(HtmlInBrowser, ChromiumShowsTheRows) {
    if (!ProgramExists("chromium")) KORA_SKIP_OR_FAIL("chromium is not installed");
    ReportRig rig;
    DynamicSpring(rig.session);
    CalculateSpring(rig.session);
    rig.session.config.textDevice = kDeviceHtml;
    const std::string path = rig.dir / "bericht.htm";
    rig.dialogs.Push(ScriptedDialogs::Typed(path));
    FullReportRecalculating(rig.writer, rig.session);
    ASSERT_EQ(rig.writer.State(), ReportState::Idle);
    const std::string source = ReadFile(path);

    const std::string dom =
        OutputOf("timeout 120 chromium --headless --no-sandbox --disable-gpu "
                 "--user-data-dir=" +
                 rig.dir / "profile" + " --dump-dom 'file://" + path + "' 2>/dev/null");
    ASSERT_FALSE(dom.empty()) << "chromium gave no document";
    // Every row of the file is a row of the document: nothing was misnested and dropped.
    EXPECT_EQ(Occurrences(dom, "<tr>"), Occurrences(source, "<TR>"));
    EXPECT_GT(Occurrences(dom, "<table"), 5u);
    EXPECT_NE(dom.find("<td>Elastizit\xC3\xA4tsmodul</td><td>E</td><td>MPa</td>"),
              std::string::npos);
    EXPECT_NE(dom.find("FEDERKR\xC3\x84"
                       "FTE"),
              std::string::npos);
    EXPECT_NE(dom.find("<td>Fehler : taukh&gt;tauhzul! S=0.97</td>"), std::string::npos);
    EXPECT_NE(dom.find("<title>KORA - Progressive zyl. Druckfeder V11.4</title>"),
              std::string::npos);
}

} // namespace
} // namespace kora
