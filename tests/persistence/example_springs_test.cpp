// The spring files shipped in data/: each loads, calculates and saves back byte for byte.
#include "calc/session.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "persistence/spring_json.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> ShippedSprings() {
    const fs::path data = KORA_SOURCE_DATA_DIR;
    std::vector<fs::path> files = {data / "null.kra"};
    for (const auto& entry : fs::directory_iterator(data / "examples"))
        if (entry.path().extension() == ".kra") files.push_back(entry.path());
    return files;
}

class ShippedSpring : public ::testing::Test {
  protected:
    void Prepare(Session& session) {
        session.tables = &tables;
        session.config.tableFolder = std::string(KORA_SOURCE_DATA_DIR) + "/tables";
        session.config.tempFolder = ::testing::TempDir();
        session.messagesEnabled = false;
    }
    DbfReferenceTables tables;
};

TEST_F(ShippedSpring, LoadsAndSavesBackByteForByte) {
    const auto files = ShippedSprings();
    ASSERT_GE(files.size(), 7u);
    for (const fs::path& path : files) {
        Session session;
        Prepare(session);
        SpringFileContext context;
        ASSERT_TRUE(LoadSpringFile(session, context, path.string())) << path;
        EXPECT_EQ(SpringFileText(session.config, session.spring), Bytes(path)) << path;
    }
}

TEST_F(ShippedSpring, ReloadedSpringCalculatesToTheSameResults) {
    for (const fs::path& path : ShippedSprings()) {
        Session first;
        Prepare(first);
        SpringFileContext context;
        ASSERT_TRUE(LoadSpringFile(first, context, path.string())) << path;
        const fs::path copy = fs::path(::testing::TempDir()) / path.filename();
        ASSERT_TRUE(SaveSpringFile(first, context, copy.string(), false)) << path;
        Session second;
        Prepare(second);
        ASSERT_TRUE(LoadSpringFile(second, context, copy.string())) << path;
        EXPECT_EQ(SpringToJson(second), SpringToJson(first)) << path;
        fs::remove(copy);
    }
}

TEST_F(ShippedSpring, TableMaterialsGiveTheirStrengthAndOnlyTheFatalExampleStops) {
    for (const fs::path& path : ShippedSprings()) {
        Session session;
        Prepare(session);
        SpringFileContext context;
        ASSERT_TRUE(LoadSpringFile(session, context, path.string())) << path;
        const bool fatalExample = path.stem() == "fatal";
        EXPECT_EQ(session.FatalFlag, fatalExample) << path;
        if (fatalExample) continue;
        EXPECT_EQ(session.spring.materialKind, 0) << path;
        EXPECT_GT(session.spring.Rm, 1000) << path;
        EXPECT_NEAR(session.spring.tauz, 0.56L * session.spring.Rm, 120) << path;
    }
}

} // namespace
} // namespace kora
