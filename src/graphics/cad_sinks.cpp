#include "graphics/cad_sinks.h"

#include "base/codepage.h"
#include "calc/session.h"
#include "graphics/cad_format.h"
#include "graphics/display_list.h"
#include "graphics/plotter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kora {
namespace {

constexpr real kDeg = std::numbers::pi_v<real> / 180;

int ScreenLineWidth(int n, const CadSettings& settings) {
    if (n >= 1 && n <= 5) {
        int w = settings.layerWidths[n];
        return w >= 1 && w <= 255 ? w : 1;
    }
    if (n >= 16 && n <= 31) {
        int w = settings.upperLayerWidths[n - 16];
        return w >= 2 && w <= 50 ? w : 1;
    }
    return 1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// DXF

DxfSink::DxfSink(const CadSinkContext& context, CadFile& out, int decimals, int dezimalstellen,
                 Role role)
    : state_(context.state), settings_(context.settings), blocks_(context.blocks),
      dxf_(out, decimals, dezimalstellen), role_(role) {}

void DxfSink::End() {
    EnterSection(Section::None);
    dxf_.Eof();
}

void DxfSink::EnterSection(Section section) {
    if (section_ == section) return;
    if (section_ != Section::None) dxf_.SectionEnd();
    if (section == Section::Blocks) dxf_.SectionBegin("BLOCKS");
    if (section == Section::Entities) dxf_.SectionBegin("ENTITIES");
    section_ = section;
}

void DxfSink::EnsureEntities() {
    if (!state_.blockOpen) EnterSection(Section::Entities);
}

void DxfSink::Sheet(real xmin, real ymin, real xmax, real ymax) {
    if (section_ == Section::None) dxf_.Header(xmin, ymin, xmax, ymax);
}

void DxfSink::Tables(int variant) {
    if (section_ == Section::None) dxf_.Tables(variant, settings_);
}

void DxfSink::BlocksBegin() {
    EnterSection(Section::Blocks);
}

CadBlockStart DxfSink::BlockBegin(std::string_view name) {
    EnterSection(Section::Blocks);
    dxf_.BlockBegin(state_.layerName, name);
    blocks_.Define(name);
    return CadBlockStart::Open;
}

bool DxfSink::BlockEnd(bool) {
    dxf_.BlockEnd();
    return true;
}

void DxfSink::PageStart() {
    EnterSection(Section::None);
    EnterSection(Section::Entities);
}

void DxfSink::SectionEnd() {
    EnterSection(Section::None);
}

void DxfSink::Line(real x1, real y1, real x2, real y2) {
    EnsureEntities();
    dxf_.Line(state_.layerName, x1, y1, x2, y2);
}

bool DxfSink::Line3D(real x1, real y1, real z1, real x2, real y2, real z2) {
    EnsureEntities();
    dxf_.Line3D(state_.layerName, x1, y1, z1, x2, y2, z2);
    return true;
}

void DxfSink::Circle(real x, real y, real r) {
    EnsureEntities();
    dxf_.Circle(state_.layerName, x, y, r);
}

void DxfSink::Arc(real x, real y, real r, real start, real end) {
    EnsureEntities();
    dxf_.Arc(state_.layerName, x, y, r, start, end);
}

void DxfSink::Text(std::string_view text, real x, real y, real height, real ratio, real angle) {
    EnsureEntities();
    if (role_ == Role::BlockFile)
        dxf_.Text(state_.layerName, text, x, y, height, ratio, angle, settings_.textObliqueAngle);
    else
        dxf_.Text(state_.layerName, ConvertCadText(text, settings_.textMode), x, y, height, ratio,
                  angle, settings_.textObliqueAngle);
}

void DxfSink::Solid(const real (&x)[4], const real (&y)[4]) {
    EnsureEntities();
    dxf_.Solid(state_.layerName, x, y);
}

CadInsertResult DxfSink::Insert(std::string_view name, real x, real y, real rotation, real xScale,
                                real yScale) {
    if (role_ == Role::File && !blocks_.IsDefined(name)) return CadInsertResult::Unknown;
    EnsureEntities();
    dxf_.Insert(state_.layerName, name, x, y, rotation, xScale, yScale);
    return CadInsertResult::Written;
}

void DxfSink::PolylineBegin(int flags) {
    EnsureEntities();
    dxf_.PolylineBegin(state_.layerName, flags);
}

bool DxfSink::Vertex(real x, real y, real bulgeAngle) {
    dxf_.Vertex(state_.layerName, x, y, std::tan(bulgeAngle * kDeg / 4));
    return true;
}

void DxfSink::PolylineEnd() {
    dxf_.SeqEnd(state_.layerName);
}

// ---------------------------------------------------------------------------------------------
// Plotter

PlotterSink::PlotterSink(const CadSinkContext& context, CadFile& out, int decimals,
                         int dezimalstellen, Session& session)
    : DxfSink(context, out, decimals, dezimalstellen), session_(session) {}

bool PlotterSink::Delivered() {
    const auto& lines = settings_.plotterCommands;
    int current = settings_.currentPlotterCommand;
    std::string line = current >= 0 && current < static_cast<int>(lines.size())
                           ? lines[current]
                           : std::string(kDefaultVektraCommand);
    // The line is core text (code page 850); the program and its files are named in the file
    // system's bytes.
    int code = session_.launcher->Start(SplitCommandLine(Cp850ToUtf8(line)));
    if (code == 0) return true;
    session_.dialogs->ShowError(PlotterStartMessage(code));
    return false;
}

void PlotterSink::PageStart() {
    DxfSink::PageStart();
    if (!state_.haveSheet || !settings_.printBorder) return;
    const auto& s = state_.sheet;
    const std::string layer = std::to_string(kBorderLayer);
    dxf_.Line(layer, s[0], s[1], s[2], s[1]);
    dxf_.Line(layer, s[2], s[1], s[2], s[3]);
    dxf_.Line(layer, s[2], s[3], s[0], s[3]);
    dxf_.Line(layer, s[0], s[3], s[0], s[1]);
}

CadInsertResult PlotterSink::Insert(std::string_view name, real x, real y, real rotation,
                                    real xScale, real yScale) {
    CadInsertResult result = DxfSink::Insert(name, x, y, rotation, xScale, yScale);
    // A screen block file (the logos): the plotting program gets its entities.
    if (result == CadInsertResult::Unknown && blocks_.IsReadable(name))
        return CadInsertResult::FromFile;
    return result;
}

// ---------------------------------------------------------------------------------------------
// IGES

IgesSink::IgesSink(const CadSinkContext& context, CadFile& out, std::function<IgesHeader()> header)
    : state_(context.state), settings_(context.settings), out_(out), header_(std::move(header)) {}

void IgesSink::Open() {
    iges_.Begin(header_(), 0);
}

void IgesSink::End() {
    iges_.End(out_);
}

void IgesSink::Sheet(real, real, real xmax, real ymax) {
    iges_.Begin(header_(), std::max(xmax, ymax));
}

CadBlockStart IgesSink::BlockBegin(std::string_view name) {
    switch (iges_.BlockBegin(name)) {
    case IgesWriter::BlockStatus::Ok:
        return CadBlockStart::Open;
    case IgesWriter::BlockStatus::TooManyBlocks:
        return CadBlockStart::TooManyBlocks;
    default:
        return CadBlockStart::NameTooLong;
    }
}

bool IgesSink::BlockEnd(bool) {
    iges_.BlockEnd();
    return true;
}

void IgesSink::Layer(int layer) {
    IgesLayerStyle style = IgesStyleOfLayer(layer, state_.layerMode, settings_, lineFont_);
    lineFont_ = style.lineFont;
    iges_.SetStyle(style);
}

void IgesSink::Line(real x1, real y1, real x2, real y2) {
    iges_.Line(x1, y1, x2, y2);
}

bool IgesSink::Line3D(real x1, real y1, real z1, real x2, real y2, real z2) {
    iges_.Line3D(x1, y1, z1, x2, y2, z2);
    return true;
}

void IgesSink::Circle(real x, real y, real r) {
    iges_.Circle(x, y, r);
}

void IgesSink::Arc(real x, real y, real r, real start, real end) {
    iges_.Arc(x, y, r, start, end);
}

void IgesSink::Text(std::string_view text, real x, real y, real height, real ratio, real angle) {
    iges_.Text(ConvertCadText(text, settings_.textMode), x, y, height, ratio, angle);
}

void IgesSink::Solid(const real (&x)[4], const real (&y)[4]) {
    iges_.Solid(x, y);
}

CadInsertResult IgesSink::Insert(std::string_view name, real x, real y, real rotation, real, real) {
    return iges_.Insert(name, x, y, rotation) == IgesWriter::BlockStatus::Ok
               ? CadInsertResult::Written
               : CadInsertResult::Unknown;
}

// ---------------------------------------------------------------------------------------------
// TXT

TxtSink::TxtSink(const CadSinkContext& context, CadFile& out, int decimals, bool comma)
    : settings_(context.settings), txt_(out, decimals, comma) {}

void TxtSink::End() {
    txt_.Eof();
}

void TxtSink::Sheet(real xmin, real ymin, real xmax, real ymax) {
    txt_.MinMax(xmin, ymin, xmax, ymax);
}

void TxtSink::BlocksBegin() {
    txt_.SectionBlocks();
}

CadBlockStart TxtSink::BlockBegin(std::string_view name) {
    txt_.Block(name);
    return CadBlockStart::Open;
}

bool TxtSink::BlockEnd(bool) {
    txt_.EndOfBlock();
    return true;
}

void TxtSink::PageStart() {
    txt_.SectionEntities();
}

void TxtSink::Line(real x1, real y1, real x2, real y2) {
    txt_.Line(x1, y1, x2, y2);
}

bool TxtSink::Line3D(real x1, real y1, real z1, real x2, real y2, real z2) {
    txt_.Line3D(x1, y1, z1, x2, y2, z2);
    return true;
}

void TxtSink::Circle(real x, real y, real r) {
    txt_.Circle(x, y, r);
}

void TxtSink::Arc(real x, real y, real r, real start, real end) {
    txt_.Arc(x, y, r, start, end);
}

void TxtSink::Text(std::string_view text, real x, real y, real, real, real) {
    txt_.Text(ConvertCadText(text, settings_.textMode), x, y);
}

void TxtSink::Solid(const real (&x)[4], const real (&y)[4]) {
    txt_.Solid(x, y);
}

CadInsertResult TxtSink::Insert(std::string_view name, real x, real y, real rotation, real xScale,
                                real yScale) {
    txt_.Insert(name, x, y, rotation, xScale, yScale);
    return CadInsertResult::Written;
}

// ---------------------------------------------------------------------------------------------
// Screen

ScreenSink::ScreenSink(const CadSinkContext& context, DisplayList* display, int decimals,
                       int dezimalstellen, std::function<std::string()> footer)
    : state_(context.state), settings_(context.settings), blocks_(context.blocks),
      display_(display), blockFile_(context, context.blocks.File(), decimals, dezimalstellen,
                                    DxfSink::Role::BlockFile),
      footer_(std::move(footer)) {}

void ScreenSink::Open() {
    if (!display_) return;
    display_->Clear();
    display_->SetWaitCursor();
}

void ScreenSink::End() {
    if (display_) {
        display_->ClearViewPort();
        display_->SetOldCursor();
    }
    blocks_.RemoveFiles();
}

void ScreenSink::Sheet(real, real, real, real) {
    if (!state_.blockOpen) DrawSheetFurniture();
}

void ScreenSink::DrawSheetFurniture() {
    if (!state_.haveSheet || !display_) return;
    const auto& s = state_.sheet;
    const real w = s[2] - s[0], h = s[3] - s[1];
    display_->Header(s[0], s[1], s[2], s[3]);
    if (settings_.printBorder) {
        LayerStyle(kBorderLayer);
        display_->line(s[0], s[1], s[2], s[1]);
        display_->line(s[2], s[1], s[2], s[3]);
        display_->line(s[2], s[3], s[0], s[3]);
        display_->line(s[0], s[3], s[0], s[1]);
    }
    std::string footer = footer_();
    if (footer.size() > 120) footer.resize(120);
    LayerStyle(kFooterLayer);
    CadTextState small;
    small.height = 0.006L * h;
    small.width = 0.0045L * w;
    small.ratio = small.height > 0 ? small.width / small.height : 1;
    SendTextStyle(small);
    display_->OutTextXY(footer, s[0] + 0.005L * w, s[1] + 0.002L * h);
    SendTextStyle(state_.text);
    LayerStyle(state_.layer);
}

CadBlockStart ScreenSink::BlockBegin(std::string_view name) {
    return blocks_.CreateFile(name) ? CadBlockStart::Open : CadBlockStart::Failed;
}

bool ScreenSink::BlockEnd(bool aborted) {
    if (aborted) {
        blocks_.DiscardFile();
        return true;
    }
    blockFile_.End();
    return blocks_.CommitFile();
}

void ScreenSink::PageStart() {
    if (!display_) return;
    display_->Clear();
    display_->SetLineStyle(0);
    sent_.reset();
    DrawSheetFurniture();
    // The list was emptied: the layer's colour, style and width must be sent again.
    LayerStyle(state_.layer);
}

void ScreenSink::LayerStyle(int n) {
    constexpr int kStandardStyles[6] = {0, 2, 3, 0, 0, 0};
    const int mode = state_.layerMode;
    if (mode == 0 && n <= 5) {
        display_->SetLineStyle(kStandardStyles[n]);
        display_->SetColorAcad(n == 0 ? 1 : settings_.layerColors[n]);
    } else {
        if (mode == 0) display_->SetLineStyle(0);
        if (n >= 16 && n <= 31 && mode != 2)
            display_->SetColorAcad(settings_.upperLayerColors[n - 16]);
        if (n == 0 && mode == 2) display_->SetColor(0);
    }
    display_->SetLineWidth(ScreenLineWidth(n, settings_));
}

void ScreenSink::SendTextStyle(const CadTextState& style) {
    if (sent_ && sent_->font == style.font && sent_->angle == style.angle &&
        sent_->height == style.height && sent_->width == style.width)
        return;
    display_->SetTextStyle(style.font, style.angle, style.height, style.width * 0.95L);
    sent_ = style;
}

void ScreenSink::Layer(int layer) {
    if (Drawing()) LayerStyle(layer);
}

void ScreenSink::LineType(int type) {
    if (DisplayList* d = Drawing()) d->SetLineStyle(type);
}

void ScreenSink::TextStyle(const CadTextState& style) {
    if (Drawing()) SendTextStyle(style);
}

void ScreenSink::Sleep(int milliseconds) {
    if (DisplayList* d = Drawing()) d->SleepMs(milliseconds);
}

void ScreenSink::Line(real x1, real y1, real x2, real y2) {
    if (state_.blockOpen) return blockFile_.Line(x1, y1, x2, y2);
    if (display_) display_->line(x1, y1, x2, y2);
}

void ScreenSink::Circle(real x, real y, real r) {
    if (state_.blockOpen) return blockFile_.Circle(x, y, r);
    if (display_) display_->circle(x, y, r);
}

void ScreenSink::Arc(real x, real y, real r, real start, real end) {
    if (state_.blockOpen) return blockFile_.Arc(x, y, r, start, end);
    if (display_) display_->Arc(x, y, r, start, end);
}

void ScreenSink::Text(std::string_view text, real x, real y, real height, real ratio, real angle) {
    if (state_.blockOpen) return blockFile_.Text(text, x, y, height, ratio, angle);
    if (!display_) return;
    CadTextState style = state_.text;
    if (height != style.height || ratio != style.ratio || angle != style.angle) {
        real factor = settings_.textWidthFactor != 0 ? settings_.textWidthFactor : 1;
        style.height = height;
        style.angle = angle;
        style.width = ratio * height / factor;
    }
    SendTextStyle(style);
    display_->OutTextXY(text, x, y);
}

void ScreenSink::Solid(const real (&x)[4], const real (&y)[4]) {
    if (state_.blockOpen) return blockFile_.Solid(x, y);
    // A CAD solid's outline runs through corners 1, 2, 4, 3.
    if (display_) display_->Solid(x[0], y[0], x[1], y[1], x[3], y[3], x[2], y[2]);
}

CadInsertResult ScreenSink::Insert(std::string_view name, real x, real y, real rotation,
                                   real xScale, real yScale) {
    if (state_.blockOpen) return blockFile_.Insert(name, x, y, rotation, xScale, yScale);
    return display_ ? CadInsertResult::FromFile : CadInsertResult::Written;
}

void ScreenSink::PolylineBegin(int flags) {
    if (state_.blockOpen) blockFile_.PolylineBegin(flags);
}

bool ScreenSink::Vertex(real x, real y, real bulgeAngle) {
    return state_.blockOpen && blockFile_.Vertex(x, y, bulgeAngle);
}

void ScreenSink::PolylineEnd() {
    if (state_.blockOpen) blockFile_.PolylineEnd();
}

} // namespace kora
