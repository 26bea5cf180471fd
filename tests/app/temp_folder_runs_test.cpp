// Runs of the program itself around the folder for temporary files: many runs of one user at
// once with tables the user may not write (each run copies them and builds its indexes), and
// runs whose temporary folder cannot be used.
#include "base/configuration.h"
#include "persistence/configuration_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr int kParallelRuns = 48;
constexpr const char* kUser = "tester";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Output {
    int exitCode = -1;
    std::string out, err;
    bool operator==(const Output&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Output& o) {
    return os << "exit " << o.exitCode << ", stderr \"" << o.err << "\", " << o.out.size()
              << " bytes on stdout";
}

using Environment = std::map<std::string, std::string>;

// One start of the program: its folder, arguments and the environment it adds to ours.
class Start {
  public:
    Start(const fs::path& folder, std::vector<std::string> args, const Environment& env,
          const fs::path& outputs)
        : out_(outputs.string() + ".out"), err_(outputs.string() + ".err") {
        args.insert(args.begin(), KORA_BINARY);
        args_ = std::move(args);
        Environment all;
        for (char** e = environ; *e; ++e) {
            std::string entry(*e);
            auto eq = entry.find('=');
            if (eq != std::string::npos) all[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        for (const auto& [name, value] : env)
            all[name] = value;
        for (const auto& [name, value] : all)
            env_.push_back(name + "=" + value);
        folder_ = folder.string();
        // Everything the child needs is ready before the fork.
        std::vector<char*> argv, envp;
        for (auto& a : args_)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env_)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || ::chdir(folder_.c_str()) != 0) _exit(126);
            ::dup2(out, 1);
            ::dup2(err, 2);
            ::execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
    }

    Output Wait() {
        Output result;
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
        result.out = ReadAll(out_);
        result.err = ReadAll(err_);
        fs::remove(out_);
        fs::remove(err_);
        return result;
    }

  private:
    std::string out_, err_, folder_;
    std::vector<std::string> args_, env_;
    pid_t pid_ = -1;
};

void SetWritable(const fs::path& root, bool writable) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        bool folder = it->is_directory(ec);
        fs::perms perms = folder ? fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec
                                 : fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read | fs::perms::others_read;
        if (!writable) perms &= ~(fs::perms::owner_write | fs::perms::group_write);
        fs::permissions(it->path(), perms, ec);
    }
}

// Names in a folder, for comparing what a run left behind.
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TempFolderRuns : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "kora-runs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        data = root / "data";
        fs::copy(KORA_SOURCE_DATA_DIR, data, fs::copy_options::recursive);
        SetWritable(data, false); // the installed case: tables the user may not write
        fs::permissions(data, fs::perms::owner_write, fs::perm_options::remove);
        springs = root / "springs";
        fs::create_directories(springs);
        for (const auto& entry : fs::directory_iterator(data / "examples"))
            if (entry.path().extension() == ".kra") {
                fs::copy_file(entry.path(), springs / entry.path().filename());
                examples.push_back((springs / entry.path().filename()).string());
            }
        std::sort(examples.begin(), examples.end());
        fs::create_directories(root / "tmp");
        fs::create_directories(root / "work");
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(data, fs::perms::owner_all, fs::perm_options::add, ec);
        SetWritable(data, true);
        fs::remove_all(root, ec);
    }

    // The environment of one user with the read-only tables and a shared temporary folder.
    Environment UserEnvironment() const {
        return {{"KORA_DATA", data.string()},
                {"TMPDIR", (root / "tmp").string()},
                {"USER", kUser},
                {"HOME", (root / "home").string()},
                {"XDG_CONFIG_HOME", (root / "config").string()}};
    }

    Output RunAlone(const fs::path& folder, const std::vector<std::string>& args,
                    const Environment& env) {
        return Start(folder, args, env, root / "alone").Wait();
    }

    fs::path root, data, springs;
    std::vector<std::string> examples;
};

TEST_F(TempFolderRuns, ParallelRunsOfOneUserGiveTheResultsOfALoneRun) {
    ASSERT_FALSE(examples.empty());
    const Environment env = UserEnvironment();
    const fs::path work = root / "work";
    std::vector<Output> alone;
    for (const std::string& spring : examples) {
        alone.push_back(RunAlone(work, {spring, "--json"}, env));
        EXPECT_EQ(alone.back().exitCode, 0) << spring;
        EXPECT_EQ(alone.back().err, "") << spring;
        EXPECT_NE(alone.back().out.find("\"SpringRecord\""), std::string::npos) << spring;
        // Copies of read-only tables compute what the tables themselves give.
        Environment writable = env;
        writable["KORA_DATA"] = KORA_SOURCE_DATA_DIR;
        EXPECT_EQ(RunAlone(work, {spring, "--json"}, writable), alone.back()) << spring;
    }

    std::vector<std::unique_ptr<Start>> runs;
    for (int i = 0; i < kParallelRuns; ++i) {
        const std::string& spring = examples[static_cast<std::size_t>(i) % examples.size()];
        runs.push_back(std::make_unique<Start>(work, std::vector<std::string>{spring, "--json"},
                                               env, root / ("run" + std::to_string(i))));
    }
    for (int i = 0; i < kParallelRuns; ++i) {
        const std::size_t which = static_cast<std::size_t>(i) % examples.size();
        EXPECT_EQ(runs[static_cast<std::size_t>(i)]->Wait(), alone[which])
            << "run " << i << " of " << examples[which];
    }

    // Each run removed its own folder; nothing landed in the working or the table folder.
    const fs::path userTemp = root / "tmp" / (std::string("kora-") + kUser);
    EXPECT_TRUE(fs::is_directory(userTemp));
    EXPECT_EQ(Listing(userTemp), std::vector<std::string>{});
    EXPECT_EQ(Listing(work), std::vector<std::string>{});
    EXPECT_EQ(Listing(data / "tables"), Listing(fs::path(KORA_SOURCE_DATA_DIR) / "tables"));
}

// The folder the start-up notice says the run used instead.
std::string FolderUsedInstead(const std::string& err) {
    const std::string marker = " - verwendet wird ";
    auto at = err.find(marker);
    if (at == std::string::npos) return {};
    auto end = err.find('\n', at);
    return err.substr(at + marker.size(), end - at - marker.size());
}

TEST_F(TempFolderRuns, AnUnusableTemporaryFolderGivesWayToAPrivateOneAndTheReportCounts) {
    const fs::path file = root / "a-file";
    std::ofstream(file) << "not a folder\n";
    struct Case {
        const char* what;
        std::string tmpdir;     // "" leaves $TMPDIR as the user's
        std::string configured; // "Ordner für temporäre Dateien", "" for none
        std::string refused;    // as the notice names it
    };
    const std::string userFolder = std::string("/kora-") + kUser;
    const Case cases[] = {
        {"TMPDIR is a file", file.string(), "", file.string() + userFolder},
        {"TMPDIR is relative", "relative", "", "relative" + userFolder},
        {"configured folder is a file", "", file.string(), file.string()},
        {"configured folder is relative", "", "relative", "relative"},
    };
    const Environment usual = UserEnvironment();
    const std::string spring = (springs / "ventilfeder.kra").string(); // a spring with a report
    const std::string json = RunAlone(root / "work", {spring, "--json"}, usual).out;
    for (const Case& c : cases) {
        const fs::path work = root / "work" / c.what;
        fs::create_directories(work);
        fs::copy_file(spring, work / "v.kra");
        Environment env = usual;
        if (!c.tmpdir.empty()) env["TMPDIR"] = c.tmpdir;
        const fs::path config = root / "config" / c.what;
        env["XDG_CONFIG_HOME"] = config.string();
        if (!c.configured.empty()) {
            Configuration configuration;
            configuration.tempFolder = c.configured;
            fs::create_directories(config / "kora");
            std::ofstream(config / "kora" / "kora.cfg", std::ios::binary)
                << ConfigurationText(configuration);
        }

        Output report = RunAlone(work, {"v.kra", "/I"}, env);
        EXPECT_EQ(report.exitCode, 0) << c.what << ": " << report;
        EXPECT_TRUE(fs::exists(work / "v.TXT")) << c.what;
        EXPECT_EQ(report.err.find("nicht geschrieben"), std::string::npos) << c.what;
        const std::string notice =
            "Meldung: Ordner für temporäre Dateien nicht benutzbar: " + c.refused +
            " - verwendet wird /tmp/kora-run-";
        EXPECT_EQ(report.err.rfind(notice, 0), 0u) << c.what << ": " << report.err;
        const std::string instead = FolderUsedInstead(report.err);
        EXPECT_FALSE(instead.empty()) << c.what;
        EXPECT_FALSE(fs::exists(instead)) << c.what << ": the private folder outlived the run";
        // Only the spring and its report: no table copies, indexes or temporary folders here.
        EXPECT_EQ(Listing(work), (std::vector<std::string>{"v.TXT", "v.kra"})) << c.what;

        Output quiet = RunAlone(work, {"v.kra", "--json", "/NOGUI"}, env);
        EXPECT_EQ(quiet.exitCode, 0) << c.what;
        EXPECT_EQ(quiet.err, "") << c.what;
        EXPECT_EQ(quiet.out, json) << c.what;
    }
}

} // namespace
} // namespace kora
