// The desktop window on the offscreen platform: from construction to the first paint of the
// example spring, a paint of the production drawing at 1920 x 1080, and a recalculation with
// the redraw of the result graphic and its paint, as after an input command. Paints are taken
// into images, so each is done in full.
#include "platform/scripted_dialogs.h"
#include "shell/gui_application.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(KORA_EXAMPLES_DIR) + "/ventilfeder.kra";

// A start folder with an empty kora.cfg, so no user configuration is read.
const fs::path& StartFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "kora-winbench-XXXXXX").string();
        fs::path made = ::mkdtemp(pattern.data());
        std::ofstream(made / "kora.cfg");
        return made;
    }();
    return folder;
}

void BM_WindowStartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        kora::ScriptedDialogs dialogs;
        kora::MainWindow window(&dialogs);
        window.Start(StartFolder().string(), {kExample});
        window.show();
        QImage first = window.graphics().grab().toImage(); // the first paint, done in full
        benchmark::DoNotOptimize(first.bits());
        state.PauseTiming();
        window.application().modified = false;
        window.hide();
        dialogs.Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowStartToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

struct ShownDrawing {
    kora::ScriptedDialogs dialogs;
    kora::MainWindow window{&dialogs};
    ShownDrawing() {
        window.Start(StartFolder().string(), {kExample});
        window.resize(1920, 1080);
        window.show();
        window.Run(kora::CommandId::mi_viewfertigungszeichnung);
        window.graphics().repaint();
    }
    ~ShownDrawing() { dialogs.Settle(); }
};

void BM_RedrawProductionDrawing1920x1080(benchmark::State& state) {
    ShownDrawing shown;
    QImage screen(1920, 1080, QImage::Format_RGB32);
    shown.window.graphics().resize(1920, 1080);
    for (auto _ : state) {
        shown.window.graphics().render(&screen);
        benchmark::DoNotOptimize(screen.bits());
    }
    state.counters["records"] = static_cast<double>(shown.window.application().display().Count());
}
BENCHMARK(BM_RedrawProductionDrawing1920x1080)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RecalculateAndRedraw(benchmark::State& state) {
    ShownDrawing shown;
    for (auto _ : state) {
        shown.window.application().Calculate();
        kora::RedrawCurrentView(shown.window.application());
        QImage painted = shown.window.graphics().grab().toImage();
        benchmark::DoNotOptimize(painted.bits());
    }
}
BENCHMARK(BM_RecalculateAndRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KORA_DATA", KORA_DATA_DIR, 0);
    kora::GuiApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kora::ReleaseGuiApplication();
    return 0;
}
