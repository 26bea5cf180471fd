// One generic view for every form model: a row per field in the model's order (an edit with
// its caption and unit, a "<" button beside the edit it serves, labels, radio groups of up to
// seven items and lists beyond, check boxes, buttons, grids, sliders), then OK and "Abbrechen". The
// view shows what the model says and forwards the user's events; it decides nothing itself.
#pragma once

#include "platform/form.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>

class QDialogButtonBox;
class QGridLayout;
class QWidget;

namespace kora {

class QtFormView : public QDialog {
  public:
    // Builds a widget for every field of the form.
    QtFormView(FormModel& form, QWidget* parent = nullptr);

    // Opens the form, shows its fields, lets `place` size and position the dialog (the default
    // fits it to its contents) and shows it modally; true when it closed with OK.
    bool Run(const std::function<void(QDialog&)>& place = {});
    // OK and "Abbrechen"; a caller may add buttons (the help buttons).
    QDialogButtonBox& buttonBox() { return *buttons_; }
    // The widget that shows a field (for tests), null for none.
    QWidget* WidgetOf(std::string_view id) const;

  protected:
    void reject() override; // Esc and the close box are the form's Cancel
    void accept() override;

  private:
    void Build();
    void AddField(Field& field, QGridLayout* grid, int& row);
    void ShowChanged(const std::vector<const Field*>& changed);
    void ShowField(const Field& field);
    void AfterEvent();

    FormModel& form_;
    QDialogButtonBox* buttons_ = nullptr;
    std::map<std::string, QWidget*, std::less<>> widgets_;  // the field's main widget
    std::map<std::string, QWidget*, std::less<>> captions_; // the caption or unit labels
    std::map<std::string, QWidget*, std::less<>> units_;
    bool closing_ = false;
    bool filling_ = false; // the view itself is writing into a grid or slider
};

} // namespace kora
