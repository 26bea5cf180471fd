#include "shell/qt_form_view.h"

#include "shell/dialog_texts.h"
#include "shell/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kora {
namespace {

// Beyond seven items a choice is a list, as in every dialog of the program.
constexpr int kMostRadioItems = 7;
constexpr std::string_view kHelpButtonId = "Button_help";

// "<" proposes a value, "..." opens a chooser: both stand beside the edit above them.
bool IsSideButton(const Field& field) {
    return field.kind == Control::Button && (field.Caption() == "<" || field.Caption() == "...");
}

} // namespace

QtFormView::QtFormView(FormModel& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(QString::fromStdString(form.Name()));
    Build();
}

bool QtFormView::Run(const std::function<void(QDialog&)>& place) {
    form_.Open();
    setWindowTitle(FromCp850(form_.Caption));
    for (Field* field : form_.Fields())
        ShowField(*field);
    if (place)
        place(*this);
    else
        adjustSize();
    form_.onChanged = [this](const std::vector<const Field*>& changed) { ShowChanged(changed); };
    if (!form_.Closed()) exec();
    form_.onChanged = nullptr;
    return form_.Result() == FormResult::Ok;
}

QWidget* QtFormView::WidgetOf(std::string_view id) const {
    const auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second;
}

void QtFormView::Build() {
    auto* layout = new QVBoxLayout(this);
    for (const Field* field : form_.Fields())
        if (!field->page.empty() && !tabs_) {
            tabs_ = new QTabWidget(this);
            tabs_->setObjectName("tabs");
            layout->addWidget(tabs_);
        }
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    Place mainPlace{grid};
    for (Field* field : form_.Fields())
        AddField(*field, PlaceOf(*field, mainPlace));
    if (tabs_)
        for (int i = 0; i < tabs_->count(); ++i)
            if (tabs_->tabText(i) == FromCp850(form_.StartPage)) tabs_->setCurrentIndex(i);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Cancel)
        ->setText(QString::fromUtf8(dialog_text::kCancel.data()));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QtFormView::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QtFormView::reject);
    layout->addWidget(buttons_);
}

QtFormView::Place& QtFormView::PlaceOf(const Field& field, Place& mainPlace) {
    if (field.page.empty() || !tabs_) return mainPlace;
    auto it = pages_.find(field.page);
    if (it != pages_.end()) return it->second;
    auto* page = new QWidget(tabs_);
    page->setObjectName(QString::fromStdString("page_" + field.page));
    auto* outer = new QVBoxLayout(page);
    auto* grid = new QGridLayout();
    outer->addLayout(grid);
    outer->addStretch(1);
    tabs_->addTab(page, FromCp850(field.page));
    return pages_.emplace(field.page, Place{grid}).first->second;
}

void QtFormView::AddField(Field& field, Place& place) {
    const std::string id = field.id;
    // Every dialog's help buttons stand beside OK (the dialog family adds them).
    if (id == kHelpButtonId) return;
    QGridLayout* grid = place.grid;
    int& row = place.row;
    const bool plainButton = field.kind == Control::Button && !IsSideButton(field);
    if (!plainButton) place.buttonRow = nullptr;
    if (!IsSideButton(field)) place.sideColumn = 3;
    QWidget* widget = nullptr;
    switch (field.kind) {
    case Control::Edit: {
        auto* caption = new QLabel(this);
        auto* edit = new QLineEdit(this);
        auto* unit = new QLabel(this);
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
            form_.Type(id, ToCp850(text));
            AfterEvent();
        });
        connect(edit, &QLineEdit::returnPressed, this, &QtFormView::accept);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        captions_[id] = caption;
        units_[id] = unit;
        widget = edit;
        ++row;
        break;
    }
    case Control::Label: {
        auto* label = new QLabel(this);
        label->setWordWrap(true);
        grid->addWidget(label, row++, 0, 1, 5);
        widget = label;
        break;
    }
    case Control::Check: {
        auto* box = new QCheckBox(this);
        connect(box, &QCheckBox::clicked, this, [this, id](bool checked) {
            form_.Check(id, checked);
            AfterEvent();
        });
        grid->addWidget(box, row++, 0, 1, 5);
        widget = box;
        break;
    }
    case Control::Button: {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id] {
            form_.Press(id);
            AfterEvent();
        });
        if (IsSideButton(field) && row > 0) {
            button->setMaximumWidth(32);
            grid->addWidget(button, row - 1, place.sideColumn++);
        } else {
            // Buttons one after another stand side by side.
            if (!place.buttonRow) {
                place.buttonRow = new QHBoxLayout();
                grid->addLayout(place.buttonRow, row++, 0, 1, 5);
            }
            place.buttonRow->addWidget(button);
        }
        widget = button;
        break;
    }
    case Control::Grid: {
        auto* table = new QTableWidget(this);
        table->horizontalHeader()->setVisible(false);
        table->verticalHeader()->setVisible(false);
        connect(table, &QTableWidget::cellChanged, this, [this, id, table](int r, int c) {
            if (filling_) return;
            const QTableWidgetItem* item = table->item(r, c);
            form_.TypeCell(id, static_cast<std::size_t>(c), static_cast<std::size_t>(r),
                           ToCp850(item ? item->text() : QString()));
            AfterEvent();
        });
        connect(table, &QTableWidget::cellClicked, this, [this, id](int r, int c) {
            form_.PressCell(id, static_cast<std::size_t>(c), static_cast<std::size_t>(r));
            AfterEvent();
        });
        grid->addWidget(table, row++, 0, 1, 5);
        widget = table;
        break;
    }
    case Control::Slider: {
        auto* caption = new QLabel(this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        connect(slider, &QSlider::valueChanged, this, [this, id](int position) {
            if (filling_) return;
            form_.Choose(id, position);
            AfterEvent();
        });
        grid->addWidget(caption, row, 0);
        grid->addWidget(slider, row++, 1, 1, 4);
        captions_[id] = caption;
        widget = slider;
        break;
    }
    case Control::Choice: {
        auto* caption = new QLabel(this);
        grid->addWidget(caption, row, 0);
        captions_[id] = caption;
        if (static_cast<int>(field.Items().size()) <= kMostRadioItems) {
            auto* box = new QGroupBox(this);
            auto* buttons = new QButtonGroup(box);
            auto* column = new QVBoxLayout(box);
            for (std::size_t i = 0; i < field.Items().size(); ++i) {
                auto* radio = new QRadioButton(box);
                buttons->addButton(radio, static_cast<int>(i));
                column->addWidget(radio);
            }
            connect(buttons, &QButtonGroup::idClicked, this, [this, id](int index) {
                form_.Choose(id, index);
                AfterEvent();
            });
            widget = box;
        } else {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::currentRowChanged, this, [this, id](int index) {
                if (index < 0) return;
                if (const Field* f = form_.Find(id); f && f->Index() == index) return;
                form_.Choose(id, index);
                AfterEvent();
            });
            widget = list;
        }
        grid->addWidget(widget, row++, 1, 1, 4);
        break;
    }
    }
    widget->setObjectName(QString::fromStdString(id));
    widgets_[id] = widget;
}

void QtFormView::ShowChanged(const std::vector<const Field*>& changed) {
    for (const Field* field : changed)
        ShowField(*field);
}

void QtFormView::ShowField(const Field& field) {
    QWidget* widget = WidgetOf(field.id);
    if (!widget) return;
    const QString caption = FromCp850(field.Caption());
    if (auto it = captions_.find(field.id); it != captions_.end()) {
        static_cast<QLabel*>(it->second)->setText(caption);
        it->second->setVisible(field.Visible());
    }
    if (auto it = units_.find(field.id); it != units_.end()) {
        static_cast<QLabel*>(it->second)->setText(FromCp850(field.Unit()));
        it->second->setVisible(field.Visible());
    }
    switch (field.kind) {
    case Control::Edit:
        if (auto* edit = static_cast<QLineEdit*>(widget); edit->text() != FromCp850(field.Text()))
            edit->setText(FromCp850(field.Text()));
        break;
    case Control::Label:
        static_cast<QLabel*>(widget)->setText(
            FromCp850(field.Text().empty() ? field.Caption() : field.Text()));
        break;
    case Control::Check: {
        auto* box = static_cast<QCheckBox*>(widget);
        box->setText(caption);
        box->setChecked(field.Checked());
        break;
    }
    case Control::Button:
        static_cast<QPushButton*>(widget)->setText(caption);
        break;
    case Control::Grid: {
        auto* table = static_cast<QTableWidget*>(widget);
        filling_ = true;
        table->setColumnCount(static_cast<int>(field.Columns()));
        table->setRowCount(static_cast<int>(field.Rows()));
        for (std::size_t c = 0; c < field.Columns(); ++c)
            for (std::size_t r = 0; r < field.Rows(); ++r)
                table->setItem(static_cast<int>(r), static_cast<int>(c),
                               new QTableWidgetItem(FromCp850(field.Cell(c, r))));
        table->resizeColumnsToContents();
        filling_ = false;
        break;
    }
    case Control::Slider: {
        auto* slider = static_cast<QSlider*>(widget);
        filling_ = true;
        if (field.range)
            slider->setRange(static_cast<int>(field.range->min),
                             static_cast<int>(field.range->max));
        slider->setValue(field.Index());
        filling_ = false;
        break;
    }
    case Control::Choice:
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            const QSignalBlocker quiet(list);
            list->clear();
            for (const std::string& item : field.Items())
                list->addItem(FromCp850(item));
            list->setCurrentRow(field.Index());
        } else {
            const auto radios = widget->findChildren<QRadioButton*>();
            for (int i = 0; i < radios.size(); ++i) {
                const auto index = static_cast<std::size_t>(i);
                radios[i]->setText(index < field.Items().size() ? FromCp850(field.Items()[index])
                                                                : QString());
                radios[i]->setVisible(index < field.Items().size());
                radios[i]->setChecked(i == field.Index());
            }
        }
        break;
    }
    widget->setEnabled(field.Enabled());
    widget->setVisible(field.Visible());
}

// A handler may close the form (its own OK or Cancel buttons).
void QtFormView::AfterEvent() {
    if (form_.Closed() && !closing_) {
        closing_ = true;
        form_.Result() == FormResult::Ok ? QDialog::accept() : QDialog::reject();
    }
}

void QtFormView::accept() {
    if (!form_.Closed()) form_.Ok();
    // A model that refuses OK (a value out of range) stays open.
    if (form_.Closed()) {
        closing_ = true;
        QDialog::accept();
    }
}

void QtFormView::reject() {
    if (!form_.Closed()) form_.Cancel();
    closing_ = true;
    QDialog::reject();
}

} // namespace kora
