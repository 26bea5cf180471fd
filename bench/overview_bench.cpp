// The spring overview of a folder of 1000 spring files (copies of the examples), loaded and
// calculated on all cores, and on one.
#include "persistence/program_folders.h"
#include "ui/spring_overview.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct OverviewFolder {
    OverviewFolder() {
        setenv("KORA_DATA", KORA_DATA_DIR, 0);
        std::string pattern = (fs::temp_directory_path() / "kora-overview-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        config.tempFolder = folder.string();
        kora::CompleteProgramFolders(config);
        std::vector<fs::path> examples;
        for (const auto& entry : fs::directory_iterator(KORA_EXAMPLES_DIR))
            examples.push_back(entry.path());
        for (int i = 0; i < 1000; ++i)
            fs::copy_file(examples[static_cast<std::size_t>(i) % examples.size()],
                          folder / ("spring" + std::to_string(i) + ".kra"));
        files = kora::SpringFilesIn(folder.string());
    }
    ~OverviewFolder() { fs::remove_all(folder); }
    fs::path folder;
    kora::Configuration config;
    std::vector<std::string> files;
};

void BM_SpringOverview1000(benchmark::State& state) {
    static OverviewFolder springs;
    for (auto _ : state) {
        auto rows = kora::SpringOverview(springs.files, springs.config,
                                         static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(rows);
    }
}
// 0 = one worker per core.
BENCHMARK(BM_SpringOverview1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
