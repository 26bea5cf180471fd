// A drawing of 100 000 entities (lines, circles, arcs, texts and solids in turn) sent through the
// CAD output layer: written as a DXF file and appended to the display list of the screen.
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/display_list.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kEntities = 100000;

void DrawEntities(kora::CadOutput& cad) {
    cad.CadSheet(0, 0, 420, 297);
    cad.CadTables(2);
    cad.CadPageStart();
    for (int i = 0; i < kEntities; ++i) {
        const kora::real x = (i % 400) + 0.125L, y = (i / 400) % 290 + 0.5L;
        switch (i % 5) {
        case 0:
            cad.CadLayer(i % 6);
            cad.CadLine(x, y, x + 10, y + 5);
            break;
        case 1:
            cad.CadCircle(x, y, 2.5L);
            break;
        case 2:
            cad.CadArc(x, y, 3, 15, 160);
            break;
        case 3:
            cad.CadText("F1 = 120.5 N", x, y);
            break;
        default:
            cad.CadSolid(x, y, x + 1, y, x, y + 1, x + 1, y + 1);
        }
    }
    cad.CadSectionEnd();
}

void BM_CadDrawingAsDxf(benchmark::State& state) {
    kora::Session session;
    kora::CadOutput cad(session);
    const auto folder =
        std::filesystem::temp_directory_path() / ("kora-cad-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    cad.SetTempFolder(folder.string());
    const std::string path = (folder / "bench.dxf").string();
    for (auto _ : state) {
        cad.CadBeginFile(kora::OutputKind::Dxf, path);
        DrawEntities(cad);
        if (!cad.CadEnd()) state.SkipWithError("DXF not written");
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CadDrawingAsDxf)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_CadDrawingAsDisplayList(benchmark::State& state) {
    kora::Session session;
    kora::DisplayList display(session);
    kora::CadOutput cad(session, &display);
    const auto folder =
        std::filesystem::temp_directory_path() / ("kora-cad-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    cad.SetTempFolder(folder.string());
    for (auto _ : state) {
        cad.CadBeginFile(kora::OutputKind::Screen, "");
        DrawEntities(cad);
        cad.CadEnd();
        benchmark::DoNotOptimize(display.Count());
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    state.counters["records"] = static_cast<double>(display.Count());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CadDrawingAsDisplayList)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace
