#include "graphics/dxf_writer.h"

#include "base/text.h"
#include "graphics/cad_format.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kora {
namespace {

constexpr std::string_view kEol = "\r\n";

// The three line types of the LTYPE table: name, description, then its literal groups.
struct LineTypeRow {
    const char* name;
    const char* description;
    const char* groups[6][2];
};
constexpr LineTypeRow kLineTypes[] = {
    {"CONTINUOUS", "Ausgezogene Linie", {{" 73", "0"}, {" 40", "0.0"}}},
    {"DASHDOT",
     "--. --. --.-",
     {{" 73", "4"},
      {" 40", "1.0"},
      {" 49", "0.5"},
      {" 49", "-0.25"},
      {" 49", "0.0"},
      {" 49", "-0.25"}}},
    {"DASHED",
     "- - - - - - ",
     {{" 73", "2"}, {" 40", "0.375"}, {" 49", "0.25"}, {" 49", "-0.125"}}},
};
constexpr const char* kLtypeCounts[3] = {"6", "17", "23"};

// Line types of the standard layers 0 to 5.
constexpr const char* kStandardLayerLineType[6] = {"CONTINUOUS", "DASHDOT",    "DASHED",
                                                   "CONTINUOUS", "CONTINUOUS", "CONTINUOUS"};

} // namespace

void DxfWriter::Literal(std::string_view code, std::string_view value) {
    std::string& b = out_->Buffer();
    b.append(code);
    b.append(kEol);
    b.append(value);
    b.append(kEol);
    out_->Written();
}

void DxfWriter::Pair(int code, std::string_view value) {
    char text[16];
    int n = std::snprintf(text, sizeof text, "%3d", code);
    Literal(std::string_view(text, n), value);
}

void DxfWriter::RealPair(int code, real value) {
    char text[16];
    int n = std::snprintf(text, sizeof text, "%3d", code);
    std::string& b = out_->Buffer();
    b.append(text, n);
    b.append(kEol);
    AppendFixedNumber(b, value, decimals_);
    b.append(kEol);
    out_->Written();
}

void DxfWriter::IntPair(int code, long value) {
    Pair(code, std::to_string(value));
}

void DxfWriter::Header(real xmin, real ymin, real xmax, real ymax) {
    SectionBegin("HEADER");
    const struct {
        const char* name;
        real x, y;
    } extents[] = {{"$EXTMIN", xmin, ymin},
                   {"$EXTMAX", xmax, ymax},
                   {"$LIMMIN", xmin, ymin},
                   {"$LIMMAX", xmax, ymax}};
    for (const auto& e : extents) {
        Pair(9, e.name);
        RealPair(10, e.x);
        RealPair(20, e.y);
    }
    Pair(9, "$LTSCALE");
    Pair(40, "15");
    SectionEnd();
}

void DxfWriter::Tables(int variant, const CadSettings& settings) {
    if (variant < 0 || variant > 2) variant = 0;
    SectionBegin("TABLES");

    Pair(0, "TABLE");
    Pair(2, "LTYPE");
    Pair(70, kLtypeCounts[variant]);
    for (const auto& row : kLineTypes) {
        Pair(0, "LTYPE");
        Pair(2, row.name);
        Pair(70, "64");
        Pair(3, row.description);
        Pair(72, "65");
        for (const auto& g : row.groups)
            if (g[0]) Literal(g[0], g[1]);
    }
    Pair(0, "ENDTAB");

    Pair(0, "TABLE");
    Pair(2, "LAYER");
    Pair(70, "24");
    auto layer = [&](std::string_view name, int color, std::string_view lineType) {
        Pair(0, "LAYER");
        Pair(2, name);
        Pair(70, "0");
        IntPair(62, settings.layerMonochrome ? 1 : color);
        Pair(6, lineType);
    };
    if (variant == 1) {
        for (int n = 0; n <= 15; ++n)
            layer(std::to_string(n), n + 1, "CONTINUOUS");
    } else {
        layer("0", 1, kStandardLayerLineType[0]);
        for (int n = 1; n <= 5; ++n)
            layer(settings.layerNames[n], settings.layerColors[n], kStandardLayerLineType[n]);
        if (variant == 2)
            for (int n = 16; n <= 31; ++n)
                layer(std::to_string(n), settings.upperLayerColors[n - 16], "CONTINUOUS");
    }
    Pair(0, "ENDTAB");

    Pair(0, "TABLE");
    Pair(2, "STYLE");
    Pair(70, "1");
    Pair(0, "STYLE");
    Pair(2, "STANDARD");
    Pair(70, "0");
    Pair(40, "0.0");
    Pair(41, "1.0");
    Pair(50, "0.0");
    Pair(71, "0");
    Pair(42, "3.5");
    Pair(3, UpperAscii(settings.textStyle));
    Pair(4, "");
    Literal("0", "ENDTAB"); // this one code line is written without leading blanks
    SectionEnd();
}

void DxfWriter::SectionBegin(std::string_view name) {
    Pair(0, "SECTION");
    Pair(2, name);
}

void DxfWriter::SectionEnd() {
    Pair(0, "ENDSEC");
}

void DxfWriter::BlockBegin(std::string_view layer, std::string_view name) {
    Pair(0, "BLOCK");
    Pair(8, layer);
    Pair(2, name);
    Pair(70, "0");
    Pair(10, "0.0");
    Pair(20, "0.0");
}

void DxfWriter::BlockEnd() {
    Pair(0, "ENDBLK");
}

void DxfWriter::Eof() {
    Pair(0, "EOF");
}

void DxfWriter::Entity(std::string_view name, std::string_view layer) {
    Pair(0, name);
    Pair(8, layer);
}

void DxfWriter::Line(std::string_view layer, real x1, real y1, real x2, real y2) {
    Entity("LINE", layer);
    RealPair(10, x1);
    RealPair(20, y1);
    RealPair(11, x2);
    RealPair(21, y2);
}

void DxfWriter::Line3D(std::string_view layer, real x1, real y1, real z1, real x2, real y2,
                       real z2) {
    Entity("LINE", layer);
    RealPair(10, x1);
    RealPair(20, y1);
    RealPair(30, z1);
    RealPair(11, x2);
    RealPair(21, y2);
    RealPair(31, z2);
}

void DxfWriter::Circle(std::string_view layer, real x, real y, real r) {
    Entity("CIRCLE", layer);
    RealPair(10, x);
    RealPair(20, y);
    RealPair(40, r);
}

bool DxfWriter::IsFullCircle(real start, real end) {
    constexpr real eps = 1e-5L;
    if (std::fabs(start - end) < eps) return true;
    return (std::fabs(start) < eps && std::fabs(end - 360) < eps) ||
           (std::fabs(end) < eps && std::fabs(start - 360) < eps);
}

void DxfWriter::Arc(std::string_view layer, real x, real y, real r, real start, real end) {
    if (IsFullCircle(start, end)) {
        Circle(layer, x, y, r);
        return;
    }
    Entity("ARC", layer);
    RealPair(10, x);
    RealPair(20, y);
    RealPair(40, r);
    RealPair(50, start);
    RealPair(51, end);
}

void DxfWriter::Text(std::string_view layer, std::string_view text, real x, real y, real height,
                     real widthFactor, real angle, real oblique) {
    Entity("TEXT", layer);
    RealPair(10, x);
    RealPair(20, y);
    RealPair(40, height);
    Pair(1, text);
    Pair(7, "STANDARD");
    Pair(41, ShortNumber(widthFactor, dezimalstellen_));
    Pair(50, ShortNumber(angle, dezimalstellen_));
    Pair(51, ShortNumber(oblique, dezimalstellen_));
}

void DxfWriter::Solid(std::string_view layer, const real (&x)[4], const real (&y)[4]) {
    Entity("SOLID", layer);
    for (int i = 0; i < 4; ++i) {
        RealPair(10 + i, x[i]);
        RealPair(20 + i, y[i]);
    }
}

void DxfWriter::Insert(std::string_view layer, std::string_view name, real x, real y, real rotation,
                       real xScale, real yScale) {
    Pair(0, "INSERT");
    Pair(8, layer);
    Pair(2, name);
    RealPair(10, x);
    RealPair(20, y);
    RealPair(41, xScale);
    RealPair(42, yScale);
    RealPair(50, rotation);
}

void DxfWriter::PolylineBegin(std::string_view layer, int flags) {
    Entity("POLYLINE", layer);
    Pair(66, "1");
    if (flags != 0) IntPair(70, flags);
}

void DxfWriter::Vertex(std::string_view layer, real x, real y, real bulge) {
    Entity("VERTEX", layer);
    RealPair(10, x);
    RealPair(20, y);
    if (bulge != 0) RealPair(42, bulge);
}

void DxfWriter::SeqEnd(std::string_view layer) {
    Entity("SEQEND", layer);
}

} // namespace kora
