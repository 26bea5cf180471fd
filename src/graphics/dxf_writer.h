// The ASCII DXF file as the program writes it: group-code/value line pairs ending in CR LF,
// the HEADER, TABLES, BLOCKS and ENTITIES sections and the entities, byte for byte. Used by the
// DXF and plotter outputs and for the temporary block files of the screen output.
#pragma once

#include "base/real.h"
#include "graphics/cad_file.h"
#include "graphics/cad_settings.h"

#include <string_view>

namespace kora {

class DxfWriter {
  public:
    // `decimals`: "Decimals DXF,TXT"; `dezimalstellen`: the decimals adjustment of the short
    // value format used for the text groups 41, 50 and 51.
    DxfWriter(CadFile& out, int decimals, int dezimalstellen = 3)
        : out_(&out), decimals_(decimals), dezimalstellen_(dezimalstellen) {}

    // One group: the code right-aligned in three characters, then the value.
    void Pair(int code, std::string_view value);
    void RealPair(int code, real value);
    void IntPair(int code, long value);

    void Header(real xmin, real ymin, real xmax, real ymax);
    void Tables(int variant, const CadSettings& settings);
    void SectionBegin(std::string_view name); // "BLOCKS" or "ENTITIES"
    void SectionEnd();
    void BlockBegin(std::string_view layer, std::string_view name);
    void BlockEnd();
    void Eof();

    void Line(std::string_view layer, real x1, real y1, real x2, real y2);
    void Line3D(std::string_view layer, real x1, real y1, real z1, real x2, real y2, real z2);
    void Circle(std::string_view layer, real x, real y, real r);
    // Written as a CIRCLE when the angles are equal or 0 and 360 (either order), within 1e-5.
    void Arc(std::string_view layer, real x, real y, real r, real start, real end);
    // `text` is written as given (already converted by "CAD Text Mode").
    void Text(std::string_view layer, std::string_view text, real x, real y, real height,
              real widthFactor, real angle, real oblique);
    void Solid(std::string_view layer, const real (&x)[4], const real (&y)[4]);
    void Insert(std::string_view layer, std::string_view name, real x, real y, real rotation,
                real xScale, real yScale);
    void PolylineBegin(std::string_view layer, int flags);
    void Vertex(std::string_view layer, real x, real y, real bulge);
    void SeqEnd(std::string_view layer);

    static bool IsFullCircle(real start, real end);

  private:
    void Entity(std::string_view name, std::string_view layer);
    void Literal(std::string_view code, std::string_view value); // code text as given

    CadFile* out_;
    int decimals_;
    int dezimalstellen_;
};

} // namespace kora
