// The CAD layer's sinks: the DXF file (also the screen's block files and, with the sheet border,
// logos and plotting program, the plotter's file), the IGES file, the TXT entity file and the
// graphics window's display list.
#pragma once

#include "graphics/cad_blocks.h"
#include "graphics/cad_settings.h"
#include "graphics/cad_sink.h"
#include "graphics/dxf_writer.h"
#include "graphics/iges_writer.h"
#include "graphics/txt_writer.h"

#include <functional>
#include <optional>

namespace kora {

struct Session;
class DisplayList;

// What every sink reads: the drawing state, the settings and the blocks of the output.
struct CadSinkContext {
    const CadState& state;
    const CadSettings& settings;
    CadBlockStore& blocks;
};

// The layer of the sheet border and that of the screen's footer line.
inline constexpr int kBorderLayer = 19;
inline constexpr int kFooterLayer = 30;

class DxfSink : public CadSink {
  public:
    // A block file is written without sections; its texts stay in code page 850 and its inserts
    // need no defined block (it is read back by this program).
    enum class Role { File, BlockFile };
    DxfSink(const CadSinkContext& context, CadFile& out, int decimals, int dezimalstellen,
            Role role = Role::File);

    void End() override;
    void Sheet(real xmin, real ymin, real xmax, real ymax) override;
    void Tables(int variant) override;
    void BlocksBegin() override;
    CadBlockStart BlockBegin(std::string_view name) override;
    bool BlockEnd(bool aborted) override;
    void PageStart() override;
    void SectionEnd() override;

    void Line(real x1, real y1, real x2, real y2) override;
    bool Line3D(real x1, real y1, real z1, real x2, real y2, real z2) override;
    void Circle(real x, real y, real r) override;
    void Arc(real x, real y, real r, real start, real end) override;
    void Text(std::string_view text, real x, real y, real height, real ratio, real angle) override;
    void Solid(const real (&x)[4], const real (&y)[4]) override;
    CadInsertResult Insert(std::string_view name, real x, real y, real rotation, real xScale,
                           real yScale) override;
    void PolylineBegin(int flags) override;
    bool Vertex(real x, real y, real bulgeAngle) override;
    void PolylineEnd() override;

  protected:
    enum class Section { None, Blocks, Entities };
    void EnterSection(Section section);
    // Entities outside a block belong in the ENTITIES section; opened when a drawing forgot.
    void EnsureEntities();

    const CadState& state_;
    const CadSettings& settings_;
    CadBlockStore& blocks_;
    DxfWriter dxf_;
    Role role_;
    Section section_ = Section::None;
};

// The DXF file of the external plotting program: every page has the sheet border and the logos,
// an insert of a screen block file draws its entities, and the program starts once the file is
// stored.
class PlotterSink : public DxfSink {
  public:
    PlotterSink(const CadSinkContext& context, CadFile& out, int decimals, int dezimalstellen,
                Session& session);
    bool Delivered() override;
    void PageStart() override;
    bool ShowsLogos() const override { return true; }
    CadInsertResult Insert(std::string_view name, real x, real y, real rotation, real xScale,
                           real yScale) override;

  private:
    Session& session_;
};

class IgesSink : public CadSink {
  public:
    // `header` names the file at its start and again with the sheet.
    IgesSink(const CadSinkContext& context, CadFile& out, std::function<IgesHeader()> header);

    void Open() override;
    void End() override;
    void Sheet(real xmin, real ymin, real xmax, real ymax) override;
    CadBlockStart BlockBegin(std::string_view name) override;
    bool BlockEnd(bool aborted) override;
    void Layer(int layer) override;

    void Line(real x1, real y1, real x2, real y2) override;
    bool Line3D(real x1, real y1, real z1, real x2, real y2, real z2) override;
    void Circle(real x, real y, real r) override;
    void Arc(real x, real y, real r, real start, real end) override;
    void Text(std::string_view text, real x, real y, real height, real ratio, real angle) override;
    void Solid(const real (&x)[4], const real (&y)[4]) override;
    CadInsertResult Insert(std::string_view name, real x, real y, real rotation, real xScale,
                           real yScale) override;
    int EntityCount() const override { return iges_.EntityCount(); }

  private:
    const CadState& state_;
    const CadSettings& settings_;
    CadFile& out_;
    std::function<IgesHeader()> header_;
    IgesWriter iges_;
    int lineFont_ = 1;
};

class TxtSink : public CadSink {
  public:
    TxtSink(const CadSinkContext& context, CadFile& out, int decimals, bool comma);

    void End() override;
    void Sheet(real xmin, real ymin, real xmax, real ymax) override;
    void BlocksBegin() override;
    CadBlockStart BlockBegin(std::string_view name) override;
    bool BlockEnd(bool aborted) override;
    void PageStart() override;

    void Line(real x1, real y1, real x2, real y2) override;
    bool Line3D(real x1, real y1, real z1, real x2, real y2, real z2) override;
    void Circle(real x, real y, real r) override;
    void Arc(real x, real y, real r, real start, real end) override;
    void Text(std::string_view text, real x, real y, real height, real ratio, real angle) override;
    void Solid(const real (&x)[4], const real (&y)[4]) override;
    CadInsertResult Insert(std::string_view name, real x, real y, real rotation, real xScale,
                           real yScale) override;

  private:
    const CadSettings& settings_;
    TxtWriter txt_;
};

// The graphics window's display list (nothing without one); a block goes to its block file.
// Every page starts with the sheet's frame, border and footer line.
class ScreenSink : public CadSink {
  public:
    ScreenSink(const CadSinkContext& context, DisplayList* display, int decimals,
               int dezimalstellen, std::function<std::string()> footer);

    bool WritesFile() const override { return false; }
    void Open() override;
    void End() override;
    void Sheet(real xmin, real ymin, real xmax, real ymax) override;
    CadBlockStart BlockBegin(std::string_view name) override;
    bool BlockEnd(bool aborted) override;
    void PageStart() override;
    bool ShowsLogos() const override { return true; }

    void Layer(int layer) override;
    void LineType(int type) override;
    void TextStyle(const CadTextState& style) override;
    void Sleep(int milliseconds) override;

    void Line(real x1, real y1, real x2, real y2) override;
    void Circle(real x, real y, real r) override;
    void Arc(real x, real y, real r, real start, real end) override;
    void Text(std::string_view text, real x, real y, real height, real ratio, real angle) override;
    void Solid(const real (&x)[4], const real (&y)[4]) override;
    CadInsertResult Insert(std::string_view name, real x, real y, real rotation, real xScale,
                           real yScale) override;
    void PolylineBegin(int flags) override;
    bool Vertex(real x, real y, real bulgeAngle) override;
    void PolylineEnd() override;

  private:
    // The display list outside a block, else null.
    DisplayList* Drawing() const { return state_.blockOpen ? nullptr : display_; }
    void LayerStyle(int layer);
    void SendTextStyle(const CadTextState& style);
    void DrawSheetFurniture();

    const CadState& state_;
    const CadSettings& settings_;
    CadBlockStore& blocks_;
    DisplayList* display_;
    DxfSink blockFile_;
    std::function<std::string()> footer_;
    std::optional<CadTextState> sent_; // the text style last sent to the display list
};

} // namespace kora
