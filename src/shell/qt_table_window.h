// The table window on the screen: a grid under a title row; a click on a title sorts by that
// column, a click on a cell of another row than the current one chooses that row and closes
// the window; OK, Cancel, File / Exit and the close box close it without a choice.
#pragma once

#include "platform/table_window.h"

#include <QDialog>

#include <optional>

class QTableWidget;

namespace kora {

class QtTableWindow : public QDialog {
  public:
    QtTableWindow(TableWindowContent& table, QWidget* parent = nullptr);

    // Shows the window modally: the chosen row (0-based, in the order shown), or nullopt.
    std::optional<std::size_t> Choose();
    QTableWidget* grid() const { return grid_; }

  private:
    void Fill();
    void SortBy(int column);
    void CellChosen(int row);

    TableWindowContent& table_;
    QTableWidget* grid_;
    std::optional<std::size_t> chosen_;
};

} // namespace kora
