#include "graphics/cad_output.h"

#include "base/temp_folder.h"
#include "base/text.h"

#include "calc/session.h"
#include "graphics/cad_format.h"
#include "graphics/cad_texts.h"
#include "graphics/display_list.h"
#include "graphics/dxf_block_reader.h"
#include "graphics/plotter.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <numbers>
#include <sys/stat.h>
#include <unistd.h>

namespace kora {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;
constexpr real kDeg = kPi / 180;

// File extension of each output kind (index = kind).
constexpr const char* kExtensions[6] = {"", "dxf", "igs", "", "dxf", "txt"};

int FoldLayer(int n) {
    if (n < 0) return 0;
    return n > 31 ? 16 + n % 16 : n;
}

// The file name part of a path has an extension.
bool HasExtension(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.find('.') != std::string_view::npos;
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    std::filesystem::path p{std::string(path)};
    p.replace_extension(std::string(".") + std::string(extension));
    return p.string();
}

} // namespace

ArcGeometry GetArcCenter(Session& session, real phi, real x1, real y1, real x2, real y2) {
    ArcGeometry a;
    real mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    real dx = x2 - x1, dy = y2 - y1;
    real l12 = std::hypot(dx, dy);
    a.xc = mx;
    a.yc = my;
    if (l12 == 0) {
        session.Message(cadtext::kArcCenterChord);
        return a;
    }
    real s = std::sin(phi / 2);
    // sin(π) is not exactly 0 in floating point: a full turn would give a radius of ~1e19.
    if (std::fabs(s) < 1e-12L || !std::isfinite(phi)) {
        session.Message(std::string(cadtext::kArcCenterAngle) + ShortNumber(phi) + " ! ");
        return a;
    }
    // The centre lies to the right of the chord for 0 < phi < 180°, so that the
    // counter-clockwise arc from the second point to the first spans phi.
    real d = (l12 / 2) / std::tan(phi / 2);
    a.xc = mx + d * dy / l12;
    a.yc = my - d * dx / l12;
    a.r = std::fabs((l12 / 2) / s);
    real angle1 = std::atan2(y1 - a.yc, x1 - a.xc) / kDeg;
    real angle2 = std::atan2(y2 - a.yc, x2 - a.xc) / kDeg;
    if (phi >= 0) {
        a.start = angle2;
        a.end = angle1;
    } else {
        a.start = angle1;
        a.end = angle2;
    }
    a.valid = true;
    return a;
}

ArcGeometry BulgeArc(Session& session, real bulgeAngle, real x1, real y1, real x2, real y2) {
    // GetArcCenter counts a positive angle clockwise from the first point; a DXF bulge counts
    // it counter-clockwise.
    return GetArcCenter(session, -bulgeAngle * kDeg, x1, y1, x2, y2);
}

std::string CadTempFolder(const Session& session) {
    return TempFolder(session.config);
}

CadPoint CadOutput::Transform::Apply(real x, real y) const {
    real c = std::cos(rotation * kDeg), s = std::sin(rotation * kDeg);
    real px = x * sx, py = y * sy;
    return {ox + px * c - py * s, oy + px * s + py * c};
}

CadOutput::CadOutput(Session& session, DisplayList* display)
    : session_(session), display_(display), dxf_(file_, 6), txt_(file_, 6, false),
      blockDxf_(blockFile_, 6) {}

CadOutput::~CadOutput() {
    CloseAll();
}

std::string CadOutput::TempFolder() const {
    if (!tempFolder_.empty()) return tempFolder_;
    return CadTempFolder(session_);
}

std::string CadOutput::BlockFilePath(std::string_view name) const {
    const std::string upper = TempFolder() + "/$" + UpperAscii(name) + ".dx$";
    if (::access(upper.c_str(), F_OK) == 0) return upper;
    const std::string given = TempFolder() + "/$" + std::string(name) + ".dx$";
    return ::access(given.c_str(), F_OK) == 0 ? given : upper;
}

std::string CadOutput::Now(const char* format) const {
    std::time_t t = clock_ ? clock_() : std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

void CadOutput::FileError(const char* what) {
    session_.dialogs->ShowError(std::string(cadtext::kFile) + path_ + " " + what);
    session_.AbortFlag = true;
}

// ---------------------------------------------------------------------------------------------
// One output

void CadOutput::ResetState() {
    offsetX_ = offsetY_ = 0;
    alignH_ = alignV_ = 0;
    lineSpacing_ = 1;
    lineType_ = 0;
    drawingScale_ = settings.drawingScale;
    layer_ = 0;
    layerName_ = "0";
    text_ = TextState{}; // height 2.5, width ratio 1.0 until the first CadTextStyle
    screenStyle_.reset();
    blockDefinition_ = blockOpen_ = blockDead_ = false;
    definedBlocks_.clear();
    polylineOpen_ = false;
    vertexCount_ = 0;
    dxfSection_ = DxfSection::None;
    haveSheet_ = false;
    readableLogos_.reset();
    depth_ = 0;
    igesLineFont_ = 1;
}

void CadOutput::CloseAll() {
    file_.Discard();
    blockFile_.Discard();
    open_ = false;
}

bool CadOutput::CadBegin(OutputKind kind, std::string_view baseName) {
    requested_ = kind;
    baseName_ = std::string(baseName);
    Dialogs& d = *session_.dialogs;
    std::string temp = TempFolder();
    if (kind == OutputKind::Ask) {
        std::vector<std::string> names(std::begin(cadtext::kKindNames),
                                       std::end(cadtext::kKindNames));
        auto chosen = d.ChooseItem(cadtext::kChooseKind, names, static_cast<int>(kind_));
        if (!chosen || *chosen < 1 || *chosen > 5) {
            session_.AbortFlag = true;
            return false;
        }
        kind = static_cast<OutputKind>(*chosen);
        if (kind == OutputKind::Plotter &&
            !ChoosePlotterCommand(session_, settings, temp, plotterForm_))
            return false;
    }
    if (kind < OutputKind::Dxf || kind > OutputKind::Txt) {
        session_.AbortFlag = true;
        return false;
    }
    std::string path;
    if (kind == OutputKind::Dxf || kind == OutputKind::Iges || kind == OutputKind::Txt) {
        const char* ext = kExtensions[static_cast<int>(kind)];
        std::string spring = springFile_.empty() ? baseName_ : springFile_;
        if (commandLineRun_) {
            path = ReplaceExtension(spring, ext);
        } else {
            std::string folder = settings.cadFolder.empty() ? "." : settings.cadFolder;
            std::string proposed = WithTrailingSeparator(folder) +
                                   std::filesystem::path(spring).stem().string() + "." + ext;
            auto answer = d.ChooseSaveFile(proposed, std::string("*.") + ext);
            if (!answer || answer->empty()) {
                session_.AbortFlag = true;
                return false;
            }
            path = *answer;
            if (!HasExtension(path)) path += std::string(".") + ext;
        }
    }
    return CadBeginFile(kind, path);
}

bool CadOutput::CadBeginFile(OutputKind kind, const std::string& path) {
    CloseAll();
    ResetState();
    kind_ = kind;
    path_ = path;
    int decimals = settings.decimals >= 1 && settings.decimals <= 32 ? settings.decimals : 6;
    dxf_ = DxfWriter(file_, decimals, session_.config.Dezimalstellen);
    blockDxf_ = DxfWriter(blockFile_, decimals, session_.config.Dezimalstellen);
    txt_ = TxtWriter(file_, decimals, session_.config.decimalSeparator == 2);
    iges_ = IgesWriter{};
    switch (kind) {
    case OutputKind::Screen:
        if (display_) {
            display_->Clear();
            display_->SetWaitCursor();
        }
        open_ = true;
        return true;
    case OutputKind::Plotter:
        path_ = TempFolder() + "/" + cadtext::kPlotFile;
        session_.dialogs->ShowInfo(path_ + " " + cadtext::kPlotted + "..", "");
        break;
    case OutputKind::Dxf:
    case OutputKind::Iges:
    case OutputKind::Txt:
        break;
    default:
        session_.AbortFlag = true;
        return false;
    }
    if (path_.empty() || !file_.Create(path_)) {
        if (file_.Result().stage == FileWriteResult::Stage::Protected) { // left as it is
            session_.dialogs->ShowError(FileWriteMessage(file_.Result()));
            session_.AbortFlag = true;
        } else {
            FileError(cadtext::kCannotCreate);
        }
        return false;
    }
    if (kind == OutputKind::Iges) {
        IgesHeader header;
        header.fileName = std::filesystem::path(path_).stem().string();
        header.version = settings.programVersion;
        header.date = Now("%y%m%d");
        iges_.Begin(header, 0);
    }
    open_ = true;
    return true;
}

bool CadOutput::CadEnd() {
    if (!open_) return false;
    if (blockOpen_) CadBlockEnd();
    polylineOpen_ = false;
    bool ok = true;
    switch (kind_) {
    case OutputKind::Screen:
        open_ = false;
        if (display_) {
            display_->ClearViewPort();
            display_->SetOldCursor();
        }
        {
            std::error_code ec;
            for (const auto& entry : std::filesystem::directory_iterator(TempFolder(), ec)) {
                std::string name = entry.path().filename().string();
                if (name.size() >= 5 && name.front() == '$' &&
                    name.compare(name.size() - 4, 4, ".dx$") == 0)
                    std::filesystem::remove(entry.path(), ec);
            }
        }
        return true;
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        if (dxfSection_ != DxfSection::None) dxf_.SectionEnd();
        dxfSection_ = DxfSection::None;
        dxf_.Eof();
        break;
    case OutputKind::Iges:
        iges_.End(file_);
        break;
    case OutputKind::Txt:
        txt_.Eof();
        break;
    default:
        break;
    }
    open_ = false;
    // A drawing stopped by a failure (AbortFlag from hatching or a block) keeps what it drew:
    // the file is completed and stored, and the message stays in the list.
    if (!file_.Commit()) {
        FileError(cadtext::kCannotWrite);
        return false;
    }
    if (kind_ == OutputKind::Plotter) {
        const auto& lines = settings.plotterCommands;
        int current = settings.currentPlotterCommand;
        std::string line = current >= 0 && current < static_cast<int>(lines.size())
                               ? lines[current]
                               : std::string(kDefaultVektraCommand);
        int code = session_.launcher->Start(SplitCommandLine(line));
        if (code != 0) {
            session_.dialogs->ShowError(PlotterStartMessage(code));
            ok = false;
        }
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Sections and blocks

CadOutput::Sink CadOutput::CurrentSink() const {
    if (!open_ || blockDead_) return Sink::None;
    switch (kind_) {
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        return Sink::Dxf;
    case OutputKind::Iges:
        return Sink::Iges;
    case OutputKind::Txt:
        return Sink::Txt;
    case OutputKind::Screen:
        if (blockOpen_) return blockFile_.IsOpen() ? Sink::BlockDxf : Sink::None;
        return display_ ? Sink::Screen : Sink::None;
    default:
        return Sink::None;
    }
}

void CadOutput::EnsureDxfEntities() {
    // Entities outside a block belong in the ENTITIES section; open it when a drawing forgot.
    if (blockOpen_ || dxfSection_ == DxfSection::Entities) return;
    if (dxfSection_ == DxfSection::Blocks) dxf_.SectionEnd();
    dxf_.SectionBegin("ENTITIES");
    dxfSection_ = DxfSection::Entities;
}

void CadOutput::CadSheet(real xmin, real ymin, real xmax, real ymax) {
    if (!open_) return;
    sheet_[0] = xmin;
    sheet_[1] = ymin;
    sheet_[2] = xmax;
    sheet_[3] = ymax;
    haveSheet_ = true;
    switch (kind_) {
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        if (dxfSection_ == DxfSection::None) dxf_.Header(xmin, ymin, xmax, ymax);
        break;
    case OutputKind::Iges: {
        IgesHeader header;
        header.fileName = std::filesystem::path(path_).stem().string();
        header.version = settings.programVersion;
        header.date = Now("%y%m%d");
        iges_.Begin(header, std::max(xmax, ymax));
        break;
    }
    case OutputKind::Screen:
        if (!blockOpen_) DrawSheetFurniture(true);
        break;
    case OutputKind::Txt:
        txt_.MinMax(xmin, ymin, xmax, ymax);
        break;
    default:
        break;
    }
}

void CadOutput::DrawSheetFurniture(bool screen) {
    if (!haveSheet_) return;
    const real xmin = sheet_[0], ymin = sheet_[1], xmax = sheet_[2], ymax = sheet_[3];
    const real w = xmax - xmin, h = ymax - ymin;
    if (screen && display_) display_->Header(xmin, ymin, xmax, ymax);
    int savedLayer = layer_;
    if (settings.printBorder) {
        CadLayer(19);
        EmitLine(xmin, ymin, xmax, ymin);
        EmitLine(xmax, ymin, xmax, ymax);
        EmitLine(xmax, ymax, xmin, ymax);
        EmitLine(xmin, ymax, xmin, ymin);
    }
    if (screen && display_) {
        std::string footer = Now("%d.%m.%Y %H:%M") + " - " + std::string(kMakerName) + " " +
                             std::string(kProgramTitle) + " V" + settings.programVersion + " - " +
                             springFile_;
        if (footer.size() > 120) footer.resize(120);
        CadLayer(30);
        TextState saved = text_;
        TextState small;
        small.height = 0.006L * h;
        small.width = 0.0045L * w;
        small.ratio = small.height > 0 ? small.width / small.height : 1;
        SendScreenTextStyle(small);
        display_->OutTextXY(footer, xmin + 0.005L * w, ymin + 0.002L * h);
        text_ = saved;
        SendScreenTextStyle(text_);
    }
    CadLayer(savedLayer);
}

void CadOutput::CadTables(int variant) {
    if (open_ && DxfKind() && dxfSection_ == DxfSection::None) dxf_.Tables(variant, settings);
}

void CadOutput::CadBlocksBegin() {
    if (!open_) return;
    blockDefinition_ = true;
    if (DxfKind() && dxfSection_ != DxfSection::Blocks) {
        if (dxfSection_ == DxfSection::Entities) dxf_.SectionEnd();
        dxf_.SectionBegin("BLOCKS");
        dxfSection_ = DxfSection::Blocks;
    }
    if (kind_ == OutputKind::Txt) txt_.SectionBlocks();
}

bool CadOutput::ValidBlockName(std::string_view name) const {
    if (name.empty()) return false;
    for (char c : name) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-' || c == '$';
        if (!ok) return false;
    }
    return true;
}

void CadOutput::CadBlockBegin(std::string_view name) {
    if (!open_) return;
    if (blockOpen_) CadBlockEnd(); // a block inside a block is not possible: close the first
    blockOpen_ = true;
    blockDead_ = false;
    blockName_ = std::string(name);
    polylineOpen_ = false;
    auto refuse = [&](std::string text) {
        session_.Message(text);
        session_.AbortFlag = true;
        blockDead_ = true;
    };
    if (name.size() > kMaxBlockName) return refuse(cadtext::kBlockNameTooLong + blockName_);
    if (!ValidBlockName(name)) return refuse(cadtext::kBlockNameInvalid + blockName_);
    switch (kind_) {
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        if (dxfSection_ == DxfSection::Entities) dxf_.SectionEnd();
        if (dxfSection_ != DxfSection::Blocks) dxf_.SectionBegin("BLOCKS");
        dxfSection_ = DxfSection::Blocks;
        dxf_.BlockBegin(layerName_, name);
        definedBlocks_.insert(UpperAscii(name));
        break;
    case OutputKind::Iges:
        switch (iges_.BlockBegin(name)) {
        case IgesWriter::BlockStatus::Ok:
            break;
        case IgesWriter::BlockStatus::TooManyBlocks:
            return refuse(cadtext::kTooManyBlocks);
        default:
            return refuse(cadtext::kBlockNameTooLong + blockName_);
        }
        break;
    case OutputKind::Screen:
        if (!blockFile_.Create(BlockFilePath(name))) {
            session_.AbortFlag = true;
            blockDead_ = true;
        }
        break;
    case OutputKind::Txt:
        txt_.Block(name);
        break;
    default:
        break;
    }
}

void CadOutput::CadBlockEnd() {
    if (!open_ || !blockOpen_) {
        if (session_.AbortFlag) session_.AbortFlag = false;
        return;
    }
    bool aborted = session_.AbortFlag;
    session_.AbortFlag = false; // the drawing goes on after a failed block
    if (polylineOpen_) CadPolylineEnd();
    bool dead = blockDead_;
    blockOpen_ = false;
    blockDead_ = false;
    if (dead) return;
    switch (kind_) {
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        dxf_.BlockEnd();
        break;
    case OutputKind::Iges:
        iges_.BlockEnd();
        break;
    case OutputKind::Screen:
        if (aborted) {
            blockFile_.Discard();
        } else {
            blockDxf_.Eof();
            if (!blockFile_.Commit()) {
                session_.Message(cadtext::kInvalidTempDirectory);
                session_.AbortFlag = true;
            }
        }
        break;
    case OutputKind::Txt:
        txt_.EndOfBlock();
        break;
    default:
        break;
    }
}

void CadOutput::CadPageStart() {
    if (!open_) return;
    if (blockOpen_) CadBlockEnd();
    blockDefinition_ = false;
    switch (kind_) {
    case OutputKind::Dxf:
    case OutputKind::Plotter:
        if (dxfSection_ != DxfSection::None) dxf_.SectionEnd();
        dxf_.SectionBegin("ENTITIES");
        dxfSection_ = DxfSection::Entities;
        if (kind_ == OutputKind::Plotter) DrawSheetFurniture(false);
        break;
    case OutputKind::Screen:
        if (display_) {
            display_->Clear();
            display_->SetLineStyle(0);
            screenStyle_.reset();
            DrawSheetFurniture(true);
            // The list was emptied: the layer's colour, style and width must be sent again.
            ScreenLayerStyle(layer_);
        }
        break;
    case OutputKind::Txt:
        txt_.SectionEntities();
        break;
    default:
        break;
    }
    if ((kind_ == OutputKind::Screen || kind_ == OutputKind::Plotter) && logos_) InsertLogos();
}

void CadOutput::InsertLogos() {
    if (!haveSheet_) return;
    const real xmin = sheet_[0], ymin = sheet_[1];
    const real w = sheet_[2] - sheet_[0], h = sheet_[3] - sheet_[1];
    const struct {
        const char* name;
        real fx, fy;
    } logos[] = {{"LOGO_2", 0.91L, 0.01L}, {"LOGO_3", 0.91L, 0.96L}};
    static_assert(std::size(logos) == std::tuple_size_v<std::array<bool, 2>>);
    if (!readableLogos_) {
        readableLogos_.emplace();
        for (std::size_t i = 0; i < std::size(logos); ++i)
            (*readableLogos_)[i] = ::access(BlockFilePath(logos[i].name).c_str(), R_OK) == 0;
    }
    for (std::size_t i = 0; i < std::size(logos); ++i) {
        if (!(*readableLogos_)[i]) continue;
        const auto& logo = logos[i];
        ReadBlockFile(logo.name, xmin + logo.fx * w, ymin + logo.fy * h, 0, w / 480, h / 360);
    }
}

void CadOutput::CadSectionEnd() {
    if (!open_) return;
    if (blockOpen_) CadBlockEnd();
    blockDefinition_ = false;
    if (DxfKind() && dxfSection_ != DxfSection::None) {
        dxf_.SectionEnd();
        dxfSection_ = DxfSection::None;
    }
}

// ---------------------------------------------------------------------------------------------
// Layers and styles

int CadOutput::ScreenLineWidth(int n) const {
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

void CadOutput::ScreenLayerStyle(int n) {
    if (!ScreenDrawing() || !display_) return;
    constexpr int kStandardStyles[6] = {0, 2, 3, 0, 0, 0};
    if (layerMode_ == 0 && n <= 5) {
        display_->SetLineStyle(kStandardStyles[n]);
        display_->SetColorAcad(n == 0 ? 1 : settings.layerColors[n]);
    } else {
        if (layerMode_ == 0) display_->SetLineStyle(0);
        if (n >= 16 && n <= 31 && layerMode_ != 2)
            display_->SetColorAcad(settings.upperLayerColors[n - 16]);
        if (n == 0 && layerMode_ == 2) display_->SetColor(0);
    }
    display_->SetLineWidth(ScreenLineWidth(n));
}

void CadOutput::CadLayer(int n) {
    n = FoldLayer(n);
    layer_ = n;
    layerName_ = n >= 1 && n <= 5 ? settings.layerNames[n] : std::to_string(n);
    if (!open_) return;
    if (kind_ == OutputKind::Screen) ScreenLayerStyle(n);
    if (kind_ == OutputKind::Iges) {
        IgesLayerStyle style = IgesStyleOfLayer(n, layerMode_, settings, igesLineFont_);
        igesLineFont_ = style.lineFont;
        iges_.SetStyle(style);
    }
}

void CadOutput::CadLineType(int type) {
    lineType_ = type >= 0 && type <= 3 ? type : 0;
    if (ScreenDrawing() && display_) display_->SetLineStyle(lineType_);
}

void CadOutput::SendScreenTextStyle(const TextState& style) {
    if (!ScreenDrawing() || !display_) return;
    if (screenStyle_ && screenStyle_->font == style.font && screenStyle_->angle == style.angle &&
        screenStyle_->height == style.height && screenStyle_->width == style.width)
        return;
    display_->SetTextStyle(style.font, style.angle, style.height, style.width * 0.95L);
    screenStyle_ = style;
}

void CadOutput::CadTextStyle(int font, real angle, real height, real width) {
    text_.font = font;
    text_.angle = angle;
    text_.height = height;
    text_.width = width;
    real factor = settings.textWidthFactor;
    text_.ratio = width > 0 && height > 0 ? width / height * factor : 0.7L * factor;
    SendScreenTextStyle(text_);
}

void CadOutput::CadTextAlign(int horizontal, int vertical) {
    alignH_ = horizontal;
    alignV_ = vertical;
}

// ---------------------------------------------------------------------------------------------
// Emitters (final coordinates)

void CadOutput::EmitLine(real x1, real y1, real x2, real y2) {
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Line(layerName_, x1, y1, x2, y2);
        break;
    case Sink::BlockDxf:
        blockDxf_.Line(layerName_, x1, y1, x2, y2);
        break;
    case Sink::Iges:
        iges_.Line(x1, y1, x2, y2);
        break;
    case Sink::Screen:
        display_->line(x1, y1, x2, y2);
        break;
    case Sink::Txt:
        txt_.Line(x1, y1, x2, y2);
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::EmitCircle(real x, real y, real r) {
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Circle(layerName_, x, y, r);
        break;
    case Sink::BlockDxf:
        blockDxf_.Circle(layerName_, x, y, r);
        break;
    case Sink::Iges:
        iges_.Circle(x, y, r);
        break;
    case Sink::Screen:
        display_->circle(x, y, r);
        break;
    case Sink::Txt:
        txt_.Circle(x, y, r);
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::EmitArc(real x, real y, real r, real start, real end) {
    if (r == 0) return;
    if (DxfWriter::IsFullCircle(start, end)) return EmitCircle(x, y, r);
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Arc(layerName_, x, y, r, start, end);
        break;
    case Sink::BlockDxf:
        blockDxf_.Arc(layerName_, x, y, r, start, end);
        break;
    case Sink::Iges:
        iges_.Arc(x, y, r, start, end);
        break;
    case Sink::Screen:
        display_->Arc(x, y, start, end, r);
        break;
    case Sink::Txt:
        txt_.Arc(x, y, r, start, end);
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::EmitText(std::string_view text, real x, real y, real height, real ratio,
                         real angle) {
    if (text.empty()) return;
    const int mode = settings.textMode;
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Text(layerName_, x, y, height, ConvertCadText(text, mode), ratio, angle,
                  settings.textObliqueAngle);
        break;
    case Sink::BlockDxf: // read back by this program: the text stays in code page 850
        blockDxf_.Text(layerName_, x, y, height, text, ratio, angle, settings.textObliqueAngle);
        break;
    case Sink::Iges:
        iges_.Text(ConvertCadText(text, mode), x, y, height, ratio, angle);
        break;
    case Sink::Screen: {
        TextState style = text_;
        if (height != text_.height || ratio != text_.ratio || angle != text_.angle) {
            real factor = settings.textWidthFactor != 0 ? settings.textWidthFactor : 1;
            style.height = height;
            style.angle = angle;
            style.width = ratio * height / factor;
        }
        SendScreenTextStyle(style);
        display_->OutTextXY(text, x, y);
        break;
    }
    case Sink::Txt:
        txt_.Text(x, y, ConvertCadText(text, mode));
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::EmitSolid(const real (&x)[4], const real (&y)[4]) {
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Solid(layerName_, x, y);
        break;
    case Sink::BlockDxf:
        blockDxf_.Solid(layerName_, x, y);
        break;
    case Sink::Iges:
        iges_.Solid(x, y);
        break;
    case Sink::Screen: // a CAD solid's outline runs through corners 1, 2, 4, 3
        display_->Solid(x[0], y[0], x[1], y[1], x[3], y[3], x[2], y[2]);
        break;
    case Sink::Txt:
        txt_.Solid(x, y);
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::EmitBulgeSegment(real bulgeAngle, real x1, real y1, real x2, real y2) {
    if (bulgeAngle == 0) return EmitLine(x1, y1, x2, y2);
    ArcGeometry a = BulgeArc(session_, bulgeAngle, x1, y1, x2, y2);
    if (a.valid)
        EmitArc(a.xc, a.yc, a.r, a.start, a.end);
    else
        EmitLine(x1, y1, x2, y2);
}

// ---------------------------------------------------------------------------------------------
// Entities

void CadOutput::CadLine(real x1, real y1, real x2, real y2) {
    EmitLine(x1 + offsetX_, y1 + offsetY_, x2 + offsetX_, y2 + offsetY_);
}

void CadOutput::CadCircle(real x, real y, real r) {
    EmitCircle(x + offsetX_, y + offsetY_, r);
}

void CadOutput::CadArc(real x, real y, real start, real end, real r) {
    EmitArc(x + offsetX_, y + offsetY_, r, start, end);
}

void CadOutput::CadSolid(real x1, real y1, real x2, real y2, real x3, real y3, real x4, real y4) {
    const real x[4] = {x1 + offsetX_, x2 + offsetX_, x3 + offsetX_, x4 + offsetX_};
    const real y[4] = {y1 + offsetY_, y2 + offsetY_, y3 + offsetY_, y4 + offsetY_};
    EmitSolid(x, y);
}

void CadOutput::CadText(std::string_view text, real x, real y) {
    if (text.empty()) return;
    const real n = static_cast<real>(text.size());
    const real h = text_.height, k = text_.ratio;
    real dx = alignH_ == 1 ? n * h * k / 2 : alignH_ == 2 ? n * h * k : 0;
    real dy = alignV_ == 1 ? h / 2 : alignV_ == 2 ? h : 0;
    EmitText(text, x + offsetX_ - dx, y + offsetY_ - dy, h, k, text_.angle);
}

void CadOutput::CadCursor(real x, real y) {
    cursor_ = {x, y};
}

void CadOutput::CadTextLine(std::string_view text) {
    CadText(text, cursor_.x, cursor_.y);
    CadLineFeed(1);
}

void CadOutput::CadLineFeed(real lines) {
    cursor_.y -= lines * 1.6L * text_.height * lineSpacing_;
}

void CadOutput::CadLineSpacing(real factor) {
    lineSpacing_ = factor;
}

void CadOutput::CadValueLine(std::string_view name, std::string_view value) {
    std::string line = std::string(name) + " = " + std::string(value) +
                       (session_.config.unitSystem == 1 ? " in" : " mm");
    CadTextLine(line);
}

void CadOutput::CadMoveTo(real x, real y) {
    pen_ = {x, y};
}

void CadOutput::CadLineTo(real x, real y) {
    CadLine(pen_.x, pen_.y, x, y);
    pen_ = {x, y};
}

void CadOutput::CadRectangle(real x1, real y1, real x2, real y2) {
    CadLine(x1, y1, x2, y1);
    CadLine(x2, y1, x2, y2);
    CadLine(x2, y2, x1, y2);
    CadLine(x1, y2, x1, y1);
}

void CadOutput::CadInsert(std::string_view name, real x, real y, real rotation, real xScale,
                          real yScale) {
    if (!open_ || blockDead_) return;
    x += offsetX_;
    y += offsetY_;
    auto notFound = [&] {
        session_.Message(std::string(cadtext::kBlockName) + std::string(name) + cadtext::kNotFound);
    };
    bool known = definedBlocks_.count(UpperAscii(name)) > 0;
    switch (CurrentSink()) {
    case Sink::Dxf:
        if (known) {
            EnsureDxfEntities();
            dxf_.Insert(layerName_, name, x, y, xScale, yScale, rotation);
        } else if (kind_ == OutputKind::Plotter && ValidBlockName(name) &&
                   ::access(BlockFilePath(name).c_str(), R_OK) == 0) {
            // A screen block file (the logos): the plotting program gets its entities.
            ReadBlockFile(name, x, y, rotation, xScale, yScale);
        } else {
            notFound();
        }
        break;
    case Sink::BlockDxf:
        blockDxf_.Insert(layerName_, name, x, y, xScale, yScale, rotation);
        break;
    case Sink::Iges:
        if (iges_.Insert(name, x, y, rotation) != IgesWriter::BlockStatus::Ok) notFound();
        break;
    case Sink::Screen:
        ReadBlockFile(name, x, y, rotation, xScale, yScale);
        break;
    case Sink::Txt:
        txt_.Insert(name, x, y, rotation, xScale, yScale);
        break;
    case Sink::None:
        break;
    }
}

void CadOutput::CadPolylineBegin(int flags) {
    polylineOpen_ = true;
    vertexCount_ = 0;
    lastBulge_ = 0;
    Sink sink = CurrentSink();
    if (sink == Sink::Dxf) {
        EnsureDxfEntities();
        dxf_.PolylineBegin(layerName_, flags);
    } else if (sink == Sink::BlockDxf) {
        blockDxf_.PolylineBegin(layerName_, flags);
    }
}

void CadOutput::CadPolylineVertex(real bulgeAngle, real x, real y) {
    x += offsetX_;
    y += offsetY_;
    Sink sink = CurrentSink();
    if (polylineOpen_ && (sink == Sink::Dxf || sink == Sink::BlockDxf)) {
        real bulge = std::tan(bulgeAngle * kDeg / 4);
        (sink == Sink::Dxf ? dxf_ : blockDxf_).Vertex(layerName_, x, y, bulge);
    } else if (vertexCount_ > 0) {
        EmitBulgeSegment(lastBulge_, lastVertex_.x, lastVertex_.y, x, y);
    }
    lastVertex_ = {x, y};
    lastBulge_ = bulgeAngle;
    ++vertexCount_;
}

void CadOutput::CadPolylineEnd() {
    if (!polylineOpen_) return;
    polylineOpen_ = false;
    Sink sink = CurrentSink();
    if (sink == Sink::Dxf) dxf_.SeqEnd(layerName_);
    if (sink == Sink::BlockDxf) blockDxf_.SeqEnd(layerName_);
}

void CadOutput::CadArrow(real x, real y, real direction) {
    const real L = 3.5L * drawingScale_;
    auto at = [&](real degrees) {
        return CadPoint{x + L * std::cos(degrees * kDeg), y + L * std::sin(degrees * kDeg)};
    };
    CadPoint plus = at(direction + 10), minus = at(direction - 10), tail = at(direction);
    CadSolid(x, y, plus.x, plus.y, minus.x, minus.y, tail.x, tail.y);
    CadLine(tail.x, tail.y, x, y);
}

void CadOutput::CadEllipse(real a, real b, real x, real y) {
    constexpr real step = 0.05L;
    CadPolylineBegin(0);
    for (int k = 0; k * step < 2 * kPi; ++k) {
        real t = k * step;
        CadPolylineVertex(0, x + a * std::cos(t), y + b * std::sin(t));
    }
    CadPolylineVertex(0, x + a, y); // closed: back to the start at 2π
    CadPolylineEnd();
}

// ---------------------------------------------------------------------------------------------
// 3D entities: files take the true 3D line, everything else the projected point

void CadOutput::CadLine3D(real x1, real y1, real z1, real x2, real y2, real z2) {
    x1 += offsetX_;
    y1 += offsetY_;
    x2 += offsetX_;
    y2 += offsetY_;
    switch (CurrentSink()) {
    case Sink::Dxf:
        EnsureDxfEntities();
        dxf_.Line3D(layerName_, x1, y1, z1, x2, y2, z2);
        return;
    case Sink::Iges:
        iges_.Line3D(x1, y1, z1, x2, y2, z2);
        return;
    case Sink::Txt:
        txt_.Line3D(x1, y1, z1, x2, y2, z2);
        return;
    default:
        break;
    }
    x1 -= offsetX_;
    y1 -= offsetY_;
    x2 -= offsetX_;
    y2 -= offsetY_;
    CadPoint a = projection_ ? projection_(x1, y1, z1) : CadPoint{x1, y1};
    CadPoint b = projection_ ? projection_(x2, y2, z2) : CadPoint{x2, y2};
    CadLine(a.x, a.y, b.x, b.y);
}

void CadOutput::CadArc3D(real x, real y, real z, real start, real end, real r) {
    CadPoint c = projection_ ? projection_(x, y, z) : CadPoint{x, y};
    CadArc(c.x, c.y, start, end, r);
}

void CadOutput::CadCircle3D(real x, real y, real z, real r) {
    CadPoint c = projection_ ? projection_(x, y, z) : CadPoint{x, y};
    CadCircle(c.x, c.y, r);
}

void CadOutput::CadText3D(std::string_view text, real x, real y, real z) {
    CadPoint p = projection_ ? projection_(x, y, z) : CadPoint{x, y};
    CadText(text, p.x, p.y);
}

void CadOutput::CadSolid3D(const real (&x)[4], const real (&y)[4], const real (&z)[4]) {
    CadPoint p[4];
    for (int i = 0; i < 4; ++i)
        p[i] = projection_ ? projection_(x[i], y[i], z[i]) : CadPoint{x[i], y[i]};
    CadSolid(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
}

void CadOutput::CadMoveTo3D(real x, real y, real z) {
    pen3_ = {x, y};
    penZ_ = z;
}

void CadOutput::CadLineTo3D(real x, real y, real z) {
    CadLine3D(pen3_.x, pen3_.y, penZ_, x, y, z);
    CadMoveTo3D(x, y, z);
}

void CadOutput::CadSleep(int milliseconds) {
    if (ScreenDrawing() && display_) display_->SleepMs(milliseconds);
}

// ---------------------------------------------------------------------------------------------
// Block files read back

void CadOutput::EmitBlockEntity(const DxfEntity& e, const Transform& t) {
    using T = DxfEntity::Type;
    switch (e.type) {
    case T::Line: {
        CadPoint a = t.Apply(e.x[0], e.y[0]), b = t.Apply(e.x[1], e.y[1]);
        EmitLine(a.x, a.y, b.x, b.y);
        break;
    }
    case T::Circle: {
        CadPoint c = t.Apply(e.x[0], e.y[0]);
        EmitCircle(c.x, c.y, e.radius * t.sx);
        break;
    }
    case T::Arc: {
        CadPoint c = t.Apply(e.x[0], e.y[0]);
        EmitArc(c.x, c.y, e.radius * t.sx, e.start + t.rotation, e.end + t.rotation);
        break;
    }
    case T::Text: {
        CadPoint p = t.Apply(e.x[0], e.y[0]);
        real sy = std::fabs(t.sy);
        real ratio = sy != 0 ? e.widthFactor * std::fabs(t.sx) / sy : e.widthFactor;
        EmitText(e.text, p.x, p.y, e.height * sy, ratio, e.angle + t.rotation);
        break;
    }
    case T::Solid: {
        real x[4], y[4];
        for (int i = 0; i < 4; ++i) {
            CadPoint p = t.Apply(e.x[i], e.y[i]);
            x[i] = p.x;
            y[i] = p.y;
        }
        EmitSolid(x, y);
        break;
    }
    case T::Polyline:
        for (std::size_t i = 1; i < e.vertices.size(); ++i) {
            const DxfVertex &a = e.vertices[i - 1], &b = e.vertices[i];
            CadPoint p = t.Apply(a.x, a.y), q = t.Apply(b.x, b.y);
            EmitBulgeSegment(4 * std::atan(a.bulge) / kDeg, p.x, p.y, q.x, q.y);
        }
        break;
    case T::Insert:
        break; // followed by the caller
    }
}

bool CadOutput::ReadBlockFile(std::string_view name, real x, real y, real rotation, real xScale,
                              real yScale) {
    return ReadBlockFileAt(name, Transform{}, x, y, rotation, xScale, yScale);
}

bool CadOutput::ReadBlockFileAt(std::string_view name, const Transform& outer, real x, real y,
                                real rotation, real xScale, real yScale) {
    if (depth_ >= kMaxInsertDepth) {
        session_.Fatal(cadtext::kErrorBlockNo + std::to_string(depth_ + 1));
        session_.AbortFlag = true;
        return false;
    }
    std::vector<DxfEntity> entities;
    DxfReadStatus status = ValidBlockName(name) ? ReadDxfEntities(BlockFilePath(name), entities)
                                                : DxfReadStatus::CannotOpen;
    if (status == DxfReadStatus::CannotOpen) {
        session_.Message(cadtext::kInvalidTempDirectory);
        session_.AbortFlag = true;
        return false;
    }
    if (status == DxfReadStatus::Malformed) session_.Message(cadtext::kErrorInDxfFile);

    Transform t;
    CadPoint origin = outer.Apply(x, y);
    t.ox = origin.x;
    t.oy = origin.y;
    t.rotation = outer.rotation + rotation;
    t.sx = outer.sx * xScale;
    t.sy = outer.sy * yScale;

    ++depth_;
    const int savedLayer = layer_;
    const TextState savedText = text_;
    bool ok = true;
    for (const DxfEntity& e : entities) {
        CadLayer(LayerNumberOf(e.layer, settings.layerNames));
        if (e.type == DxfEntity::Type::Insert) {
            if (!ReadBlockFileAt(e.block, t, e.x[0], e.y[0], e.rotation, e.xScale, e.yScale)) {
                ok = false;
                if (session_.FatalFlag) break;
            }
        } else {
            EmitBlockEntity(e, t);
        }
    }
    --depth_;
    CadLayer(savedLayer);
    text_ = savedText;
    SendScreenTextStyle(text_);
    return ok && status == DxfReadStatus::Ok;
}

} // namespace kora
