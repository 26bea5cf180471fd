#include "shell/qt_table_window.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kora {
namespace {

TableWindowContent Springs() {
    TableWindowContent t;
    t.caption = "KORA";
    t.titles = {"File", "L0"};
    t.rows = {{"a.kra", "2"}, {"b.kra", "10"}, {"c.kra", "9"}};
    return t;
}

QPoint CellCentre(QTableWidget* grid, int row, int column) {
    return grid->visualRect(grid->model()->index(row, column)).center();
}

TEST(QtTableWindow, TitleClickSortsAsTextsAndACellClickChoosesItsRow) {
    TableWindowContent table = Springs();
    QtTableWindow window(table);
    QTableWidget* grid = window.grid();
    std::optional<std::size_t> chosen;
    QTimer::singleShot(0, [&] {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        EXPECT_EQ(grid->item(0, 1)->text(), "10");
        EXPECT_EQ(grid->item(1, 1)->text(), "2");
        EXPECT_EQ(grid->item(0, 0)->text(), "b.kra"); // the row moved whole
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 2, 0));
    });
    chosen = window.Choose();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, 2U);
    EXPECT_EQ(table.rows[*chosen][0], "c.kra"); // the caller reads the row it was shown
}

TEST(QtTableWindow, ShowsItsCodePage850TextsAsUnicode) {
    TableWindowContent table;
    table.caption = "Federn \x81"
                    "bersicht";
    table.titles = {"Gr\x94\xE1"
                    "e"};
    table.rows = {{"Ma\xE1 \xF8"}};
    QtTableWindow window(table);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Federn übersicht"));
    EXPECT_EQ(window.grid()->horizontalHeaderItem(0)->text(), QString::fromUtf8("Größe"));
    EXPECT_EQ(window.grid()->item(0, 0)->text(), QString::fromUtf8("Maß °"));
}

TEST(QtTableWindow, EscapeAndCancelCloseWithoutAChoice) {
    for (bool escape : {true, false}) {
        TableWindowContent table = Springs();
        QtTableWindow window(table);
        QTimer::singleShot(0, [&] {
            if (escape)
                QTest::keyClick(&window, Qt::Key_Escape);
            else
                window.reject();
        });
        EXPECT_EQ(window.Choose(), std::nullopt);
    }
}

} // namespace
} // namespace kora
