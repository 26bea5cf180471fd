// Forms as models without widgets: every control of a dialog is a Field (an edit with its
// shown text and exact value, a label, a choice, a check box, a button), and a FormModel runs
// the handlers a view or a script forwards and tells its listener which fields they changed.
#pragma once

#include "base/configuration.h"
#include "base/real.h"
#include "base/units.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

class FormModel;

enum class Control {
    Edit,   // one-line text with an optional exact value behind it
    Label,  // text the user cannot change
    Choice, // radio group, combo box or list: items and the selected index
    Check,  // check box
    Button, // push button; its handler runs on Press
    Grid,   // string grid: cells by column and row; its handler runs on Press (a click)
    Slider, // track bar or scroll bar: its position is Index(), its bounds `range`
};

// The accepted values of a number field, for the view to show and the model to apply.
struct FieldRange {
    real min;
    real max;
};

// One control of a form. Texts are code page 850; the view converts them for the window (the
// rule of platform/dialogs.h).
// Whatever the model sets counts as a change the view must show (the field's revision
// grows); what the user types does not, since the view shows it already.
class Field {
  public:
    Field(FormModel& form, std::string_view id, Control kind, std::string_view caption = {});
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const std::string id; // the control's name, e.g. "Edit_seps", "Button_L1"
    const Control kind;
    std::optional<Quantity> quantity; // the unit of a number field; none: a plain number
    std::optional<FieldRange> range;
    std::string page; // the tab the control stands on; "" in a form without tabs

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    // The unit label shown beside a number field ("mm", "in", "N" ...).
    const std::string& Unit() const { return unit_; }
    void SetUnit(std::string unit);

    // --- Text of an edit, a label or a combo box -------------------------------------------
    const std::string& Text() const { return text_; }
    // A text with no exact value behind it.
    void SetText(std::string text);
    // A value and the text it shows as.
    void Show(real value, std::string text);
    // A value in the field's quantity, shown in the short format of the display unit, with
    // the unit label of that quantity.
    void Show(const Configuration& config, real value);
    // What the user typed.
    void Type(std::string text) { text_ = std::move(text); }
    // True while the text is still the one Show put there.
    bool Untouched() const { return hasValue_ && text_ == shown_; }
    // A field left as shown keeps its exact value (the short format may have rounded it);
    // otherwise `read` parses the text.
    template <typename Read> real ValueBy(Read&& read) const {
        return Untouched() ? value_ : static_cast<real>(read(std::string_view(text_)));
    }
    // The same, read in the field's quantity and the display unit (a plain number without one).
    real Value(const Configuration& config) const;

    // --- Items and selection of a choice ----------------------------------------------------
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    int Index() const { return index_; } // 0-based, -1 = nothing selected
    void SetIndex(int index);

    // --- Cells of a grid, by column and row (row 0 and leading columns may hold titles) ----
    std::size_t Columns() const { return cells_.size(); }
    std::size_t Rows() const { return cells_.empty() ? 0 : cells_[0].size(); }
    void SetGridSize(std::size_t columns, std::size_t rows);
    // An empty text outside the grid.
    const std::string& Cell(std::size_t column, std::size_t row) const;
    void SetCell(std::size_t column, std::size_t row, std::string text);
    // What the user typed into a cell; false outside the grid.
    bool TypeCell(std::size_t column, std::size_t row, std::string text);
    // The cell clicked last (0, 0 before any click).
    std::size_t SelectedColumn() const { return selectedColumn_; }
    std::size_t SelectedRow() const { return selectedRow_; }

    // --- Check box --------------------------------------------------------------------------
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Grows with every change the model makes.
    unsigned Revision() const { return revision_; }

    // The field's event: an edit's change, a choice's change, a check box's click, a
    // button's click (e.g. Edit_ddChange, Button_L1Click).
    std::function<void()> onEvent;

  private:
    friend class FormModel;
    void Touch() { ++revision_; }

    std::string caption_, unit_;
    std::string text_, shown_;
    real value_ = 0;
    bool hasValue_ = false;
    std::vector<std::string> items_;
    std::vector<std::vector<std::string>> cells_; // [column][row]
    std::size_t selectedColumn_ = 0, selectedRow_ = 0;
    int index_ = -1;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    unsigned revision_ = 0;
};

enum class FormResult { None, Ok, Cancel };

// A form: its fields in the order of the dialog, OK and Cancel, and the change listener.
class FormModel {
  public:
    // `name` is the form's class name (e.g. "TForm_settings"); scripts and views know a
    // form by it.
    explicit FormModel(std::string_view name) : name_(name) {}
    virtual ~FormModel() = default;
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    const std::string& Name() const { return name_; }
    std::string Caption;
    int HelpTopic = 0;
    std::string StartPage; // the tab shown first; "" for the first one

    const std::vector<Field*>& Fields() const { return fields_; }
    Field* Find(std::string_view id) const;

    // Before the form is shown: clears the result and runs FormShow.
    void Open();
    // Events of a view or a script. Each runs the field's handler and then tells the listener
    // which fields changed; false (nothing done) when the form has no such field of that kind
    // or the field is disabled or hidden.
    bool Type(std::string_view id, std::string text);
    bool Choose(std::string_view id, int index); // a choice's item, or a slider's position
    bool Check(std::string_view id, bool checked);
    bool Press(std::string_view id); // a button, or a click on a grid
    // A click on a grid's cell: the cell becomes the selected one, then the grid's handler.
    bool PressCell(std::string_view id, std::size_t column, std::size_t row);
    bool TypeCell(std::string_view id, std::size_t column, std::size_t row, std::string text);
    // OK or Enter; Cancel, Esc or the close box.
    void Ok();
    void Cancel();

    FormResult Result() const { return result_; }
    bool Closed() const { return result_ != FormResult::None; }

    // Called after every event with the fields whose revision grew, in the form's order.
    std::function<void(const std::vector<const Field*>& changed)> onChanged;

  protected:
    virtual void FormShow() {}
    virtual void OkClick() = 0;
    virtual void CancelClick() = 0;
    void Close(FormResult result) { result_ = result; }

  private:
    friend class Field;
    void Register(Field* field) { fields_.push_back(field); }
    template <typename Handler> void Run(Handler&& handler);
    Field* Usable(std::string_view id, Control kind) const;

    std::string name_;
    std::vector<Field*> fields_;
    FormResult result_ = FormResult::None;
};

} // namespace kora
