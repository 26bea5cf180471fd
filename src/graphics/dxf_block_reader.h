// The small DXF reader of the screen output: it reads back the temporary block files
// "$NAME.dx$" that the DXF writer produced, entity by entity, so that an insert can be drawn.
// It understands only what the writer writes (LINE, CIRCLE, ARC, TEXT, SOLID, INSERT and
// POLYLINE with VERTEX and bulges); other entities and groups are skipped.
#pragma once

#include "base/real.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct DxfVertex {
    real x = 0, y = 0, bulge = 0;
};

struct DxfEntity {
    enum class Type { Line, Circle, Arc, Text, Solid, Insert, Polyline };
    Type type = Type::Line;
    std::string layer = "0";
    real x[4]{}, y[4]{};                       // groups 10..13 and 20..23
    real radius = 0;                           // 40 of CIRCLE and ARC
    real start = 0, end = 0;                   // 50, 51 of ARC
    std::string text;                          // 1 of TEXT
    real height = 0;                           // 40 of TEXT
    real widthFactor = 1;                      // 41 of TEXT
    real angle = 0, oblique = 0;               // 50, 51 of TEXT
    std::string block;                         // 2 of INSERT
    real xScale = 1, yScale = 1, rotation = 0; // 41, 42, 50 of INSERT
    int flags = 0;                             // 70 of POLYLINE
    std::vector<DxfVertex> vertices;
};

enum class DxfReadStatus {
    Ok,
    CannotOpen, // "Invalid temp directory"
    Malformed,  // "Error in DXF File": a POLYLINE without VERTEX; entities before it are kept
};

DxfReadStatus ParseDxfEntities(std::string_view text, std::vector<DxfEntity>& entities);
DxfReadStatus ReadDxfEntities(const std::string& path, std::vector<DxfEntity>& entities);

// Layer number of a layer name: the names of layers 0 to 5 (index = layer), else the number
// the name spells (0 when it spells none).
int LayerNumberOf(std::string_view name, const std::array<std::string, 6>& layerNames);

} // namespace kora
