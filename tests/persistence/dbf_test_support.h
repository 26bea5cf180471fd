// Helpers of the table tests: a fresh folder per test, a session pointed at it, raw file bytes
// and a small table written through the engine.
#pragma once

#include "calc/session.h"
#include "persistence/dbf_table.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kora::test {

class TableFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kora-dbf-XXXXXX").string();
        root = mkdtemp(pattern.data());
        tables = root + "/tables";
        temp = root + "/temp";
        std::filesystem::create_directories(tables);
        std::filesystem::create_directories(temp);
        session.config.tableFolder = tables;
        session.config.tempFolder = temp;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(tables, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(root, ec);
    }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static unsigned Byte(const std::string& bytes, std::size_t i) {
        return static_cast<unsigned char>(bytes.at(i));
    }
    static unsigned Word32(const std::string& b, std::size_t i) {
        return Byte(b, i) | Byte(b, i + 1) << 8 | Byte(b, i + 2) << 16 | Byte(b, i + 3) << 24;
    }

    // A table of materials: NAME C(20), NUMBER N(9,0), RHO N(8,3), ACTIVE L, SINCE D.
    static std::vector<DbfColumn> MaterialColumns() {
        return {{"NAME", 'C', 20, 0, 0},
                {"NUMBER", 'N', 9, 0, 0},
                {"RHO", 'N', 8, 3, 0},
                {"ACTIVE", 'L', 1, 0, 0},
                {"SINCE", 'D', 8, 0, 0}};
    }
    // Creates name.dbf in the table folder with rows "Row i", i, i/4, odd i true.
    std::string MakeTable(const std::string& name, int rows) {
        std::string path = tables + "/" + name + ".dbf";
        EXPECT_TRUE(CreateTable(session, path, MaterialColumns()));
        DbfTable table(session);
        EXPECT_TRUE(table.OpenTablePath(path));
        for (int i = 1; i <= rows; ++i) {
            table.BlankRecord();
            table.SetColumnText("NAME", "Row " + std::to_string(i));
            table.SetColumnInteger("NUMBER", i);
            table.SetColumnReal("RHO", i / 4.0L);
            table.SetColumnFlag("ACTIVE", i % 2 == 1);
            table.SetColumnText("SINCE", "20240131");
            EXPECT_TRUE(table.AppendRecord());
        }
        EXPECT_TRUE(table.CloseTable());
        return path;
    }

    ScriptedDialogs dialogs;
    Session session{dialogs};
    std::string root, tables, temp;
};

} // namespace kora::test
