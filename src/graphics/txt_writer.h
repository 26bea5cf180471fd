// The TXT entity file: one tab-separated record per line ("LINE", x1, y1, x2, y2 …), numbers
// with the configured decimals and, with the decimal-comma setting, a comma; the last line is
// "EOF". Layers and line types are not written.
#pragma once

#include "base/real.h"
#include "graphics/cad_file.h"

#include <string_view>

namespace kora {

class TxtWriter {
  public:
    TxtWriter(CadFile& out, int decimals, bool comma)
        : out_(&out), decimals_(decimals), comma_(comma) {}

    void MinMax(real xmin, real ymin, real xmax, real ymax);
    void SectionBlocks();
    void Block(std::string_view name);
    void EndOfBlock();
    void SectionEntities();
    void Line(real x1, real y1, real x2, real y2);
    void Line3D(real x1, real y1, real z1, real x2, real y2, real z2);
    void Circle(real x, real y, real r);
    // A full circle (equal angles, or 0 and 360 within 1e-5) is written as "CIRCLE".
    void Arc(real x, real y, real r, real start, real end);
    void Text(std::string_view text, real x, real y); // text already converted
    void Solid(const real (&x)[4], const real (&y)[4]);
    void Insert(std::string_view name, real x, real y, real rotation, real xScale, real yScale);
    void Eof();

  private:
    void Record(std::string_view name, std::initializer_list<real> numbers);
    void End();

    CadFile* out_;
    int decimals_;
    bool comma_;
};

} // namespace kora
