// The CAD layer: every drawing is sent once, as CAD entities, to one output kind — a DXF file,
// an IGES file, the graphics window's display list, a DXF file for the external plotting
// program, or a tab-separated TXT file. CadOutput keeps the drawing state all drawings share
// (layer, line type, text style and alignment, text cursor, offset, scale, polylines with arc
// segments) and hands the entities in sheet millimetres to the kind's sink (cad_sinks.h); the
// block store (cad_blocks.h) keeps the blocks and the screen's block files.
#pragma once

#include "base/real.h"
#include "graphics/cad_blocks.h"
#include "graphics/cad_file.h"
#include "graphics/cad_settings.h"
#include "graphics/cad_sink.h"
#include "graphics/plotter.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kora {

struct Session;
class DisplayList;

// The five entries of the choice list "CAD-Code"; Ask (0) shows the list.
enum class OutputKind : std::int16_t {
    Ask = 0,
    Dxf = 1,
    Iges = 2,
    Screen = 3,
    Plotter = 4,
    Txt = 5
};

struct CadPoint {
    real x = 0, y = 0;
};
// The current 3D view: sheet point of a space point.
using CadProjection = std::function<CadPoint(real x, real y, real z)>;

// Arc through two points with the included angle phi (radians), as `GetArcCenter` computes it:
// the centre on the chord's perpendicular bisector, and the counter-clockwise arc from `start`
// to `end` (degrees) — for phi >= 0 from the angle of the second point to that of the first,
// for phi < 0 from the first to the second. `valid` is false after a message (phi a multiple
// of 360°, or both points equal; then the centre is the chord midpoint).
struct ArcGeometry {
    real xc = 0, yc = 0, r = 0, start = 0, end = 0;
    bool valid = false;
};
ArcGeometry GetArcCenter(Session& session, real phi, real x1, real y1, real x2, real y2);

// The arc of a polyline segment from (x1, y1) to (x2, y2) whose first vertex carries the bulge
// angle (degrees) in the DXF sense: positive runs counter-clockwise from the first point.
ArcGeometry BulgeArc(Session& session, real bulgeAngle, real x1, real y1, real x2, real y2);

// The folder for temporary files: "Ordner für temporäre Dateien" when configured, otherwise
// $TMPDIR (default /tmp) + "/kora-" + $USER; created when missing.
std::string CadTempFolder(const Session& session);

class CadOutput {
  public:
    static constexpr std::size_t kMaxBlockName = 8;
    static constexpr int kMaxInsertDepth = 4;

    // `display` is the graphics window's list that the screen kind appends to.
    explicit CadOutput(Session& session, DisplayList* display = nullptr);
    ~CadOutput();
    CadOutput(const CadOutput&) = delete;
    CadOutput& operator=(const CadOutput&) = delete;

    CadSettings settings; // filled from the configuration

    // --- set-up by the caller ---
    void SetSpringFile(std::string path) { springFile_ = std::move(path); }
    const std::string& SpringFile() const { return springFile_; }
    void SetCommandLineRun(bool on) { commandLineRun_ = on; }
    void SetTempFolder(std::string folder) { blocks_.SetFolder(std::move(folder)); }
    std::string TempFolder() const { return blocks_.Folder(); }
    void SetClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }
    void SetProjection(CadProjection projection) { projection_ = std::move(projection); }
    // The plotter settings form (ui/plotter_form.h). Without it the form is skipped.
    void SetPlotterForm(PlotterForm form) { plotterForm_ = std::move(form); }

    // --- drawing state the drawings set ---
    void SetOffset(real x, real y) {
        offsetX_ = x;
        offsetY_ = y;
    }
    void SetDrawingScale(real scale) { drawingScale_ = scale; }
    real DrawingScale() const { return drawingScale_; }
    void SetLayerMode(int mode) { state_.layerMode = mode; }
    void SetLogos(bool on) { logos_ = on; }

    // --- one output ---
    // Kind Ask shows the choice list; kinds 1, 2 and 5 then ask for the file (or, in a
    // command-line run, take the spring file's name with the kind's extension). False after
    // Cancel or an error (AbortFlag set).
    bool CadBegin(OutputKind kind, std::string_view baseName);
    // The same without any dialog: kinds 1, 2, 5 write `path`; kind 4 writes "vektra.dxf" in the
    // temporary folder; kind 3 needs no path.
    bool CadBeginFile(OutputKind kind, const std::string& path);
    // Completes the output; a file appears under its name only now, and only when all of it was
    // written and the drawing was not aborted. False when it was not written.
    bool CadEnd();

    OutputKind Kind() const { return kind_; }
    OutputKind RequestedKind() const { return requested_; }
    bool IsOpen() const { return open_; }
    const std::string& FileName() const { return path_; }
    const std::string& BaseName() const { return baseName_; }
    int IgesEntityCount() const { return sink_ ? sink_->EntityCount() : 0; }

    void CadSheet(real xmin, real ymin, real xmax, real ymax);
    void CadTables(int variant);
    void CadBlocksBegin();
    void CadBlockBegin(std::string_view name);
    void CadBlockEnd();
    void CadPageStart();
    void CadSectionEnd();

    void CadLayer(int layer);
    int Layer() const { return state_.layer; }
    const std::string& LayerName() const { return state_.layerName; }
    void CadLineType(int type);
    int LineType() const { return lineType_; }

    void CadLine(real x1, real y1, real x2, real y2);
    void CadCircle(real x, real y, real r);
    // Counter-clockwise from `start` to `end` (degrees); nothing when r = 0.
    void CadArc(real x, real y, real r, real start, real end);
    void CadSolid(real x1, real y1, real x2, real y2, real x3, real y3, real x4, real y4);
    void CadTextStyle(int font, real angle, real height, real width);
    void CadTextAlign(int horizontal, int vertical);
    void CadText(std::string_view text, real x, real y);
    real TextHeight() const { return state_.text.height; }
    real TextWidthRatio() const { return state_.text.ratio; }

    void CadCursor(real x, real y);
    void CadTextLine(std::string_view text);
    void CadLineFeed(real lines);
    void CadLineSpacing(real factor);
    void CadValueLine(std::string_view name, std::string_view value);
    CadPoint Cursor() const { return cursor_; }

    void CadMoveTo(real x, real y);
    void CadLineTo(real x, real y);
    void CadRectangle(real x1, real y1, real x2, real y2);
    void CadInsert(std::string_view name, real x, real y, real rotation, real xScale, real yScale);

    void CadPolylineBegin(int flags);
    void CadPolylineVertex(real bulgeAngle, real x, real y);
    void CadPolylineEnd();

    void CadArrow(real x, real y, real direction);
    void CadEllipse(real a, real b, real x, real y);

    void CadLine3D(real x1, real y1, real z1, real x2, real y2, real z2);
    void CadArc3D(real x, real y, real z, real r, real start, real end);
    void CadCircle3D(real x, real y, real z, real r);
    void CadText3D(std::string_view text, real x, real y, real z);
    void CadSolid3D(const real (&x)[4], const real (&y)[4], const real (&z)[4]);
    void CadMoveTo3D(real x, real y, real z);
    void CadLineTo3D(real x, real y, real z);

    void CadSleep(int milliseconds);

    // Screen (and plotter) inserts: draws the temporary block file "$NAME.dx$" through the
    // insertion transform. False after "Invalid temp directory" or a too deep nesting.
    bool ReadBlockFile(std::string_view name, real x, real y, real rotation, real xScale,
                       real yScale);
    // The temporary block file of a block name: "$NAME.dx$", or "$name.dx$" spelled as given
    // when only that one exists (a block file put there from outside, such as the logo).
    std::string BlockFilePath(std::string_view name) const { return blocks_.FilePath(name); }

  private:
    struct Transform {
        real ox = 0, oy = 0, rotation = 0, sx = 1, sy = 1;
        CadPoint Apply(real x, real y) const;
    };

    std::unique_ptr<CadSink> MakeSink(OutputKind kind);
    std::string ScreenFooter() const;
    // Where the entities go now: nowhere when closed or in a failed block.
    CadSink* Target() const { return open_ && !blockDead_ ? sink_.get() : nullptr; }
    void ResetState();
    void CloseAll();
    void FileError(const char* what);
    void RefuseBlock(const std::string& message);
    std::string Now(const char* format) const;

    // Emitters with final coordinates (offsets and transforms applied).
    void EmitLine(real x1, real y1, real x2, real y2);
    void EmitCircle(real x, real y, real r);
    void EmitArc(real x, real y, real r, real start, real end);
    void EmitText(std::string_view text, real x, real y, real height, real ratio, real angle);
    void EmitSolid(const real (&x)[4], const real (&y)[4]);
    void EmitBulgeSegment(real bulgeAngle, real x1, real y1, real x2, real y2);

    void InsertLogos();
    void EmitBlockEntity(const DxfEntity& e, const Transform& t);
    bool ReadBlockFileAt(std::string_view name, const Transform& outer, real x, real y,
                         real rotation, real xScale, real yScale);

    Session& session_;
    DisplayList* display_;
    std::string springFile_;
    bool commandLineRun_ = false;
    std::function<std::time_t()> clock_;
    CadProjection projection_;
    PlotterForm plotterForm_;

    OutputKind kind_ = OutputKind::Screen;
    OutputKind requested_ = OutputKind::Screen;
    bool open_ = false;
    std::string path_, baseName_;
    CadFile file_;
    CadBlockStore blocks_;
    CadState state_;
    std::unique_ptr<CadSink> sink_;
    bool blockDead_ = false; // the open block failed: its entities are dropped

    // Which logo block files are readable, looked up once per output: an animation starts a
    // page for every frame.
    std::optional<std::array<bool, 2>> readableLogos_;

    int lineType_ = 0;
    real offsetX_ = 0, offsetY_ = 0;
    real drawingScale_ = 1;
    bool logos_ = true;
    int alignH_ = 0, alignV_ = 0;
    CadPoint cursor_;
    real lineSpacing_ = 1;
    CadPoint pen_, pen3_;
    real penZ_ = 0;

    bool polylineOpen_ = false;
    int vertexCount_ = 0;
    real lastBulge_ = 0;
    CadPoint lastVertex_;

    int depth_ = 0;
};

} // namespace kora
