#include "graphics/cad_output.h"

#include "base/codepage.h"
#include "base/temp_folder.h"
#include "base/text.h"

#include "calc/session.h"
#include "graphics/cad_format.h"
#include "graphics/cad_sinks.h"
#include "graphics/cad_texts.h"
#include "graphics/plotter.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <numbers>

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
    : session_(session), display_(display), blocks_(session) {}

CadOutput::~CadOutput() {
    CloseAll();
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
    session_.dialogs->ShowError(std::string(cadtext::kFile) + Utf8ToCp850(path_) + " " + what);
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
    state_.layer = 0;
    state_.layerName = "0";
    state_.text = CadTextState{}; // height 2.5, width ratio 1.0 until the first CadTextStyle
    state_.haveSheet = state_.blockOpen = false;
    blockDead_ = false;
    blocks_.Clear();
    polylineOpen_ = false;
    vertexCount_ = 0;
    readableLogos_.reset();
    depth_ = 0;
}

void CadOutput::CloseAll() {
    file_.Discard();
    blocks_.DiscardFile();
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

std::unique_ptr<CadSink> CadOutput::MakeSink(OutputKind kind) {
    const int decimals = settings.decimals >= 1 && settings.decimals <= 32 ? settings.decimals : 6;
    const int dezimalstellen = session_.config.Dezimalstellen;
    const CadSinkContext context{state_, settings, blocks_};
    switch (kind) {
    case OutputKind::Dxf:
        return std::make_unique<DxfSink>(context, file_, decimals, dezimalstellen);
    case OutputKind::Iges:
        return std::make_unique<IgesSink>(context, file_, [this] {
            IgesHeader header;
            header.fileName = std::filesystem::path(path_).stem().string();
            header.version = settings.programVersion;
            header.date = Now("%y%m%d");
            return header;
        });
    case OutputKind::Screen:
        return std::make_unique<ScreenSink>(context, display_, decimals, dezimalstellen,
                                            [this] { return ScreenFooter(); });
    case OutputKind::Plotter:
        path_ = TempFolder() + "/" + cadtext::kPlotFile;
        session_.dialogs->ShowInfo(Utf8ToCp850(path_) + " " + cadtext::kPlotted + "..", "");
        return std::make_unique<PlotterSink>(context, file_, decimals, dezimalstellen, session_);
    case OutputKind::Txt:
        return std::make_unique<TxtSink>(context, file_, decimals,
                                         session_.config.decimalSeparator == 2);
    default:
        return nullptr;
    }
}

std::string CadOutput::ScreenFooter() const {
    return Now("%d.%m.%Y %H:%M") + " - " + std::string(kMakerName) + " " +
           std::string(kProgramTitle) + " V" + settings.programVersion + " - " + springFile_;
}

bool CadOutput::CadBeginFile(OutputKind kind, const std::string& path) {
    CloseAll();
    ResetState();
    kind_ = kind;
    path_ = path;
    sink_ = MakeSink(kind);
    if (!sink_) {
        session_.AbortFlag = true;
        return false;
    }
    if (sink_->WritesFile() && (path_.empty() || !file_.Create(path_))) {
        if (file_.Result().stage == FileWriteResult::Stage::Protected) { // left as it is
            session_.dialogs->ShowError(FileWriteMessage(file_.Result()));
            session_.AbortFlag = true;
        } else {
            FileError(cadtext::kCannotCreate);
        }
        return false;
    }
    sink_->Open();
    open_ = true;
    return true;
}

bool CadOutput::CadEnd() {
    if (!open_) return false;
    if (state_.blockOpen) CadBlockEnd();
    polylineOpen_ = false;
    sink_->End();
    open_ = false;
    if (!sink_->WritesFile()) return true;
    // A drawing stopped by a failure (AbortFlag from hatching or a block) keeps what it drew:
    // the file is completed and stored, and the message stays in the list.
    if (!file_.Commit()) {
        FileError(cadtext::kCannotWrite);
        return false;
    }
    return sink_->Delivered();
}

// ---------------------------------------------------------------------------------------------
// Sections and blocks

void CadOutput::CadSheet(real xmin, real ymin, real xmax, real ymax) {
    if (!open_) return;
    state_.sheet[0] = xmin;
    state_.sheet[1] = ymin;
    state_.sheet[2] = xmax;
    state_.sheet[3] = ymax;
    state_.haveSheet = true;
    sink_->Sheet(xmin, ymin, xmax, ymax);
}

void CadOutput::CadTables(int variant) {
    if (open_) sink_->Tables(variant);
}

void CadOutput::CadBlocksBegin() {
    if (open_) sink_->BlocksBegin();
}

void CadOutput::RefuseBlock(const std::string& message) {
    session_.Message(message);
    session_.AbortFlag = true;
    blockDead_ = true;
}

void CadOutput::CadBlockBegin(std::string_view name) {
    if (!open_) return;
    if (state_.blockOpen) CadBlockEnd(); // a block inside a block is not possible: close the first
    state_.blockOpen = true;
    blockDead_ = false;
    polylineOpen_ = false;
    const std::string shown(name);
    if (name.size() > kMaxBlockName) return RefuseBlock(cadtext::kBlockNameTooLong + shown);
    if (!CadBlockStore::ValidName(name)) return RefuseBlock(cadtext::kBlockNameInvalid + shown);
    switch (sink_->BlockBegin(name)) {
    case CadBlockStart::Open:
        break;
    case CadBlockStart::Failed:
        session_.AbortFlag = true;
        blockDead_ = true;
        break;
    case CadBlockStart::TooManyBlocks:
        return RefuseBlock(cadtext::kTooManyBlocks);
    case CadBlockStart::NameTooLong:
        return RefuseBlock(cadtext::kBlockNameTooLong + shown);
    }
}

void CadOutput::CadBlockEnd() {
    if (!open_ || !state_.blockOpen) {
        if (session_.AbortFlag) session_.AbortFlag = false;
        return;
    }
    bool aborted = session_.AbortFlag;
    session_.AbortFlag = false; // the drawing goes on after a failed block
    if (polylineOpen_) CadPolylineEnd();
    bool dead = blockDead_;
    state_.blockOpen = false;
    blockDead_ = false;
    if (dead) return;
    if (!sink_->BlockEnd(aborted)) {
        session_.Message(cadtext::kInvalidTempDirectory);
        session_.AbortFlag = true;
    }
}

void CadOutput::CadPageStart() {
    if (!open_) return;
    if (state_.blockOpen) CadBlockEnd();
    sink_->PageStart();
    if (logos_ && sink_->ShowsLogos()) InsertLogos();
}

void CadOutput::InsertLogos() {
    if (!state_.haveSheet) return;
    const real* sheet = state_.sheet;
    const real xmin = sheet[0], ymin = sheet[1];
    const real w = sheet[2] - sheet[0], h = sheet[3] - sheet[1];
    const struct {
        const char* name;
        real fx, fy;
    } logos[] = {{"LOGO_2", 0.91L, 0.01L}, {"LOGO_3", 0.91L, 0.96L}};
    static_assert(std::size(logos) == std::tuple_size_v<std::array<bool, 2>>);
    if (!readableLogos_) {
        readableLogos_.emplace();
        for (std::size_t i = 0; i < std::size(logos); ++i)
            (*readableLogos_)[i] = blocks_.IsReadable(logos[i].name);
    }
    for (std::size_t i = 0; i < std::size(logos); ++i) {
        if (!(*readableLogos_)[i]) continue;
        const auto& logo = logos[i];
        ReadBlockFile(logo.name, xmin + logo.fx * w, ymin + logo.fy * h, 0, w / 480, h / 360);
    }
}

void CadOutput::CadSectionEnd() {
    if (!open_) return;
    if (state_.blockOpen) CadBlockEnd();
    sink_->SectionEnd();
}

// ---------------------------------------------------------------------------------------------
// Layers and styles

void CadOutput::CadLayer(int n) {
    n = FoldLayer(n);
    state_.layer = n;
    state_.layerName = n >= 1 && n <= 5 ? settings.layerNames[n] : std::to_string(n);
    if (open_) sink_->Layer(n);
}

void CadOutput::CadLineType(int type) {
    lineType_ = type >= 0 && type <= 3 ? type : 0;
    if (open_) sink_->LineType(lineType_);
}

void CadOutput::CadTextStyle(int font, real angle, real height, real width) {
    CadTextState& text = state_.text;
    text.font = font;
    text.angle = angle;
    text.height = height;
    text.width = width;
    real factor = settings.textWidthFactor;
    text.ratio = width > 0 && height > 0 ? width / height * factor : 0.7L * factor;
    if (open_) sink_->TextStyle(text);
}

void CadOutput::CadTextAlign(int horizontal, int vertical) {
    alignH_ = horizontal;
    alignV_ = vertical;
}

// ---------------------------------------------------------------------------------------------
// Emitters (final coordinates)

void CadOutput::EmitLine(real x1, real y1, real x2, real y2) {
    if (CadSink* sink = Target()) sink->Line(x1, y1, x2, y2);
}

void CadOutput::EmitCircle(real x, real y, real r) {
    if (CadSink* sink = Target()) sink->Circle(x, y, r);
}

void CadOutput::EmitArc(real x, real y, real r, real start, real end) {
    if (r == 0) return;
    if (DxfWriter::IsFullCircle(start, end)) return EmitCircle(x, y, r);
    if (CadSink* sink = Target()) sink->Arc(x, y, r, start, end);
}

void CadOutput::EmitText(std::string_view text, real x, real y, real height, real ratio,
                         real angle) {
    if (text.empty()) return;
    if (CadSink* sink = Target()) sink->Text(text, x, y, height, ratio, angle);
}

void CadOutput::EmitSolid(const real (&x)[4], const real (&y)[4]) {
    if (CadSink* sink = Target()) sink->Solid(x, y);
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

void CadOutput::CadArc(real x, real y, real r, real start, real end) {
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
    const real h = state_.text.height, k = state_.text.ratio;
    real dx = alignH_ == 1 ? n * h * k / 2 : alignH_ == 2 ? n * h * k : 0;
    real dy = alignV_ == 1 ? h / 2 : alignV_ == 2 ? h : 0;
    EmitText(text, x + offsetX_ - dx, y + offsetY_ - dy, h, k, state_.text.angle);
}

void CadOutput::CadCursor(real x, real y) {
    cursor_ = {x, y};
}

void CadOutput::CadTextLine(std::string_view text) {
    CadText(text, cursor_.x, cursor_.y);
    CadLineFeed(1);
}

void CadOutput::CadLineFeed(real lines) {
    cursor_.y -= lines * 1.6L * state_.text.height * lineSpacing_;
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
    CadSink* sink = Target();
    if (!sink) return;
    x += offsetX_;
    y += offsetY_;
    switch (sink->Insert(name, x, y, rotation, xScale, yScale)) {
    case CadInsertResult::Written:
        break;
    case CadInsertResult::Unknown:
        session_.Message(std::string(cadtext::kBlockName) + std::string(name) + cadtext::kNotFound);
        break;
    case CadInsertResult::FromFile:
        ReadBlockFile(name, x, y, rotation, xScale, yScale);
        break;
    }
}

void CadOutput::CadPolylineBegin(int flags) {
    polylineOpen_ = true;
    vertexCount_ = 0;
    lastBulge_ = 0;
    if (CadSink* sink = Target()) sink->PolylineBegin(flags);
}

void CadOutput::CadPolylineVertex(real bulgeAngle, real x, real y) {
    x += offsetX_;
    y += offsetY_;
    CadSink* sink = polylineOpen_ ? Target() : nullptr;
    if (!(sink && sink->Vertex(x, y, bulgeAngle)) && vertexCount_ > 0)
        EmitBulgeSegment(lastBulge_, lastVertex_.x, lastVertex_.y, x, y);
    lastVertex_ = {x, y};
    lastBulge_ = bulgeAngle;
    ++vertexCount_;
}

void CadOutput::CadPolylineEnd() {
    if (!polylineOpen_) return;
    polylineOpen_ = false;
    if (CadSink* sink = Target()) sink->PolylineEnd();
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
    CadSink* sink = Target();
    if (sink && sink->Line3D(x1, y1, z1, x2, y2, z2)) return;
    // The projection takes the drawing's own coordinates; CadLine adds the offset again.
    x1 -= offsetX_;
    y1 -= offsetY_;
    x2 -= offsetX_;
    y2 -= offsetY_;
    CadPoint a = projection_ ? projection_(x1, y1, z1) : CadPoint{x1, y1};
    CadPoint b = projection_ ? projection_(x2, y2, z2) : CadPoint{x2, y2};
    CadLine(a.x, a.y, b.x, b.y);
}

void CadOutput::CadArc3D(real x, real y, real z, real r, real start, real end) {
    CadPoint c = projection_ ? projection_(x, y, z) : CadPoint{x, y};
    CadArc(c.x, c.y, r, start, end);
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
    if (open_) sink_->Sleep(milliseconds);
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
    DxfReadStatus status = blocks_.Read(name, entities);
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
    const int savedLayer = state_.layer;
    const CadTextState savedText = state_.text;
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
    state_.text = savedText;
    if (open_) sink_->TextStyle(state_.text);
    return ok && status == DxfReadStatus::Ok;
}

} // namespace kora
