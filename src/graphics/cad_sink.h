// Where the CAD layer's entities go: one sink per output kind (DXF file, IGES file, TXT file,
// the display list, the plotter's DXF file). The layer calls it with final sheet coordinates,
// after offsets and block transforms; angles are degrees, arcs run counter-clockwise from
// `start` to `end` and always take (x, y, r, start, end).
#pragma once

#include "base/real.h"

#include <string>
#include <string_view>

namespace kora {

struct CadTextState {
    int font = 0;
    real angle = 0, height = 2.5L, width = 0, ratio = 1;
};

// The drawing state the sinks read (owned by the CAD layer).
struct CadState {
    int layer = 0;
    std::string layerName = "0";
    int layerMode = 0;
    CadTextState text;
    bool haveSheet = false;
    real sheet[4]{0, 0, 1, 1}; // xmin, ymin, xmax, ymax
    bool blockOpen = false;    // between CadBlockBegin and CadBlockEnd
};

enum class CadBlockStart { Open, Failed, TooManyBlocks, NameTooLong };
// What became of an insert: written, a block the output does not know, or one to draw from its
// temporary block file.
enum class CadInsertResult { Written, Unknown, FromFile };

class CadSink {
  public:
    virtual ~CadSink() = default;

    // Whether the output is a file (created before Open, stored after End).
    virtual bool WritesFile() const { return true; }
    virtual void Open() {}
    // Writes the output's tail; the file is stored after it.
    virtual void End() {}
    // After the file was stored (the plotter starts its program); false on a failure.
    virtual bool Delivered() { return true; }

    virtual void Sheet(real xmin, real ymin, real xmax, real ymax) = 0;
    virtual void Tables(int /*variant*/) {}
    virtual void BlocksBegin() {}
    virtual CadBlockStart BlockBegin(std::string_view name) = 0;
    // False when the block could not be stored.
    virtual bool BlockEnd(bool aborted) = 0;
    virtual void PageStart() {}
    // Whether a page carries the logo blocks.
    virtual bool ShowsLogos() const { return false; }
    virtual void SectionEnd() {}

    virtual void Layer(int /*layer*/) {}
    virtual void LineType(int /*type*/) {}
    virtual void TextStyle(const CadTextState& /*style*/) {}
    virtual void Sleep(int /*milliseconds*/) {}

    virtual void Line(real x1, real y1, real x2, real y2) = 0;
    // False when the output takes the projected line instead.
    virtual bool Line3D(real /*x1*/, real /*y1*/, real /*z1*/, real /*x2*/, real /*y2*/,
                        real /*z2*/) {
        return false;
    }
    virtual void Circle(real x, real y, real r) = 0;
    virtual void Arc(real x, real y, real r, real start, real end) = 0;
    virtual void Text(std::string_view text, real x, real y, real height, real ratio,
                      real angle) = 0;
    // Corners in the order of a CAD solid (its outline runs 1, 2, 4, 3).
    virtual void Solid(const real (&x)[4], const real (&y)[4]) = 0;
    virtual CadInsertResult Insert(std::string_view name, real x, real y, real rotation,
                                   real xScale, real yScale) = 0;
    // Polylines with bulges: Vertex is false when the output takes the polyline's segments
    // instead (the layer then sends them as lines and arcs).
    virtual void PolylineBegin(int /*flags*/) {}
    virtual bool Vertex(real /*x*/, real /*y*/, real /*bulgeAngle*/) { return false; }
    virtual void PolylineEnd() {}

    virtual int EntityCount() const { return 0; }
};

} // namespace kora
