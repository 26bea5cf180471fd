#include "platform/scripted_dialogs.h"

#include "base/codepage.h"

namespace kora {

ScriptedDialogs::~ScriptedDialogs() {
    if (!faultHandler) return;
    for (const std::string& prompt : unexpected)
        faultHandler("question the script did not expect: \"" + prompt + "\"");
    if (!script.empty())
        faultHandler(std::to_string(script.size()) + " scripted answer(s) left unused");
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::Next(std::string_view prompt,
                                                             Answer::Kind wanted) {
    shown.emplace_back(prompt);
    if (script.empty()) {
        unexpected.emplace_back(prompt);
        return std::nullopt;
    }
    Answer answer = script.front();
    script.pop_front();
    if (answer.kind == Answer::Cancel) return std::nullopt;
    bool fits = answer.kind == wanted || (wanted == Answer::Yes && answer.kind == Answer::No);
    if (!fits) {
        unexpected.emplace_back(prompt);
        return std::nullopt;
    }
    return answer;
}

void ScriptedDialogs::ShowInfo(std::string_view text, std::string_view) {
    shown.push_back(Cp850ToUtf8(text));
    infos.push_back(shown.back());
}
void ScriptedDialogs::ShowError(std::string_view text) {
    shown.push_back(Cp850ToUtf8(text));
    errors.push_back(shown.back());
}
YesNoCancel ScriptedDialogs::AskYesNoCancel(std::string_view question) {
    auto a = Next(Cp850ToUtf8(question), Answer::Yes);
    if (!a) return YesNoCancel::Cancel;
    return a->kind == Answer::Yes ? YesNoCancel::Yes : YesNoCancel::No;
}
std::optional<bool> ScriptedDialogs::AskYesNo(std::string_view prompt, bool) {
    auto a = Next(Cp850ToUtf8(prompt), Answer::Yes);
    if (!a) return std::nullopt;
    return a->kind == Answer::Yes;
}
std::optional<int> ScriptedDialogs::ChooseItem(std::string_view prompt,
                                               const std::vector<std::string>& items, int) {
    for (const auto& item : items)
        shown.push_back("  " + Cp850ToUtf8(item));
    auto a = Next(Cp850ToUtf8(prompt), Answer::Choice);
    if (!a) return std::nullopt;
    return a->choice;
}
std::optional<std::string> ScriptedDialogs::InputText(std::string_view prompt, std::size_t,
                                                      std::string_view) {
    auto a = Next(Cp850ToUtf8(prompt), Answer::Text);
    if (!a) return std::nullopt;
    return Utf8ToCp850(a->text);
}
std::optional<std::string> ScriptedDialogs::ChooseFolder(std::string_view path) {
    auto a = Next(path, Answer::Text);
    if (!a) return std::nullopt;
    return a->text;
}
std::optional<std::string> ScriptedDialogs::ChooseFile(std::string_view path, std::string_view) {
    auto a = Next(path, Answer::Text);
    if (!a) return std::nullopt;
    return a->text;
}
std::optional<int> ScriptedDialogs::ChooseColour(int preset) {
    auto a = Next("colour " + std::to_string(preset), Answer::Choice);
    if (!a) return std::nullopt;
    return a->choice;
}
std::optional<FontChoice> ScriptedDialogs::ChooseFont(const FontChoice& preset) {
    auto a = Next("font " + preset.typeface, Answer::Text);
    if (!a) return std::nullopt;
    return FontChoice{a->text, a->choice, a->extra.empty() ? 0 : std::stoi(a->extra)};
}
std::optional<std::size_t> ScriptedDialogs::ShowTable(TableWindowContent& table) {
    for (const auto& row : table.rows)
        shown.push_back("  " + (row.empty() ? std::string() : Cp850ToUtf8(row.front())));
    auto a = Next(Cp850ToUtf8(table.caption), Answer::Choice);
    if (!a || a->choice < 1 || static_cast<std::size_t>(a->choice) > table.rows.size())
        return std::nullopt;
    return static_cast<std::size_t>(a->choice - 1);
}
void ScriptedDialogs::ShowTextFile(std::string_view title, std::string_view path) {
    shown.push_back(Cp850ToUtf8(title) + " " + std::string(path));
}
void ScriptedDialogs::ShowLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        shown.push_back(Cp850ToUtf8(line));
}

std::optional<std::pair<std::string, std::string>>
ScriptedDialogs::ShowMessageHelp(std::string_view message, std::string_view cause,
                                 std::string_view remedy) {
    shown.push_back(Cp850ToUtf8(cause));
    shown.push_back(Cp850ToUtf8(remedy));
    auto a = Next(Cp850ToUtf8(message), Answer::Text);
    if (!a) return std::nullopt;
    return std::make_pair(Utf8ToCp850(a->text), Utf8ToCp850(a->extra));
}

bool ScriptedDialogs::TakeStep(FormModel& form, const FormStep& step) {
    switch (step.kind) {
    case FormStep::Type:
        return form.Type(step.field, step.text);
    case FormStep::Choose:
        return form.Choose(step.field, step.index);
    case FormStep::Check:
        return form.Check(step.field, step.index != 0);
    case FormStep::Press:
        return form.Press(step.field);
    case FormStep::Cell:
        return step.index >= 0 && step.row >= 0 &&
               form.TypeCell(step.field, static_cast<std::size_t>(step.index),
                             static_cast<std::size_t>(step.row), step.text);
    case FormStep::Click:
        return step.index >= 0 && step.row >= 0 &&
               form.PressCell(step.field, static_cast<std::size_t>(step.index),
                              static_cast<std::size_t>(step.row));
    case FormStep::Ok:
        form.Ok();
        return true;
    case FormStep::Cancel:
        form.Cancel();
        return true;
    }
    return false;
}

bool ScriptedDialogs::ShowForm(FormModel& form) {
    form.Open();
    if (onForm) onForm(form);
    auto a = Next(form.Name(), Answer::Form);
    if (a && a->text != form.Name()) {
        unexpected.push_back(form.Name() + " (the script expected " + a->text + ")");
        a.reset();
    }
    if (!a) {
        form.Cancel();
        return false;
    }
    std::size_t taken = 0;
    for (; taken < a->steps.size() && !form.Closed(); ++taken) {
        const FormStep& step = a->steps[taken];
        if (!TakeStep(form, step))
            unexpected.push_back(form.Name() + ": no usable field \"" + step.field + "\"");
    }
    if (taken < a->steps.size())
        unexpected.push_back(form.Name() + ": " + std::to_string(a->steps.size() - taken) +
                             " step(s) left after the form closed");
    if (!form.Closed()) {
        unexpected.push_back(form.Name() + ": left open when its steps ran out");
        form.Cancel();
    }
    return form.Result() == FormResult::Ok;
}

} // namespace kora
