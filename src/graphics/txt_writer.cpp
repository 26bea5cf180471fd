#include "graphics/txt_writer.h"

#include "graphics/cad_format.h"
#include "graphics/dxf_writer.h"

namespace kora {

void TxtWriter::End() {
    out_->Buffer().append("\r\n");
    out_->Written();
}

void TxtWriter::Record(std::string_view name, std::initializer_list<real> numbers) {
    std::string& b = out_->Buffer();
    b.append(name);
    for (real v : numbers) {
        b.push_back('\t');
        AppendFixedNumber(b, v, decimals_, comma_);
    }
    End();
}

void TxtWriter::MinMax(real xmin, real ymin, real xmax, real ymax) {
    Record("MINMAX", {xmin, ymin, xmax, ymax});
}
void TxtWriter::SectionBlocks() {
    Record("SECTION BLOCKS", {});
}
void TxtWriter::Block(std::string_view name) {
    out_->Buffer().append("BLOCK\t").append(name);
    End();
}
void TxtWriter::EndOfBlock() {
    Record("END OF BLOCK", {});
}
void TxtWriter::SectionEntities() {
    Record("SECTION ENTITIES", {});
}
void TxtWriter::Line(real x1, real y1, real x2, real y2) {
    Record("LINE", {x1, y1, x2, y2});
}
void TxtWriter::Line3D(real x1, real y1, real z1, real x2, real y2, real z2) {
    Record("3D_LINE", {x1, y1, z1, x2, y2, z2});
}
void TxtWriter::Circle(real x, real y, real r) {
    Record("CIRCLE", {x, y, r});
}
void TxtWriter::Arc(real x, real y, real r, real start, real end) {
    if (DxfWriter::IsFullCircle(start, end))
        Circle(x, y, r);
    else
        Record("ARC", {x, y, r, start, end});
}
void TxtWriter::Text(std::string_view text, real x, real y) {
    std::string& b = out_->Buffer();
    b.append("TEXT");
    for (real v : {x, y}) {
        b.push_back('\t');
        AppendFixedNumber(b, v, decimals_, comma_);
    }
    b.push_back('\t');
    b.append(text);
    End();
}
void TxtWriter::Solid(const real (&x)[4], const real (&y)[4]) {
    Record("SOLID", {x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3]});
}
void TxtWriter::Insert(std::string_view name, real x, real y, real rotation, real xScale,
                       real yScale) {
    std::string& b = out_->Buffer();
    b.append("INSERT\t").append(name);
    for (real v : {x, y, rotation, xScale, yScale}) {
        b.push_back('\t');
        AppendFixedNumber(b, v, decimals_, comma_);
    }
    End();
}
void TxtWriter::Eof() {
    Record("EOF", {});
}

} // namespace kora
