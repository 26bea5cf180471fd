#include "platform/form.h"

#include "base/numformat.h"

#include <algorithm>

namespace kora {

Field::Field(FormModel& form, std::string_view id, Control kind, std::string_view caption)
    : id(id), kind(kind), caption_(caption) {
    form.Register(this);
}

void Field::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Touch();
}

void Field::SetUnit(std::string unit) {
    unit_ = std::move(unit);
    Touch();
}

void Field::SetText(std::string text) {
    text_ = std::move(text);
    hasValue_ = false;
    Touch();
}

void Field::Show(real value, std::string text) {
    value_ = value;
    shown_ = text;
    text_ = std::move(text);
    hasValue_ = true;
    Touch();
}

void Field::Show(const Configuration& config, real value) {
    if (quantity) unit_ = UnitLabel(config, *quantity);
    Show(value, quantity ? ShowShort(config, *quantity, value) : ShortFormat(config, value));
}

real Field::Value(const Configuration& config) const {
    return ValueBy([&](std::string_view text) {
        return quantity ? ReadValue(config, *quantity, text) : ParseReal(text);
    });
}

void Field::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    Touch();
}

void Field::SetIndex(int index) {
    index_ = index;
    Touch();
}

void Field::SetGridSize(std::size_t columns, std::size_t rows) {
    cells_.assign(columns, std::vector<std::string>(rows));
    Touch();
}

const std::string& Field::Cell(std::size_t column, std::size_t row) const {
    static const std::string kNone;
    if (column >= Columns() || row >= Rows()) return kNone;
    return cells_[column][row];
}

void Field::SetCell(std::size_t column, std::size_t row, std::string text) {
    if (column >= Columns() || row >= Rows()) return;
    cells_[column][row] = std::move(text);
    Touch();
}

bool Field::TypeCell(std::size_t column, std::size_t row, std::string text) {
    if (column >= Columns() || row >= Rows()) return false;
    cells_[column][row] = std::move(text);
    return true;
}

void Field::SetChecked(bool checked) {
    checked_ = checked;
    Touch();
}

void Field::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Touch();
}

void Field::SetVisible(bool visible) {
    visible_ = visible;
    Touch();
}

Field* FormModel::Find(std::string_view id) const {
    auto it = std::find_if(fields_.begin(), fields_.end(),
                           [&](const Field* field) { return field->id == id; });
    return it == fields_.end() ? nullptr : *it;
}

Field* FormModel::Usable(std::string_view id, Control kind) const {
    Field* field = Find(id);
    if (!field || field->kind != kind || !field->Enabled() || !field->Visible()) return nullptr;
    return field;
}

template <typename Handler> void FormModel::Run(Handler&& handler) {
    std::vector<unsigned> before;
    before.reserve(fields_.size());
    for (const Field* field : fields_)
        before.push_back(field->Revision());
    handler();
    if (!onChanged) return;
    std::vector<const Field*> changed;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i]->Revision() != before[i]) changed.push_back(fields_[i]);
    if (!changed.empty()) onChanged(changed);
}

void FormModel::Open() {
    result_ = FormResult::None;
    Run([&] { FormShow(); });
}

bool FormModel::Type(std::string_view id, std::string text) {
    Field* field = Usable(id, Control::Edit);
    if (!field) return false;
    field->Type(std::move(text));
    Run([&] {
        if (field->onEvent) field->onEvent();
    });
    return true;
}

bool FormModel::Choose(std::string_view id, int index) {
    Field* field = Usable(id, Control::Choice);
    if (field && (index < 0 || index >= static_cast<int>(field->Items().size()))) return false;
    if (!field) field = Usable(id, Control::Slider);
    if (!field) return false;
    if (field->kind == Control::Slider && field->range &&
        (index < field->range->min || index > field->range->max))
        return false;
    Run([&] {
        field->SetIndex(index);
        if (field->onEvent) field->onEvent();
    });
    return true;
}

bool FormModel::Check(std::string_view id, bool checked) {
    Field* field = Usable(id, Control::Check);
    if (!field) return false;
    Run([&] {
        field->SetChecked(checked);
        if (field->onEvent) field->onEvent();
    });
    return true;
}

bool FormModel::Press(std::string_view id) {
    Field* field = Usable(id, Control::Button);
    if (!field) field = Usable(id, Control::Grid);
    if (!field) return false;
    Run([&] {
        if (field->onEvent) field->onEvent();
    });
    return true;
}

bool FormModel::PressCell(std::string_view id, std::size_t column, std::size_t row) {
    Field* field = Usable(id, Control::Grid);
    if (!field || column >= field->Columns() || row >= field->Rows()) return false;
    field->selectedColumn_ = column;
    field->selectedRow_ = row;
    Run([&] {
        if (field->onEvent) field->onEvent();
    });
    return true;
}

bool FormModel::TypeCell(std::string_view id, std::size_t column, std::size_t row,
                         std::string text) {
    Field* field = Usable(id, Control::Grid);
    return field && field->TypeCell(column, row, std::move(text));
}

void FormModel::Ok() {
    Run([&] { OkClick(); });
}

void FormModel::Cancel() {
    Run([&] { CancelClick(); });
}

} // namespace kora
