#include "shell/qt_form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kora {
namespace {

// A form with one field of every kind; the proposal button fills the edit, the check box
// disables it, and the list's choice shows in the label.
class SampleForm final : public FormModel {
  public:
    SampleForm() : FormModel("TForm_sample") {
        Caption = "Probe";
        Button_L1.onEvent = [this] { Edit_L1.Show(12.5L, "12.5"); };
        Check_lock.onEvent = [this] { Edit_L1.SetEnabled(!Check_lock.Checked()); };
        List_many.onEvent = [this] { Label_info.SetText(List_many.Items()[List_many.Index()]); };
        std::vector<std::string> nine;
        for (int i = 1; i <= 9; ++i)
            nine.push_back("Punkt " + std::to_string(i));
        List_many.SetItems(nine);
        Radio_few.SetItems({"rund", "elliptisch", "quadratisch"});
    }
    Field Edit_L1{*this, "Edit_L1", Control::Edit, "Federl\x84nge L1"};
    Field Button_L1{*this, "Button_L1", Control::Button, "<"};
    Field Radio_few{*this, "Radio_few", Control::Choice, "Drahtquerschnitt"};
    Field List_many{*this, "List_many", Control::Choice, "Punkte"};
    Field Check_lock{*this, "Check_lock", Control::Check, "gesperrt"};
    Field Label_info{*this, "Label_info", Control::Label};
    bool stored = false;

  protected:
    void FormShow() override {
        Edit_L1.Show(35.0L, "35");
        Radio_few.SetIndex(0);
    }
    void OkClick() override {
        stored = true;
        Close(FormResult::Ok);
    }
    void CancelClick() override { Close(FormResult::Cancel); }
};

TEST(QtFormView, ShowsEveryKindOfFieldAndForwardsTheUsersEvents) {
    SampleForm form;
    QtFormView view(form);
    QTimer::singleShot(0, [&] {
        auto* edit = qobject_cast<QLineEdit*>(view.WidgetOf("Edit_L1"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), "35");
        EXPECT_EQ(view.windowTitle(), "Probe");
        // Three items are radio buttons, nine a list.
        EXPECT_EQ(view.WidgetOf("Radio_few")->findChildren<QRadioButton*>().size(), 3);
        auto* list = qobject_cast<QListWidget*>(view.WidgetOf("List_many"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 9);

        QTest::mouseClick(view.WidgetOf("Button_L1"), Qt::LeftButton);
        EXPECT_EQ(edit->text(), "12.5"); // the model's change reached the view
        edit->clear();
        QTest::keyClicks(edit, "40,5");
        EXPECT_EQ(form.Edit_L1.Text(), "40,5");
        EXPECT_FALSE(form.Edit_L1.Untouched());

        list->setCurrentRow(3);
        EXPECT_EQ(form.List_many.Index(), 3);
        EXPECT_EQ(qobject_cast<QLabel*>(view.WidgetOf("Label_info"))->text(), "Punkt 4");
        view.WidgetOf("Radio_few")->findChildren<QRadioButton*>()[2]->click();
        EXPECT_EQ(form.Radio_few.Index(), 2);

        qobject_cast<QCheckBox*>(view.WidgetOf("Check_lock"))->click();
        EXPECT_FALSE(edit->isEnabled());
        QTest::keyClick(&view, Qt::Key_Return);
    });
    EXPECT_TRUE(view.Run());
    EXPECT_TRUE(form.stored);
    EXPECT_EQ(form.Result(), FormResult::Ok);
}

TEST(QtFormView, CaptionsAreShownInUtf8AndTypedTextReachesTheModelInCodePage850) {
    SampleForm form;
    QtFormView view(form);
    QTimer::singleShot(0, [&] {
        auto labels = view.findChildren<QLabel*>();
        bool found = false;
        for (QLabel* label : labels)
            found = found || label->text() == QString::fromUtf8("Federlänge L1");
        EXPECT_TRUE(found);
        auto* edit = qobject_cast<QLineEdit*>(view.WidgetOf("Edit_L1"));
        edit->clear();
        // A key that types "ä" (QTest only types ASCII).
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("ä"));
        QApplication::sendEvent(edit, &press);
        EXPECT_EQ(form.Edit_L1.Text(), "\x84");
        QTest::keyClick(&view, Qt::Key_Escape);
    });
    EXPECT_FALSE(view.Run());
    EXPECT_EQ(form.Result(), FormResult::Cancel);
    EXPECT_FALSE(form.stored);
}

} // namespace
} // namespace kora
