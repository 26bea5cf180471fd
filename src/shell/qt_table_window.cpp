#include "shell/qt_table_window.h"

#include "shell/dialog_texts.h"
#include "shell/qt_text.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kora {

QtTableWindow::QtTableWindow(TableWindowContent& table, QWidget* parent)
    : QDialog(parent), table_(table), grid_(new QTableWidget(this)) {
    setWindowTitle(FromCp850(table.caption));
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    menu->addMenu(QString::fromUtf8(dialog_text::kTableFileMenu.data()))
        ->addAction(QString::fromUtf8(dialog_text::kTableExit.data()), this, &QDialog::reject);
    layout->setMenuBar(menu);
    layout->addWidget(grid_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QString::fromUtf8(dialog_text::kCancel.data()));
    // OK closes without a choice, as Cancel does: a row is chosen by clicking it.
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setSectionsClickable(true);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &QtTableWindow::SortBy);
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { CellChosen(row); });
    Fill();
    grid_->setCurrentCell(-1, -1);
    // Opens on the row the caller names (the one chosen last), highlighted but not chosen.
    if (table.selected > 0 && table.selected < table.rows.size()) {
        grid_->selectRow(static_cast<int>(table.selected));
        grid_->scrollToItem(grid_->item(static_cast<int>(table.selected), 0));
    }
    resize(900, 500);
}

void QtTableWindow::Fill() {
    const auto& titles = table_.titles;
    const std::size_t rows = std::min(table_.rows.size(), kTableWindowRows);
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(titles.size()));
    grid_->setRowCount(static_cast<int>(rows));
    QStringList header;
    for (const std::string& title : titles)
        header << FromCp850(title);
    grid_->setHorizontalHeaderLabels(header);
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t c = 0; c < table_.rows[r].size() && c < titles.size(); ++c)
            grid_->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(FromCp850(table_.rows[r][c])));
    const QFontMetrics metrics(grid_->font());
    for (std::size_t c = 0; c < titles.size(); ++c) {
        const int characters = c < table_.widths.size() && table_.widths[c] > 0
                                   ? table_.widths[c]
                                   : static_cast<int>(titles[c].size()) + 2;
        grid_->setColumnWidth(static_cast<int>(c),
                              metrics.horizontalAdvance('0') * std::max(characters, 4) + 8);
    }
}

void QtTableWindow::SortBy(int column) {
    if (column < 0) return;
    SortRowsByColumn(table_, static_cast<std::size_t>(column));
    Fill();
    grid_->setCurrentCell(-1, -1);
}

void QtTableWindow::CellChosen(int row) {
    if (row < 0) return;
    chosen_ = static_cast<std::size_t>(row);
    accept();
}

std::optional<std::size_t> QtTableWindow::Choose() {
    chosen_.reset();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return chosen_;
}

} // namespace kora
