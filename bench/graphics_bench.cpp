// Replay speed of the display list: a paint of 500 000 records (a hatched production drawing or
// an animation is of this size) onto a canvas that draws nothing.
#include "calc/session.h"
#include "graphics/display_list.h"
#include "graphics/replay.h"

#include <benchmark/benchmark.h>

namespace kora {
namespace {

class NullCanvas : public Canvas {
  public:
    void MoveTo(DevicePoint p) override { sink_ += p.x; }
    void LineTo(DevicePoint p) override { sink_ += p.y; }
    void Ellipse(DevicePoint a, DevicePoint) override { sink_ += a.x; }
    void Arc(DevicePoint a, DevicePoint, DevicePoint, DevicePoint) override { sink_ += a.y; }
    void Polygon(const DevicePoint* points, int) override { sink_ += points[0].x; }
    void SetPen(const Pen& pen) override { sink_ += pen.width; }
    void SetBrush(const Brush& brush) override { sink_ += brush.solid; }
    void SetFont(const Font& font) override { sink_ += font.height; }
    void SetTextColour(Rgb c) override { sink_ += c.r; }
    void Text(DevicePoint p, std::string_view text) override { sink_ += p.x + text.size(); }
    long sink() const { return sink_; }

  private:
    long sink_ = 0;
};

// Mostly hatch lines, with the other record kinds in between.
void FillDrawing(DisplayList& list, int records) {
    list.Header(0, 0, 420, 297);
    int i = static_cast<int>(list.Count());
    for (int k = 0; i < records; ++k) {
        const real x = (k * 7) % 400, y = (k * 13) % 280;
        switch (k % 10) {
        case 0:
            list.circle(x, y, 3.5L);
            break;
        case 1:
            list.Arc(x, y, 4, 10, 200);
            break;
        case 2:
            list.Solid(x, y, x + 1, y, x + 1, y + 1, x, y + 1);
            break;
        case 3:
            list.SetColor(1 + k % 15);
            break;
        case 4:
            list.OutTextXY("L0 = 55.000 mm", x, y);
            break;
        default:
            list.line(x, y, x + 5.25L, y + 5.25L);
            break;
        }
        i = static_cast<int>(list.Count());
    }
}

void BM_Replay500k(benchmark::State& state) {
    Session session;
    DisplayList list(session);
    FillDrawing(list, 500000);
    NullCanvas canvas;
    for (auto _ : state) {
        const ReplayResult r = Replay(list, canvas);
        benchmark::DoNotOptimize(r);
    }
    benchmark::DoNotOptimize(canvas.sink());
    state.SetItemsProcessed(state.iterations() * static_cast<long>(list.Count()));
}
BENCHMARK(BM_Replay500k)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
} // namespace kora
