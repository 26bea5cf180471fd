// The dBase table window on the screen: the browser's rows in an editable grid (read-only when
// choosing a record), the navigator, the search field, the File and Help menus of the browser,
// OK and "Abbrechen". Every action goes to the browser model; the grid only shows it.
#pragma once

#include "persistence/table_browser.h"

#include <QDialog>

class QLineEdit;
class QTableWidget;

namespace kora {

class QtTableView final : public TableView {
  public:
    explicit QtTableView(QWidget* parent = nullptr) : parent_(parent) {}
    void Show(TableBrowser& browser) override;

  private:
    QWidget* parent_;
};

// The window itself, for tests.
class QtTableBrowserWindow : public QDialog {
  public:
    QtTableBrowserWindow(TableBrowser& browser, QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }
    QLineEdit* search() const { return search_; }

    void accept() override; // OK: the browser posts and closes, or stays on a refused value
    void reject() override; // Cancel, Esc and the close box

  private:
    void Fill();
    void ShowCurrent();
    void Navigate(const std::string& button);
    void CellEdited(int row, int column);

    TableBrowser& browser_;
    QTableWidget* grid_;
    QLineEdit* search_;
    bool filling_ = false;
};

} // namespace kora
