#include "shell/qt_table_view.h"

#include "shell/dialog_texts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kora {
namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

void QtTableView::Show(TableBrowser& browser) {
    QtTableBrowserWindow window(browser, parent_);
    window.exec();
    if (!browser.Closed()) browser.Cancel();
}

QtTableBrowserWindow::QtTableBrowserWindow(TableBrowser& browser, QWidget* parent)
    : QDialog(parent), browser_(browser), grid_(new QTableWidget(this)),
      search_(new QLineEdit(this)) {
    setWindowTitle(Q(browser.Caption()));
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu(QString::fromUtf8(dialog_text::kTableFileMenu.data()));
    for (const std::string& command : browser.FileCommands()) {
        QAction* action = file->addAction(Q(command));
        connect(action, &QAction::triggered, this, [this, command] {
            if (command == "Export HTML")
                browser_.ExportHtml();
            else if (command == "Save As Delimited")
                browser_.SaveAsDelimited();
            else if (command == "Append dbf")
                browser_.AppendDbf();
            else if (command == "Append Delimited")
                browser_.AppendDelimited();
            else if (command == "Append")
                browser_.Append();
            else if (command == "Pack")
                browser_.Pack();
            Fill();
        });
        // Printing a table is not part of this window yet.
        if (command == "Print..") action->setEnabled(false);
    }
    QMenu* help = menus->addMenu(QString::fromUtf8(dialog_text::kTableHelpMenu.data()));
    for (const std::string& command : browser.HelpCommands())
        connect(help->addAction(Q(command)), &QAction::triggered, this, [this] {
            QString lines;
            for (const std::string& line : browser_.Structure())
                lines += Q(line) + "\n";
            QMessageBox::information(this, windowTitle(), lines);
        });
    layout->setMenuBar(menus);

    auto* navigator = new QHBoxLayout();
    for (const std::string& button : browser.NavigatorButtons()) {
        auto* push = new QPushButton(Q(button), this);
        push->setObjectName(Q("Navigator_" + button));
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, [this, button] { Navigate(button); });
        navigator->addWidget(push);
    }
    search_->setObjectName("Edit_search");
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        browser_.Search(search_->text().toStdString());
        ShowCurrent();
    });
    navigator->addWidget(search_);
    layout->addLayout(navigator);

    grid_->setEditTriggers(browser.Choosing() ? QAbstractItemView::NoEditTriggers
                                              : QAbstractItemView::AllEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (!filling_ && row >= 0) browser_.MoveTo(row, column + 1);
    });
    connect(grid_, &QTableWidget::cellChanged, this, &QtTableBrowserWindow::CellEdited);
    layout->addWidget(grid_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QString::fromUtf8(dialog_text::kCancel.data()));
    connect(buttons, &QDialogButtonBox::accepted, this, &QtTableBrowserWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QtTableBrowserWindow::reject);
    layout->addWidget(buttons);
    Fill();
    resize(900, 500);
}

void QtTableBrowserWindow::Fill() {
    filling_ = true;
    const int rows = browser_.RowCount(), columns = browser_.ColumnCount();
    grid_->clear();
    grid_->setRowCount(rows);
    grid_->setColumnCount(columns);
    QStringList titles;
    for (int c = 1; c <= columns; ++c)
        titles << Q(browser_.ColumnTitle(c));
    grid_->setHorizontalHeaderLabels(titles);
    for (int r = 0; r < rows; ++r) {
        const bool deleted = browser_.RowDeleted(r);
        for (int c = 1; c <= columns; ++c) {
            auto* item = new QTableWidgetItem(Q(browser_.Cell(r, c)));
            if (deleted) item->setForeground(Qt::gray);
            grid_->setItem(r, c - 1, item);
        }
    }
    grid_->resizeColumnsToContents();
    filling_ = false;
    ShowCurrent();
}

void QtTableBrowserWindow::ShowCurrent() {
    filling_ = true;
    grid_->setCurrentCell(browser_.CurrentRow(), browser_.CurrentColumn() - 1);
    filling_ = false;
}

void QtTableBrowserWindow::Navigate(const std::string& button) {
    if (button == "first")
        browser_.First();
    else if (button == "prior")
        browser_.Prior();
    else if (button == "next")
        browser_.Next();
    else if (button == "last")
        browser_.Last();
    else if (button == "insert")
        browser_.Append();
    else if (button == "delete")
        browser_.SetDeleted(!browser_.RowDeleted(browser_.CurrentRow()));
    else if (button == "post")
        browser_.Post();
    else if (button == "cancel")
        browser_.CancelEdit();
    if (button == "insert" || button == "delete" || button == "post" || button == "cancel" ||
        button == "refresh")
        Fill();
    else
        ShowCurrent();
}

void QtTableBrowserWindow::CellEdited(int row, int column) {
    if (filling_) return;
    browser_.MoveTo(row, column + 1);
    const QTableWidgetItem* item = grid_->item(row, column);
    browser_.EditCell(item ? item->text().toStdString() : std::string());
}

void QtTableBrowserWindow::accept() {
    browser_.Ok();
    if (browser_.Closed()) QDialog::accept();
}

void QtTableBrowserWindow::reject() {
    browser_.Cancel();
    QDialog::reject();
}

} // namespace kora
