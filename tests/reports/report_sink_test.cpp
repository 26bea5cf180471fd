// The format sinks on an output of their own, without a writer or a device: each stops with
// its output, and the paginated text asks for each sheet and feeds paper as its device says.
#include "calc/message_help.h"
#include "calc/spring_record.h"
#include "persistence/spring_file.h"
#include "reports/report_sink.h"

#include <gtest/gtest.h>

#include <memory>

namespace kora {
namespace {

// Records every byte, even after the end, so that a sink writing on is seen.
struct RecordingOutput final : ReportOutput {
    void Emit(std::string_view b) override { bytes.append(b); }
    bool Active() const override { return active; }
    bool NextSheet() override {
        ++sheets;
        return acceptSheets;
    }
    std::string bytes;
    bool active = true;
    bool acceptSheets = true;
    int sheets = 0;
};

struct SinkRig {
    SinkRig() {
        config.textPrintMode = 1;
        heading.clock = [] { return ReportTime{2024, 3, 5, 14, 7}; };
    }
    std::unique_ptr<ReportSink> Make(int format, TextPaper paper = {}) {
        switch (format) {
        case 0:
            return std::make_unique<TextSink>(output, config, heading, files, paper);
        case 1:
            return std::make_unique<HtmlSink>(output, config, heading, "bericht.htm");
        default:
            return std::make_unique<SpreadsheetSink>(output, config, heading, spring, "b.txt");
        }
    }
    RecordingOutput output;
    Configuration config;
    ReportHeading heading;
    SpringFileContext files{"", "feder1", false};
    SpringRecord spring;
};

TEST(ReportSink, EveryFormatWritesNothingOnceItsOutputHasEnded) {
    for (int format : {0, 1, 2}) {
        SCOPED_TRACE(format);
        SinkRig rig;
        auto sink = rig.Make(format);
        sink->PageHeader(true);
        sink->Line("Zeile");
        ASSERT_FALSE(rig.output.bytes.empty());
        const std::string before = rig.output.bytes;
        rig.output.active = false;
        const std::string_view values[] = {"1.5"};
        sink->Line("danach");
        sink->Row("Federkraft", "F1", "N", values);
        sink->Separator(Rule::Double);
        sink->BeginTable({{"Nr.", 5}}, true);
        sink->TableRow({"E1"});
        sink->EndTable();
        sink->FormFeed();
        sink->PageCheck();
        sink->PageHeader(false);
        sink->MessagesHeading("BEMERKUNGEN");
        sink->Message("Warnung", MessageHelp{});
        EXPECT_EQ(rig.output.bytes, before);
        EXPECT_EQ(sink->Page(), 1);
    }
}

TEST(TextSink, EachSheetIsAskedForAndARefusedOneGetsNoHeader) {
    SinkRig rig;
    TextSink sink(rig.output, rig.config, rig.heading, rig.files, {});
    rig.output.acceptSheets = false;
    sink.PageHeader(true);
    EXPECT_EQ(rig.output.sheets, 1);
    EXPECT_EQ(sink.Page(), 1);
    EXPECT_TRUE(rig.output.bytes.empty());
    rig.output.acceptSheets = true;
    sink.PageHeader(false);
    EXPECT_EQ(rig.output.sheets, 2);
    EXPECT_NE(rig.output.bytes.find("Bl. 2"), std::string::npos);
}

TEST(TextSink, ThePaperDecidesTheFormFeeds) {
    struct Case {
        TextPaper paper;
        std::string_view end; // what Finish leaves after the last line
    } cases[] = {
        {{false, false}, "Zeile\r\n"},
        {{false, true}, "Zeile\r\n\f\r\n"},
        {{true, true}, "Zeile\r\n\f"},
    };
    for (const Case& c : cases) {
        SinkRig rig;
        rig.config.printoutHeader = 2; // no header after the first page: the last one is fed
        TextSink sink(rig.output, rig.config, rig.heading, rig.files, c.paper);
        sink.Line("Zeile");
        sink.Finish();
        EXPECT_TRUE(rig.output.bytes.ends_with(c.end)) << rig.output.bytes;
        EXPECT_EQ(sink.LinesOnPage(), c.paper.closingFormFeed ? 0 : 1);
    }
}

} // namespace
} // namespace kora
