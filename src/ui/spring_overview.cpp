#include "ui/spring_overview.h"

#include "base/numformat.h"
#include "base/text.h"
#include "calc/session.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "platform/noninteractive_dialogs.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

namespace kora {
namespace {

namespace fs = std::filesystem;

constexpr real kTenMillion = 1e7L;
constexpr std::string_view kAboveTen = "> 10 ";
constexpr std::string_view kInfinite = "infinite";

// "y/m/d" of the file's last change, local time.
std::string FileDate(std::string_view path) {
    std::error_code ec;
    const auto written = fs::last_write_time(fs::path(path), ec);
    if (ec) return {};
    const auto system = std::chrono::file_clock::to_sys(written);
    const std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&t, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

std::string Ratio(const Configuration& c, real a, real b) {
    return b > 0 ? ShortFormat(c, a / b) : std::string();
}

SpringOverviewRow WorkFile(const std::string& path, const Configuration& config) {
    NonInteractiveDialogs silent(true, nullptr);
    DbfReferenceTables tables;
    Session session(silent);
    session.tables = &tables;
    session.config = config;
    session.messagesEnabled = false;
    SpringFileContext files;
    SpringOverviewRow row;
    row.path = path;
    row.calculated = LoadSpringFile(session, files, path).has_value();
    if (row.calculated) {
        row.cells = SpringOverviewCells(session, path);
    } else {
        row.cells.assign(SpringOverviewTitles().size(), std::string());
        row.cells[0] = fs::path(path).filename().string();
        row.cells[1] = FileDate(path);
    }
    return row;
}

} // namespace

const std::vector<std::string_view>& SpringOverviewTitles() {
    static const std::vector<std::string_view> titles = {
        "File", "Date  y/m/d", "No.",   "d",       "Dm",       "Segm.",      "n",
        "nt",   "L0",          "L1",    "Lx",      "L2",       "Ln",         "Lc",
        "F1",   "Fx",          "F2",    "Fn",      "Fc",       "Material",   "G",
        "tauz", "tauk1",       "tauk2", "tauc",    "tauh",     "tauhz",      "s1",
        "sx",   "s2",          "sn",    "sc",      "sh",       "R0",         "R1",
        "Rx",   "R2",          "Rc",    "tauz/k2", "tauhz/kh", "cycl. Mio.", "t life h"};
    return titles;
}

std::vector<std::string> SpringOverviewCells(const Session& session, std::string_view path) {
    const SpringRecord& s = session.spring;
    const Configuration& c = session.config;
    auto f = [&](real v) { return ShortFormat(c, v); };
    const bool endless = s.N >= kTenMillion;
    const real hours = s.f > 0 ? s.N / (s.f * 3600) : 0;
    return {fs::path(path).filename().string(),
            FileDate(path),
            std::string(TrimmedSpaces(s.drawingNumber)),
            f(s.d),
            f(s.Dm),
            std::to_string(s.nsec),
            f(s.n),
            f(s.nt),
            f(s.L0),
            f(s.L1),
            f(s.Lx),
            f(s.L2),
            f(s.Ln),
            f(s.Lc),
            f(s.F1),
            f(s.Fx),
            f(s.F2),
            f(s.Fn),
            f(s.Fc),
            std::string(TrimmedSpaces(s.materialName)),
            f(s.G),
            f(s.tauz),
            f(s.tauk1),
            f(s.tauk2),
            f(s.tauc),
            f(s.taukh),
            f(s.tauhz),
            f(s.s1),
            f(s.sx),
            f(s.s2),
            f(s.sn),
            f(s.sc),
            f(s.sh),
            f(s.R0),
            f(s.R1),
            f(s.Rx),
            f(s.R2),
            f(s.Rc),
            Ratio(c, s.tauz, s.tauk2),
            Ratio(c, s.tauhz, s.taukh),
            endless ? std::string(kAboveTen) : f(s.N / 1e6L),
            endless ? std::string(kInfinite) : (s.f > 0 ? f(hours) : std::string())};
}

std::vector<std::string> SpringFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (UpperAscii(entry.path().extension().string()) == ".KRA")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<SpringOverviewRow> SpringOverview(const std::vector<std::string>& files,
                                              const Configuration& config, unsigned threads,
                                              const std::function<void(std::size_t)>& progress,
                                              const std::atomic<bool>* stop) {
    std::vector<SpringOverviewRow> rows(files.size());
    if (threads == 0) threads = std::max(1U, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, std::max<std::size_t>(1, files.size()));
    std::atomic<std::size_t> next{0}, done{0};
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            if (stop && *stop) return;
            rows[i] = WorkFile(files[i], config);
            const std::size_t count = ++done;
            if (progress) progress(count);
        }
    };
    std::vector<std::jthread> workers;
    for (unsigned t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::jthread& worker : workers)
        worker.join();
    return rows;
}

} // namespace kora
