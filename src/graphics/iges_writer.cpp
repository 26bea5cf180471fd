#include "graphics/iges_writer.h"

#include "graphics/cad_format.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kora {
namespace {

constexpr std::size_t kDataColumns = 72;
constexpr std::size_t kParameterColumns = 64;

// IGES colour of the CAD colours 0 to 15.
constexpr int kIgesColors[16] = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};

constexpr const char* kStatusPlain = "00000000";
constexpr const char* kStatusSubordinate = "00010000";

std::string Hollerith(std::string_view text) {
    return std::to_string(text.size()) + "H" + std::string(text);
}

std::string Num(real value) {
    return FixedNumber(value, 3);
}
std::string Matrix(real value) {
    return FixedNumber(value, 6);
}

// One 80-column record: data padded to 72 columns, the section letter, the sequence number.
void AppendRecord(std::string& out, std::string_view data, char section, int sequence) {
    out.append(data.substr(0, kDataColumns));
    out.append(kDataColumns - std::min(data.size(), kDataColumns), ' ');
    char tail[16];
    std::snprintf(tail, sizeof tail, "%c%07d\r\n", section, sequence);
    out.append(tail);
}

// Records of a free-format section (Start, Global): text longer than 72 columns continues on
// the next record.
int AppendFreeRecords(std::string& out, std::string_view text, char section, int sequence) {
    do {
        AppendRecord(out, text.substr(0, kDataColumns), section, ++sequence);
        text.remove_prefix(std::min(text.size(), kDataColumns));
    } while (!text.empty());
    return sequence;
}

std::string Field(std::string_view value) {
    std::string f(8 - std::min<std::size_t>(8, value.size()), ' ');
    f.append(value.substr(0, 8));
    return f;
}
std::string Field(int value) {
    return Field(std::to_string(value));
}

// Length of the token at the start of `text`: up to and including the next ',' or ';' outside
// a Hollerith string.
std::size_t TokenLength(std::string_view text) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (digits > 0 && i < text.size() && text[i] == 'H') {
        std::size_t length = std::stoul(std::string(text.substr(0, digits)));
        i = std::min(text.size(), i + 1 + length);
    }
    while (i < text.size() && text[i] != ',' && text[i] != ';')
        ++i;
    return std::min(text.size(), i + 1);
}

} // namespace

int IgesColorOf(int cadColor) {
    if (cadColor < 0) return 0;
    return kIgesColors[cadColor % 16];
}

IgesLayerStyle IgesStyleOfLayer(int n, int layerMode, const CadSettings& settings, int lineFont) {
    int c = 0;
    if (layerMode == 0 && n >= 0 && n <= 5) {
        c = n == 0 ? 7 : settings.layerColors[n];
        lineFont = n == 1 ? 4 : n == 2 ? 2 : 1;
    } else if (layerMode == 0 && n >= 16 && n <= 31) {
        c = settings.upperLayerColors[n - 16];
        lineFont = 1;
    } else {
        c = (n % 16) + 1;
        if (layerMode == 0) lineFont = 1;
    }
    return {lineFont, IgesColorOf(c)};
}

std::vector<std::string> IgesWriter::SplitParameters(std::string_view text) {
    std::vector<std::string> pieces;
    std::string piece;
    while (!text.empty()) {
        std::size_t n = TokenLength(text);
        if (piece.size() + n <= kParameterColumns) {
            piece.append(text.substr(0, n));
            text.remove_prefix(n);
            continue;
        }
        if (n > kParameterColumns) { // a string longer than a record fills records completely
            std::size_t room = kParameterColumns - piece.size();
            piece.append(text.substr(0, room));
            text.remove_prefix(room);
        }
        pieces.push_back(std::move(piece));
        piece.clear();
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

void IgesWriter::Begin(const IgesHeader& header, real maxCoordinate) {
    const IgesLayerStyle style = style_; // the layer set before the sheet stays in force
    *this = IgesWriter{};
    style_ = style;
    header_ = header;
    maxCoordinate_ = maxCoordinate;
}

int IgesWriter::Entity(int type, int form, std::string_view matrixField,
                       const std::vector<std::string>& texts, bool subordinate) {
    deNumber_ += 2;
    ++entityCount_;
    std::vector<std::string> records;
    for (const auto& text : texts)
        for (auto& piece : SplitParameters(text))
            records.push_back(std::move(piece));
    int pCount = static_cast<int>(records.size());

    std::string first = Field(type) + Field(pNext_) + Field(1) + Field(style_.lineFont) +
                        Field(style_.color) + Field("") + Field(matrixField) + Field("") +
                        Field(subordinate ? kStatusSubordinate : kStatusPlain);
    AppendRecord(directory_, first, 'D', deNumber_);
    std::string second = Field(type) + Field("") + Field(style_.color) + Field(pCount) +
                         Field(form ? std::to_string(form) : std::string()) + Field("") +
                         Field("") + Field("") + Field("");
    AppendRecord(directory_, second, 'D', deNumber_ + 1);

    char pointer[16];
    std::snprintf(pointer, sizeof pointer, "%8d", deNumber_);
    for (const auto& record : records) {
        std::string data = record;
        data.append(kParameterColumns - std::min(kParameterColumns, data.size()), ' ');
        data.append(pointer);
        AppendRecord(parameters_, data, 'P', pNext_++);
    }
    if (inBlock_) members_.push_back(deNumber_);
    return deNumber_;
}

void IgesWriter::Line3D(real x1, real y1, real z1, real x2, real y2, real z2, bool is3D) {
    std::string p = "110," + Num(x1) + "," + Num(y1) + "," + (is3D ? Num(z1) : "0.0") + "," +
                    Num(x2) + "," + Num(y2) + "," + (is3D ? Num(z2) : "0.0") + ";";
    Entity(110, 0, "", {p}, inBlock_);
}

void IgesWriter::Arc(real xc, real yc, real r, real start, real end) {
    constexpr real toRad = std::numbers::pi_v<real> / 180;
    real xs = xc + r * std::cos(start * toRad), ys = yc + r * std::sin(start * toRad);
    real xe = xc + r * std::cos(end * toRad), ye = yc + r * std::sin(end * toRad);
    std::string p = "100,0.0," + Num(xc) + "," + Num(yc) + "," + Num(xs) + "," + Num(ys) + "," +
                    Num(xe) + "," + Num(ye) + ";";
    Entity(100, 0, "0", {p}, inBlock_);
}

void IgesWriter::Circle(real xc, real yc, real r) {
    std::string p = "100,0.0," + Num(xc) + "," + Num(yc) + "," + Num(xc + r) + "," + Num(yc) + "," +
                    Num(xc + r) + "," + Num(yc) + ";";
    Entity(100, 0, "0", {p}, inBlock_);
}

void IgesWriter::Text(std::string_view text, real x, real y, real height, real widthRatio,
                      real angle) {
    constexpr real toRad = std::numbers::pi_v<real> / 180;
    real n = static_cast<real>(text.size());
    std::string p = "212,1," + std::to_string(text.size()) + "," + Num(n * height * widthRatio) +
                    "," + Num(height) + ",1,," + Num(angle * toRad) + ",0,0," + Num(x) + "," +
                    Num(y) + ",0.0," + Hollerith(text) + ";";
    Entity(212, 0, "0", {p}, inBlock_);
}

void IgesWriter::Solid(const real (&x)[4], const real (&y)[4]) {
    constexpr int outline[5] = {0, 1, 3, 2, 0};
    std::string p = "106,1,5,0.0";
    for (int i : outline)
        p += "," + Num(x[i]) + "," + Num(y[i]);
    p += ";";
    Entity(106, 11, "0", {p}, inBlock_);
}

IgesWriter::BlockStatus IgesWriter::BlockBegin(std::string_view name) {
    if (inBlock_) return BlockStatus::AlreadyOpen;
    if (name.size() > kMaxBlockName) return BlockStatus::NameTooLong;
    if (blocks_.size() >= kMaxBlocks) return BlockStatus::TooManyBlocks;
    inBlock_ = true;
    blockName_ = std::string(name);
    members_.clear();
    return BlockStatus::Ok;
}

void IgesWriter::BlockEnd() {
    if (!inBlock_) return;
    inBlock_ = false;
    std::vector<std::string> pieces;
    pieces.push_back("308,0," + Hollerith(blockName_) + "," + std::to_string(members_.size()) +
                     (members_.empty() ? ";" : ","));
    std::string group;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        group += std::to_string(members_[i]) + (i + 1 == members_.size() ? ";" : ",");
        if ((i + 1) % 12 == 0 || i + 1 == members_.size()) {
            pieces.push_back(std::move(group));
            group.clear();
        }
    }
    // The header and the first twelve numbers share records; a new record after every 12.
    if (pieces.size() > 1) {
        pieces[0] += pieces[1];
        pieces.erase(pieces.begin() + 1);
    }
    int de = Entity(308, 0, "", pieces, false);
    // A redefinition replaces the older entry; inserts then refer to the newest.
    for (auto& b : blocks_)
        if (b.name == blockName_) b.name.clear();
    blocks_.push_back({blockName_, de});
}

IgesWriter::BlockStatus IgesWriter::Insert(std::string_view name, real x, real y, real rotation) {
    int definition = 0;
    for (const auto& b : blocks_)
        if (!name.empty() && b.name == name) definition = b.de;
    if (definition == 0) return BlockStatus::NotFound;
    if (rotation == 0) {
        std::string p =
            "408," + std::to_string(definition) + "," + Num(x) + "," + Num(y) + ",0.0,1.0;";
        Entity(408, 0, "", {p}, inBlock_);
        return BlockStatus::Ok;
    }
    constexpr real toRad = std::numbers::pi_v<real> / 180;
    real c = std::cos(rotation * toRad), s = std::sin(rotation * toRad);
    std::string m = "124," + Matrix(c) + "," + Matrix(-s) + ",0.0," + Matrix(x) + "," + Matrix(s) +
                    "," + Matrix(c) + ",0.0," + Matrix(y) + "," + "0.0,0.0,1.0,0.0;";
    bool wasInBlock = inBlock_;
    inBlock_ = false; // the matrix is no member of the block
    int matrix = Entity(124, 0, "", {m}, true);
    inBlock_ = wasInBlock;
    std::string p = "408," + std::to_string(definition) + ",0.0,0.0,0.0,1.0;";
    Entity(408, 0, std::to_string(matrix), {p}, inBlock_);
    return BlockStatus::Ok;
}

void IgesWriter::End(CadFile& out) const {
    std::string text;
    int s = 0;
    std::string title = header_.title.substr(0, 50);
    s = AppendFreeRecords(text, "IGES-Datei generiert von " + title, 'S', s);
    s = AppendFreeRecords(text, std::string(kMakerName) + " IGES-Translator Version 3.1", 'S', s);
    s = AppendFreeRecords(text, "2D-Zeichnung, Einheit mm", 'S', s);

    std::string program = header_.title + " V" + header_.version;
    const std::string global[] = {
        ",," + Hollerith("FILE") + "," + Hollerith(header_.fileName) + "," + Hollerith(program) +
            "," + Hollerith(std::string("KORA IGES 3.1")) + ",",
        "16,38,6,99,15,",
        Hollerith(header_.fileName) + ",1.0,2," + Hollerith("MM") + ",32767,3.2767D1,",
        Hollerith(header_.date + ".081107") + ",1.0D-8," + Num(maxCoordinate_) + ",",
        Hollerith(header_.author) + "," + Hollerith(header_.organisation) + ",4,0;",
    };
    int g = 0;
    for (const auto& group : global)
        g = AppendFreeRecords(text, group, 'G', g);
    out.Write(text);
    out.Write(directory_);
    out.Write(parameters_);

    int d = deNumber_ < 0 ? 0 : deNumber_ + 1;
    char terminate[64];
    std::snprintf(terminate, sizeof terminate, "S%07dG%07dD%07dP%07d", s, g, d, pNext_ - 1);
    std::string t;
    AppendRecord(t, terminate, 'T', 1);
    out.Write(t);
}

} // namespace kora
