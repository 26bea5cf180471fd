// The drawings of an example spring through the CAD output layer: the production drawing and
// the Quick sheet written as DXF files, and an animation of 1000 frames on the display list.
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/production_drawing.h"
#include "graphics/spring_animation.h"
#include "graphics/spring_views.h"
#include "persistence/program_folders.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A session holding the calculated example spring, with its own temporary folder.
struct ExampleSpring {
    ExampleSpring() {
        setenv("KORA_DATA", KORA_DATA_DIR, 0);
        std::string pattern = (fs::temp_directory_path() / "kora-bench-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        session.tables = &tables;
        session.config.tempFolder = folder;
        kora::CompleteProgramFolders(session.config);
        kora::SpringFileContext files;
        loaded = kora::LoadSpringFile(session, files,
                                      std::string(KORA_EXAMPLES_DIR) + "/ventilfeder.kra")
                     .has_value() &&
                 !session.FatalFlag;
    }
    ~ExampleSpring() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    kora::DbfReferenceTables tables;
    kora::Session session;
    std::string folder;
    bool loaded = false;
};

void PrepareFileOutput(kora::CadOutput& cad, const ExampleSpring& spring) {
    cad.SetTempFolder(spring.folder);
    cad.SetCommandLineRun(true);
    cad.SetSpringFile(spring.folder + "/ventilfeder.kra");
}

void BM_ProductionDrawingDxf(benchmark::State& state) {
    ExampleSpring spring;
    if (!spring.loaded) return state.SkipWithError("example spring not loaded");
    for (auto _ : state) {
        kora::CadOutput cad(spring.session);
        PrepareFileOutput(cad, spring);
        if (!kora::ProductionDrawing(spring.session, cad, kora::OutputKind::Dxf))
            return state.SkipWithError("drawing not written");
    }
}
BENCHMARK(BM_ProductionDrawingDxf)->Unit(benchmark::kMillisecond);

void BM_QuickSheetDxf(benchmark::State& state) {
    ExampleSpring spring;
    if (!spring.loaded) return state.SkipWithError("example spring not loaded");
    for (auto _ : state) {
        kora::CadOutput cad(spring.session);
        PrepareFileOutput(cad, spring);
        kora::DiagramContext context(spring.session, cad);
        if (!kora::DrawDiagramSheet(context, kora::DiagramSheet::Quick, kora::OutputKind::Dxf))
            return state.SkipWithError("sheet not written");
    }
}
BENCHMARK(BM_QuickSheetDxf)->Unit(benchmark::kMillisecond);

// 500 frames each way between L0 and Lc, without pauses (no window to pause in).
void BM_Animation1000Frames(benchmark::State& state) {
    ExampleSpring spring;
    if (!spring.loaded) return state.SkipWithError("example spring not loaded");
    const kora::SpringRecord& s = spring.session.spring;
    for (auto _ : state) {
        kora::DisplayList display(spring.session);
        kora::CadOutput cad(spring.session, &display);
        cad.SetTempFolder(spring.folder);
        kora::DiagramContext context(spring.session, cad);
        kora::SpringViews views(context, &display);
        views.askAnimation = [&](kora::Session&, bool) {
            kora::AnimationSettings a;
            a.frames = 500;
            a.repetitions = 1;
            a.pause = 0;
            a.largest = s.L0;
            a.smallest = s.Lc;
            return std::optional(a);
        };
        if (!views.SpringAnimation(kora::ViewKind::Cut))
            return state.SkipWithError("animation did not run to its end");
        benchmark::DoNotOptimize(display.Count());
        state.counters["records"] = static_cast<double>(display.Count());
    }
}
BENCHMARK(BM_Animation1000Frames)->Unit(benchmark::kMillisecond);

} // namespace
