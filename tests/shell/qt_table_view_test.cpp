// The dBase table window on a copy of the shipped material table: a typed cell is stored in
// the table when the window is left with OK; choosing mode is read-only and gives the record.
#include "shell/qt_table_view.h"

#include "calc/session.h"
#include "persistence/dbf_table.h"
#include "persistence/program_folders.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace kora {
namespace {

namespace fs = std::filesystem;

struct TableCopy {
    fs::path folder;
    Session session;
    std::string path;
    TableCopy() {
        std::string pattern = (fs::temp_directory_path() / "kora-tableview-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        path = (folder / "korwst.dbf").string();
        fs::copy_file(fs::path(DataDirectory()) / "tables" / "korwst.dbf", path);
        session.config.tempFolder = folder.string();
    }
    ~TableCopy() { fs::remove_all(folder); }
};

// Acts on the table window once it is shown.
void WhenShown(std::function<void(QtTableBrowserWindow&)> act) {
    QTimer::singleShot(0, [act] {
        auto* window = dynamic_cast<QtTableBrowserWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        act(*window);
    });
}

TEST(QtTableView, ATypedCellIsStoredWhenTheWindowIsLeftWithOk) {
    TableCopy t;
    {
        DbfTable table(t.session);
        ASSERT_TRUE(table.OpenTablePath(t.path));
        ASSERT_TRUE(table.GoRecord(1));
        QtTableView view;
        WhenShown([](QtTableBrowserWindow& w) {
            QTableWidget* grid = w.grid();
            ASSERT_GT(grid->rowCount(), 1);
            grid->item(0, 0)->setText("Probewerkstoff");
            w.accept();
        });
        EXPECT_TRUE(BrowseTable(table, 2, &view));
    }
    DbfTable reread(t.session);
    ASSERT_TRUE(reread.OpenTablePath(t.path));
    ASSERT_TRUE(reread.GoRecord(1));
    EXPECT_EQ(reread.ColumnText(1).rfind("Probewerkstoff", 0), 0U) << reread.ColumnText(1);
}

TEST(QtTableView, ChoosingIsReadOnlyAndGivesTheRecordOfTheRowAndCancelNone) {
    TableCopy t;
    DbfTable table(t.session);
    ASSERT_TRUE(table.OpenTablePath(t.path));
    QtTableView view;
    WhenShown([](QtTableBrowserWindow& w) {
        EXPECT_EQ(w.grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QTest::mouseClick(w.findChild<QPushButton*>("Navigator_next"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>("Navigator_next"), Qt::LeftButton);
        EXPECT_EQ(w.grid()->currentRow(), 2);
        w.accept();
    });
    ASSERT_TRUE(BrowseTable(table, 1, &view));
    EXPECT_EQ(table.RecordNumber(), 3);
    WhenShown([](QtTableBrowserWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); });
    EXPECT_FALSE(BrowseTable(table, 1, &view));
    EXPECT_TRUE(t.session.AbortFlag);
}

} // namespace
} // namespace kora
