// Generates the shipped reference tables (data/tables/*.dbf) from their readable sources
// (data/tables/src/*.csv) with the program's own dBase engine, so that data and program never
// drift apart. A table whose content is unchanged keeps its file, date of last update and all.
//
//   make_tables <source folder> <table folder>          write the tables that changed
//   make_tables --check <source folder> <table folder>  only report tables that differ
#include "calc/session.h"
#include "platform/noninteractive_dialogs.h"
#include "table_sources.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace kora;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A private folder beside the tables, so that the final rename stays on one file system.
fs::path MakeWorkFolder(const fs::path& tables) {
    std::string pattern = (tables / ".make_tables-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

int Usage() {
    std::cerr << "usage: make_tables [--check] <source folder> <table folder>\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool check = !args.empty() && args.front() == "--check";
    if (check) args.erase(args.begin());
    if (args.size() != 2) return Usage();
    const fs::path sources = args[0], tables = args[1];

    std::vector<std::string> errors;
    auto all = tables::ReadAllSources(sources.string(), errors);
    if (!all) {
        for (const std::string& e : errors)
            std::cerr << e << "\n";
        std::cerr << "make_tables: no table written (" << errors.size() << " problems)\n";
        return 1;
    }

    std::error_code ec;
    fs::create_directories(tables, ec);
    // A check writes nothing beside the tables; a write builds them beside their targets so
    // that the final rename stays on one file system.
    fs::path work = MakeWorkFolder(check ? fs::temp_directory_path(ec) : tables);
    if (work.empty()) {
        std::cerr << "make_tables: cannot create a work folder in " << tables << "\n";
        return 1;
    }
    NonInteractiveDialogs dialogs(false, &std::cerr);
    Session session(dialogs);
    session.config.tempFolder = work.string();

    // Every table is written and read back before any shipped file is replaced.
    struct Built {
        fs::path fresh, target;
        bool changed;
    };
    std::vector<Built> built;
    bool ok = true;
    for (const tables::SourceTable& table : *all) {
        std::string file = std::string(table.layout->file) + ".dbf";
        fs::path fresh = work / file, target = tables / file;
        std::string error;
        if (!tables::WriteSourceTable(session, table, fresh.string(), error)) {
            std::cerr << file << ": " << error << "\n";
            ok = false;
            break;
        }
        std::vector<std::string> differences =
            tables::CompareWithSource(session, table, fresh.string());
        for (const std::string& d : differences)
            std::cerr << "read-back " << d << "\n";
        if (!differences.empty()) {
            ok = false;
            break;
        }
        bool changed = !fs::exists(target, ec) ||
                       !tables::SameTableIgnoringDate(ReadFile(fresh), ReadFile(target));
        built.push_back({fresh, target, changed});
    }

    int differing = 0;
    for (const Built& b : built) {
        if (!ok) break;
        if (!b.changed) continue;
        ++differing;
        if (check) {
            std::cerr << b.target.string() << " differs from its source\n";
            continue;
        }
        fs::rename(b.fresh, b.target, ec);
        if (ec) {
            std::cerr << "make_tables: cannot replace " << b.target << ": " << ec.message() << "\n";
            ok = false;
        } else {
            std::cout << "make_tables: wrote " << b.target.string() << "\n";
        }
    }
    fs::remove_all(work, ec);
    if (!ok) return 1;
    if (check && differing > 0) return 1;
    return 0;
}
