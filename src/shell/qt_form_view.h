// One generic view for every form model: a row per field in the model's order (an edit with
// its caption and unit, "<" and "..." buttons beside the edit they serve, labels, radio groups
// of up to seven items and lists beyond, check boxes, buttons side by side, grids, sliders), on
// tabs where the fields name pages, then OK and "Abbrechen". The view shows what the model
// says and forwards the user's events; it decides nothing itself.
#pragma once

#include "platform/form.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>

class QDialogButtonBox;
class QGridLayout;
class QHBoxLayout;
class QTabWidget;
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
    // The tabs of a form whose fields name pages; null for a form without.
    QTabWidget* tabs() const { return tabs_; }

  protected:
    void reject() override; // Esc and the close box are the form's Cancel
    void accept() override;

  private:
    // Where the next field of a page goes.
    struct Place {
        QGridLayout* grid = nullptr;
        int row = 0;
        int sideColumn = 3;               // next column beside the last edit
        QHBoxLayout* buttonRow = nullptr; // the row plain buttons line up in
    };
    void Build();
    Place& PlaceOf(const Field& field, Place& mainPlace);
    void AddField(Field& field, Place& place);
    void ShowChanged(const std::vector<const Field*>& changed);
    void ShowField(const Field& field);
    void AfterEvent();

    FormModel& form_;
    QDialogButtonBox* buttons_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::map<std::string, Place, std::less<>> pages_;
    std::map<std::string, QWidget*, std::less<>> widgets_;  // the field's main widget
    std::map<std::string, QWidget*, std::less<>> captions_; // the caption or unit labels
    std::map<std::string, QWidget*, std::less<>> units_;
    bool closing_ = false;
    bool filling_ = false; // the view itself is writing into a grid or slider
};

} // namespace kora
