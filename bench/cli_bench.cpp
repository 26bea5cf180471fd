// The whole command-line run, process start to exit: "kora FILE /I /NOGUI" on each example.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

int RunKora(const std::string& file, const std::string& folder) {
    std::vector<std::string> words = {KORA_BINARY, file, "/I", "/NOGUI"};
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, KORA_BINARY, &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

void BM_CommandLineReport(benchmark::State& state, std::string file) {
    const fs::path folder = fs::temp_directory_path() / "kora-cli-bench";
    fs::create_directories(folder);
    for (auto _ : state) {
        if (RunKora(file, folder.string()) != 0) state.SkipWithError("kora failed");
    }
}

int RegisterExamples() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(KORA_EXAMPLES_DIR, ec)) {
        if (entry.path().extension() != ".kra") continue;
        benchmark::RegisterBenchmark(
            ("BM_CommandLineReport/" + entry.path().stem().string()).c_str(), BM_CommandLineReport,
            entry.path().string())
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}
const int registered = RegisterExamples();

} // namespace
