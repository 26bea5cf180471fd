// Dialogs answered from a script, for tests: each call takes the next answer, in order, and
// everything shown is recorded. A missing or mismatched answer counts as cancel and is noted
// in `unexpected`; so is a form other than the one scripted, a step its form cannot take, a
// step left after the form closed and a form left open when its steps ran out. When the dialogs go,
// a question nobody scripted or an answer left unused is reported to the fault handler (tests
// install one that fails the running test). Its edge is UTF-8, as the tests write texts: what
// is shown is recorded in UTF-8 and typed answers are given in UTF-8 (paths as they are).
#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kora {

class ScriptedDialogs final : public Dialogs {
  public:
    // One event on a shown form, in the order a user would make them.
    struct FormStep {
        enum Kind { Type, Choose, Check, Press, Cell, Click, Ok, Cancel } kind;
        std::string field;
        std::string text; // typed text (code page 850, as the form holds it)
        int index = 0;    // chosen item (0-based); for Check, 1 = checked; a cell's column
        int row = 0;      // a cell's row
    };
    static FormStep TypeIn(std::string field, std::string text) {
        return {FormStep::Type, std::move(field), std::move(text), 0, 0};
    }
    static FormStep TypeInCell(std::string grid, int column, int row, std::string text) {
        return {FormStep::Cell, std::move(grid), std::move(text), column, row};
    }
    static FormStep ChooseIn(std::string field, int index) {
        return {FormStep::Choose, std::move(field), {}, index, 0};
    }
    static FormStep CheckIn(std::string field, bool checked) {
        return {FormStep::Check, std::move(field), {}, checked ? 1 : 0, 0};
    }
    static FormStep PressIn(std::string button) {
        return {FormStep::Press, std::move(button), {}, 0, 0};
    }
    static FormStep ClickCell(std::string grid, int column, int row) {
        return {FormStep::Click, std::move(grid), {}, column, row};
    }
    static FormStep PressOk() { return {FormStep::Ok, {}, {}, 0, 0}; }
    static FormStep PressCancel() { return {FormStep::Cancel, {}, {}, 0, 0}; }

    // One scripted answer. `cancel` answers any dialog with cancel.
    struct Answer {
        enum Kind { Text, Choice, Yes, No, Cancel, Form } kind;
        std::string text; // for Form: the form's name
        int choice = 0;
        std::string extra; // the remedy of an edited message help
        std::vector<FormStep> steps;
    };
    static Answer Typed(std::string text) { return {Answer::Text, std::move(text), 0, {}, {}}; }
    static Answer Chosen(int index) { return {Answer::Choice, {}, index, {}, {}}; }
    static Answer Yes() { return {Answer::Yes, {}, 0, {}, {}}; }
    static Answer No() { return {Answer::No, {}, 0, {}, {}}; }
    static Answer Cancelled() { return {Answer::Cancel, {}, 0, {}, {}}; }
    // A colour (0x00BBGGRR) or a font of the platform's choosers.
    static Answer Colour(int bgr) { return {Answer::Choice, {}, bgr, {}, {}}; }
    static Answer Font(std::string typeface, int size, int style) {
        return {Answer::Text, std::move(typeface), size, std::to_string(style), {}};
    }
    static Answer Edited(std::string cause, std::string remedy) {
        return {Answer::Text, std::move(cause), 0, std::move(remedy), {}};
    }
    // The form named `name`, driven by `steps`; the last step should close it.
    static Answer Filled(std::string name, std::vector<FormStep> steps) {
        return {Answer::Form, std::move(name), 0, {}, std::move(steps)};
    }

    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;
    ~ScriptedDialogs() override;

    void Push(Answer answer) { script.push_back(std::move(answer)); }
    // Forgets what is left of the script and what went unexpected: for a test that drives a
    // sequence only part of the way on purpose.
    void Settle() {
        script.clear();
        unexpected.clear();
    }

    // Called once per fault text; none is installed outside the tests.
    static inline void (*faultHandler)(const std::string& fault) = nullptr;

    std::deque<Answer> script;
    std::vector<std::string> shown; // every prompt, message and item list, in order
    std::vector<std::string> infos, errors;
    std::vector<std::string> unexpected; // prompts that found no fitting answer
    // Called with each form as it is shown, before its steps: lets a test look at it.
    std::function<void(const FormModel&)> onForm;

    void ShowInfo(std::string_view text, std::string_view caption) override;
    void ShowError(std::string_view text) override;
    YesNoCancel AskYesNoCancel(std::string_view question) override;
    std::optional<bool> AskYesNo(std::string_view prompt, bool preset) override;
    std::optional<int> ChooseItem(std::string_view prompt, const std::vector<std::string>& items,
                                  int preset) override;
    std::optional<std::string> InputText(std::string_view prompt, std::size_t maxLength,
                                         std::string_view text) override;
    std::optional<std::string> ChooseFolder(std::string_view path) override;
    std::optional<std::string> ChooseFile(std::string_view path, std::string_view mask) override;
    std::optional<int> ChooseColour(int preset) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& preset) override;
    void ShowTextFile(std::string_view title, std::string_view path) override;
    void ShowLines(const std::vector<std::string>& lines) override;
    std::optional<std::pair<std::string, std::string>>
    ShowMessageHelp(std::string_view message, std::string_view cause,
                    std::string_view remedy) override;
    // Answered with Chosen(row), row 1-based as in ChooseItem.
    std::optional<std::size_t> ShowTable(TableWindowContent& table) override;
    bool ShowForm(FormModel& form) override;

  private:
    bool TakeStep(FormModel& form, const FormStep& step);
    std::optional<Answer> Next(std::string_view prompt, Answer::Kind wanted);
};

} // namespace kora
