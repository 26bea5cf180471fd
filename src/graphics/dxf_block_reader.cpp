#include "graphics/dxf_block_reader.h"

#include "base/numformat.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kora {
namespace {

// Walks the group/value line pairs of a DXF text.
class PairReader {
  public:
    explicit PairReader(std::string_view text) : text_(text) {}
    bool Next(int& code, std::string_view& value) {
        std::string_view codeLine;
        if (!Line(codeLine) || !Line(value)) return false;
        code = std::atoi(std::string(codeLine).c_str());
        return true;
    }

  private:
    bool Line(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        return true;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

real Number(std::string_view value) {
    std::string s(value);
    for (char& c : s)
        if (c == ',') c = '.';
    CNumericLocale classic;
    return std::strtold(s.c_str(), nullptr);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

struct EntityName {
    const char* name;
    DxfEntity::Type type;
};
constexpr EntityName kEntityNames[] = {
    {"LINE", DxfEntity::Type::Line},         {"CIRCLE", DxfEntity::Type::Circle},
    {"ARC", DxfEntity::Type::Arc},           {"TEXT", DxfEntity::Type::Text},
    {"SOLID", DxfEntity::Type::Solid},       {"INSERT", DxfEntity::Type::Insert},
    {"POLYLINE", DxfEntity::Type::Polyline},
};

// Stores one group of the entity being read.
void Apply(DxfEntity& e, int code, std::string_view value) {
    using T = DxfEntity::Type;
    if (code == 8) {
        e.layer = std::string(Trim(value));
    } else if (code >= 10 && code <= 13) {
        e.x[code - 10] = Number(value);
    } else if (code >= 20 && code <= 23) {
        e.y[code - 20] = Number(value);
    } else if (code == 1 && e.type == T::Text) {
        e.text = std::string(value);
    } else if (code == 2 && e.type == T::Insert) {
        e.block = std::string(Trim(value));
    } else if (code == 40) {
        (e.type == T::Text ? e.height : e.radius) = Number(value);
    } else if (code == 41) {
        (e.type == T::Insert ? e.xScale : e.widthFactor) = Number(value);
    } else if (code == 42 && e.type == T::Insert) {
        e.yScale = Number(value);
    } else if (code == 50) {
        (e.type == T::Insert ? e.rotation : e.type == T::Text ? e.angle : e.start) = Number(value);
    } else if (code == 51) {
        (e.type == T::Text ? e.oblique : e.end) = Number(value);
    } else if (code == 70 && e.type == T::Polyline) {
        e.flags = std::atoi(std::string(Trim(value)).c_str());
    }
}

} // namespace

DxfReadStatus ParseDxfEntities(std::string_view text, std::vector<DxfEntity>& entities) {
    PairReader reader(text);
    int code = 0;
    std::string_view value;
    DxfEntity current;
    bool inEntity = false;
    bool inPolyline = false; // reading the VERTEX entries of the last POLYLINE
    DxfVertex* vertex = nullptr;
    std::string vertexLayer;
    auto finish = [&] {
        if (inEntity) entities.push_back(std::move(current));
        inEntity = false;
    };
    while (reader.Next(code, value)) {
        if (code != 0) {
            if (vertex) {
                if (code == 10)
                    vertex->x = Number(value);
                else if (code == 20)
                    vertex->y = Number(value);
                else if (code == 42)
                    vertex->bulge = Number(value);
            } else if (inEntity) {
                Apply(current, code, value);
            }
            continue;
        }
        std::string_view name = Trim(value);
        if (inPolyline) {
            if (name == "VERTEX") {
                current.vertices.push_back({});
                vertex = &current.vertices.back();
                continue;
            }
            vertex = nullptr;
            inPolyline = false;
            if (current.vertices.empty()) return DxfReadStatus::Malformed;
            finish();
            if (name == "SEQEND") continue;
        }
        finish();
        if (name == "EOF") break;
        for (const auto& known : kEntityNames) {
            if (name == known.name) {
                current = DxfEntity{};
                current.type = known.type;
                inEntity = true;
                inPolyline = known.type == DxfEntity::Type::Polyline;
            }
        }
    }
    if (inPolyline && current.vertices.empty()) return DxfReadStatus::Malformed;
    finish();
    return DxfReadStatus::Ok;
}

DxfReadStatus ReadDxfEntities(const std::string& path, std::vector<DxfEntity>& entities) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return DxfReadStatus::CannotOpen;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return DxfReadStatus::CannotOpen;
    return ParseDxfEntities(text.str(), entities);
}

int LayerNumberOf(std::string_view name, const std::array<std::string, 6>& layerNames) {
    for (int n = 0; n <= 5; ++n)
        if (name == layerNames[n]) return n;
    return std::atoi(std::string(name).c_str());
}

} // namespace kora
