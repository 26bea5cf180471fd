#include "ui/print_macro_form.h"

#include "calc/session.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kora {
namespace {

using D = ScriptedDialogs;
using Item = PrintMacroItem;

class RecordingPrinters final : public PrinterHost {
  public:
    std::string Name() const override { return "Laser"; }
    bool Landscape() const override { return false; }
    bool Choose(bool) override {
        events.push_back("dialog");
        return choose;
    }
    PrinterFacts Facts() const override { return {}; }
    void SetBatch(bool on) override { events.push_back(on ? "batch on" : "batch off"); }
    std::vector<std::string> events;
    bool choose = true;
};

struct Macro {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    RecordingPrinters printers;
    std::vector<Item> printed;
    Item failing = Item::QuickPage;
    bool fail = false;
    bool Run(std::vector<D::FormStep> steps) {
        dialogs.Push(D::Filled("TForm_printmacro", std::move(steps)));
        return RunPrintMacro(session, printers, [this](Item item) {
            printed.push_back(item);
            printers.events.push_back("print " + std::to_string(static_cast<int>(item)));
            return !(fail && item == failing);
        });
    }
};

TEST(PrintMacro, CheckedItemsPrintInTheBoxOrderAfterOnePrintDialogAndTheMaskIsKept) {
    Macro m;
    m.session.config.PrintMacroMask = 1 << 20; // a bit no box shows stays
    ASSERT_TRUE(m.Run({D::CheckIn("CheckBox_13", true), D::CheckIn("CheckBox_4", true),
                       D::CheckIn("CheckBox_0", true), D::PressOk()}));
    EXPECT_EQ(m.printed,
              (std::vector<Item>{Item::StandardReport, Item::ProductionDrawing, Item::QuickPage}));
    EXPECT_EQ(m.printers.events, (std::vector<std::string>{"dialog", "batch on", "print 0",
                                                           "print 4", "print 13", "batch off"}));
    EXPECT_EQ(m.session.config.PrintMacroMask, (1 << 20) | (1 << 13) | (1 << 4) | 1);

    // The next run opens with those boxes checked.
    TForm_printmacro form(m.session.config);
    form.Open();
    EXPECT_TRUE(form.Box(Item::ProductionDrawing).Checked());
    EXPECT_FALSE(form.Box(Item::Goodman).Checked());
}

TEST(PrintMacro, NothingIsPrintedWhenCancelledOrNothingChecked) {
    Macro m;
    EXPECT_FALSE(m.Run({D::CheckIn("CheckBox_7", true), D::PressCancel()}));
    EXPECT_EQ(m.session.config.PrintMacroMask, 0);
    EXPECT_TRUE(m.Run({D::PressOk()})); // nothing checked: not even the print dialog
    m.printers.choose = false;
    EXPECT_FALSE(m.Run({D::CheckIn("CheckBox_7", true), D::PressOk()}));
    EXPECT_TRUE(m.printed.empty());
    EXPECT_EQ(m.printers.events, std::vector<std::string>{"dialog"});
    EXPECT_TRUE(m.session.AbortFlag);
}

TEST(PrintMacro, AFailedPrintoutEndsTheRunAndTheBatch) {
    Macro m;
    m.fail = true;
    m.failing = Item::Goodman;
    EXPECT_FALSE(
        m.Run({D::CheckIn("CheckBox_7", true), D::CheckIn("CheckBox_9", true), D::PressOk()}));
    EXPECT_EQ(m.printed, std::vector<Item>{Item::Goodman});
    EXPECT_EQ(m.printers.events.back(), "batch off");
}

} // namespace
} // namespace kora
