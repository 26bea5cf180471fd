#include "graphics/replay.h"

#include "calc/session.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>

namespace kora {
namespace {

// Reads the ';'-separated fields of one record in place.
class Fields {
  public:
    explicit Fields(std::string_view record)
        : p_(record.data()), end_(record.data() + record.size()) {}

    bool Int(int& value) {
        const auto [next, ec] = std::from_chars(p_, end_, value);
        if (ec != std::errc{}) return false;
        p_ = next;
        return Separator();
    }
    bool Real(real& value) {
        double d = 0; // 8 significant digits fit a double; its parser does not allocate
        const auto [next, ec] = std::from_chars(p_, end_, d);
        if (ec != std::errc{}) return false;
        p_ = next;
        value = d;
        return Separator();
    }
    bool Reals(real* values, int count) {
        for (int i = 0; i < count; ++i)
            if (!Real(values[i])) return false;
        return true;
    }
    // Everything after the current field: a text may itself contain ';'.
    std::string_view Rest() const {
        return std::string_view(p_, static_cast<std::size_t>(end_ - p_));
    }

  private:
    bool Separator() {
        if (p_ == end_) return true;
        if (*p_ != ';') return false;
        ++p_;
        return true;
    }
    const char* p_;
    const char* end_;
};

PenStyle PenStyleOf(int style) {
    switch (style) {
    case 1:
        return PenStyle::dotted;
    case 2:
        return PenStyle::dashDot;
    case 3:
        return PenStyle::dashed;
    default:
        return PenStyle::solid;
    }
}

int FontWeight(int textStyle) {
    return textStyle >= 1 && textStyle <= 15 && (textStyle & 1) ? 700 : 100;
}

bool StyleBit(int textStyle, int bit) {
    return textStyle >= 1 && textStyle <= 15 && (textStyle & (1 << bit)) != 0;
}

// One output surface with its own pen, brush and font state, so that a canvas only hears of
// real changes.
class Surface {
  public:
    Surface(Canvas& canvas, const DisplayList& list, const PaperSettings* paper)
        : canvas_(canvas), list_(list), paper_(paper) {}

    bool IsPaper() const { return paper_ != nullptr; }
    Canvas& canvas() { return canvas_; }

    DevicePoint Map(real x, real y) const {
        const WindowMapping& m = list_.mapping;
        return paper_ ? m.Paper(x, y, *paper_, list_.settings) : m.Screen(x, y);
    }
    int MapWidth(real w) const {
        const WindowMapping& m = list_.mapping;
        return paper_ ? m.PaperWidth(w, *paper_, list_.settings) : m.ScreenWidth(w);
    }
    int MapHeight(real h) const {
        const WindowMapping& m = list_.mapping;
        return paper_ ? m.PaperHeight(h, *paper_, list_.settings) : m.ScreenHeight(h);
    }

    // The colour palette index n stands for on this surface.
    Rgb ColourOf(int n) const {
        if (n == 0) return BackgroundColour(list_.settings.backgroundColour);
        const bool colour = paper_ ? list_.settings.printMode == 2 : list_.settings.colourGraphics;
        return colour ? PaletteColour(n) : Rgb{};
    }

    void SetPen(const Pen& pen) {
        if (pen_ == pen && penSet_) return;
        pen_ = pen;
        penSet_ = true;
        canvas_.SetPen(pen_);
    }
    void SetPenColour(Rgb c) {
        Pen p = pen_;
        p.colour = c;
        SetPen(p);
    }
    void SetPenStyle(PenStyle s) {
        Pen p = pen_;
        p.style = s;
        SetPen(p);
    }
    void SetPenWidth(int w) {
        Pen p = pen_;
        p.width = w;
        SetPen(p);
    }
    const Pen& pen() const { return pen_; }

    void SetBrush(const Brush& brush) {
        if (brush_ == brush && brushSet_) return;
        brush_ = brush;
        brushSet_ = true;
        canvas_.SetBrush(brush_);
    }
    void SetBrushColour(Rgb c) { brushColour_ = c; }
    Rgb brushColour() const { return brushColour_; }

    void SetFontColour(Rgb c) { fontColour_ = c; }
    Rgb fontColour() const { return fontColour_; }
    void SetTextColour(Rgb c) {
        if (textColour_ == c && textColourSet_) return;
        textColour_ = c;
        textColourSet_ = true;
        canvas_.SetTextColour(c);
    }
    void SetFont(const Font& f) {
        if (fontSet_ && f.height == font_.height && f.width == font_.width &&
            f.escapement == font_.escapement && f.weight == font_.weight &&
            f.italic == font_.italic && f.underline == font_.underline &&
            f.strikeOut == font_.strikeOut)
            return;
        font_ = f;
        fontSet_ = true;
        canvas_.SetFont(f);
    }

  private:
    Canvas& canvas_;
    const DisplayList& list_;
    const PaperSettings* paper_;
    Pen pen_;
    bool penSet_ = false;
    Brush brush_;
    bool brushSet_ = false;
    Rgb brushColour_;
    Rgb fontColour_;
    Rgb textColour_;
    bool textColourSet_ = false;
    Font font_;
    bool fontSet_ = false;
};

// Text size and angle in force (world units, degrees).
struct TextState {
    real height = 3.5L;
    real width = 3.5L;
    real angle = 0;
};

class Player {
  public:
    Player(DisplayList& list, Canvas& screen, GraphicsHost* host, const PaperTarget* paper)
        : list_(list), host_(host), screen_(screen, list, nullptr),
          paper_(paper && paper->canvas ? *paper->canvas : screen, list,
                 paper && paper->canvas ? &paper->page : nullptr),
          printing_(paper && paper->canvas), border_(printing_ && paper->page.border) {}

    ReplayResult Run() {
        if (host_) host_->SetWaitCursor();
        list_.ForgetStyleCache();
        ForEachSurface([](Surface& s) { s.SetPenWidth(1); });
        ApplyColour(1);
        if (border_) DrawPaperBorder();
        ReplayResult result;
        const std::size_t n = list_.Count();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && i % kRecordsPerMessageService == 0 && host_ && !host_->ServiceMessages()) {
                result.completed = false;
                break;
            }
            ++result.played;
            if (!Play(list_[i])) {
                result.completed = false;
                break;
            }
        }
        if (host_) host_->SetOldCursor();
        return result;
    }

  private:
    template <class F> void ForEachSurface(F f) {
        f(screen_);
        if (printing_) f(paper_);
    }

    void DrawPaperBorder() {
        const WorldRect& w = list_.mapping.world;
        const Rgb saved = paper_.pen().colour;
        paper_.SetPenColour(list_.settings.colourGraphics ? PaletteColour(11) : Rgb{});
        Canvas& c = paper_.canvas();
        c.MoveTo(paper_.Map(w.x0, w.y0));
        c.LineTo(paper_.Map(w.x1, w.y0));
        c.LineTo(paper_.Map(w.x1, w.y1));
        c.LineTo(paper_.Map(w.x0, w.y1));
        c.LineTo(paper_.Map(w.x0, w.y0));
        paper_.SetPenColour(saved);
    }

    void ApplyColour(int n) {
        colourIndex_ = n;
        ForEachSurface([n](Surface& s) {
            const Rgb c = s.ColourOf(n);
            s.SetPenColour(c);
            s.SetBrushColour(c);
            s.SetFontColour(c);
        });
    }

    // False ends the replay.
    bool Play(std::string_view record) {
        Fields f(record);
        int code = 0;
        if (!f.Int(code)) return true; // not a record of ours: skipped
        switch (code) {
        case kRecordCircle:
            return Circle(f);
        case kRecordLine:
            return Line(f);
        case kRecordArc:
            return ArcRecord(f);
        case kRecordText:
            return Text(f);
        case kRecordSolid:
            return SolidRecord(f);
        case kRecordColour:
            return Colour(f);
        case kRecordTextStyle:
            return TextStyle(f);
        case kRecordWindow:
            return Window(f);
        case kRecordLineStyle:
            return LineStyle(f);
        case kRecordLineWidth:
            return LineWidth(f);
        case kRecordSleep:
            return Sleep(f);
        default:
            return true;
        }
    }

    bool Circle(Fields& f) {
        real v[3];
        if (!f.Reals(v, 3)) return true;
        const real x = v[0], y = v[1], r = v[2];
        ForEachSurface([&](Surface& s) {
            s.SetBrush(Brush{s.brushColour(), false});
            s.canvas().Ellipse(s.Map(x - r, y + r), s.Map(x + r, y - r));
        });
        return true;
    }

    bool Line(Fields& f) {
        real v[4];
        if (!f.Reals(v, 4)) return true;
        ForEachSurface([&](Surface& s) {
            s.canvas().MoveTo(s.Map(v[0], v[1]));
            s.canvas().LineTo(s.Map(v[2], v[3]));
        });
        return true;
    }

    bool ArcRecord(Fields& f) {
        real v[8];
        if (!f.Reals(v, 8)) return true;
        ForEachSurface([&](Surface& s) {
            s.canvas().Arc(s.Map(v[0], v[1]), s.Map(v[2], v[3]), s.Map(v[4], v[5]),
                           s.Map(v[6], v[7]));
        });
        return true;
    }

    bool Text(Fields& f) {
        real x = 0, y = 0;
        if (!f.Real(x) || !f.Real(y)) return true;
        const std::string_view text = f.Rest();
        const GraphicsSettings& g = list_.settings;
        const real a = text_.angle * std::numbers::pi_v<real> / 180;
        // The font cell's top-left corner, so that (x, y) is the lower left of the text.
        const real cx = x - std::sin(a) * 0.7L * text_.height;
        const real cy = y + std::cos(a) * 0.75L * text_.height;
        ForEachSurface([&](Surface& s) {
            Rgb colour = s.fontColour();
            if (colourIndex_ == 0)
                colour = BackgroundColour(g.backgroundColour);
            else if (!g.colourGraphics || (s.IsPaper() && g.printMode != 2))
                colour = Rgb{};
            else if (colourIndex_ >= 1 && colourIndex_ <= 15)
                colour = PaletteColour(colourIndex_);
            s.SetTextColour(colour);
            Font font;
            font.typeface = g.typeface;
            font.height = s.MapHeight(text_.height);
            font.width = s.MapWidth(text_.width);
            font.escapement = RoundToInt(text_.angle * 10);
            font.weight = FontWeight(g.textStyle);
            font.italic = StyleBit(g.textStyle, 1);
            font.underline = StyleBit(g.textStyle, 2);
            font.strikeOut = StyleBit(g.textStyle, 3);
            s.SetFont(font);
            s.canvas().Text(s.Map(cx, cy), text);
        });
        return true;
    }

    bool SolidRecord(Fields& f) {
        real v[8];
        if (!f.Reals(v, 8)) return true;
        ForEachSurface([&](Surface& s) {
            const Rgb brush = list_.settings.colourGraphics ? s.brushColour() : Rgb{};
            s.SetBrush(Brush{brush, true});
            const DevicePoint points[4] = {s.Map(v[0], v[1]), s.Map(v[2], v[3]), s.Map(v[4], v[5]),
                                           s.Map(v[6], v[7])};
            s.canvas().Polygon(points, 4);
        });
        return true;
    }

    bool Colour(Fields& f) {
        int n = 0;
        if (!f.Int(n) || n < 0 || n > 16) return true;
        if (n == 0 && list_.singleStep && host_ && !host_->AnimationStep())
            list_.singleStep = false;
        ApplyColour(n);
        return true;
    }

    bool TextStyle(Fields& f) {
        real height = 0, width = 0, angle = 0;
        int font = 0; // carried, not used
        if (!f.Real(height) || !f.Real(width) || !f.Int(font) || !f.Real(angle)) return true;
        text_.height = height * 1.6L * list_.settings.textHeightFactor;
        text_.width = width * 1.1L * list_.settings.textWidthFactor;
        text_.angle = angle;
        return true;
    }

    bool Window(Fields& f) {
        int d[4];
        real w[4];
        for (int& v : d)
            if (!f.Int(v)) return true;
        if (!f.Reals(w, 4)) return true;
        const WorldRect world{w[0], w[1], w[2], w[3]};
        if (IsDegenerate(world)) {
            list_.session().AbortFlag = true;
            return false;
        }
        WindowMapping& m = list_.mapping;
        m.device = DeviceRect{d[0], d[1], d[2], d[3]};
        m.world = world;
        m.SetScale(m.zoom, list_.settings); // the zoom stays in force across windows
        return true;
    }

    bool LineStyle(Fields& f) {
        int style = 0;
        if (!f.Int(style)) return true;
        ForEachSurface([style](Surface& s) { s.SetPenStyle(PenStyleOf(style)); });
        return true;
    }

    bool LineWidth(Fields& f) {
        int width = 1;
        if (!f.Int(width)) return true;
        ForEachSurface([width](Surface& s) { s.SetPenWidth(s.IsPaper() ? 4 * width : width); });
        return true;
    }

    bool Sleep(Fields& f) {
        int ms = 0;
        if (!f.Int(ms)) return true;
        return !host_ || host_->Sleep(ms < 0 ? 0 : ms);
    }

    DisplayList& list_;
    GraphicsHost* host_;
    Surface screen_;
    Surface paper_;
    bool printing_;
    bool border_;
    int colourIndex_ = 1;
    TextState text_;
};

} // namespace

ReplayResult Replay(DisplayList& list, Canvas& screen, GraphicsHost* host,
                    const PaperTarget* paper) {
    return Player(list, screen, host, paper).Run();
}

} // namespace kora
