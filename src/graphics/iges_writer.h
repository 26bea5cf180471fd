// The IGES file of a drawing (fixed 80-column records: Start, Global, Directory Entry,
// Parameter Data, Terminate): lines 110, arcs and circles 100, notes 212, solids as copious
// data 106, blocks as subfigures 308 with instances 408 (and a matrix 124 when rotated).
#pragma once

#include "base/real.h"
#include "graphics/cad_file.h"
#include "graphics/cad_settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace kora {

// What the Start and Global sections name.
struct IgesHeader {
    std::string fileName; // the output file's name without folder and extension
    std::string title{kProgramTitle};
    std::string version = "0.1";
    std::string date = "000101"; // YYMMDD of the generation
    std::string author = "KORA";
    std::string organisation{kMakerName};
};

// IGES colour number (written as level and colour) of a CAD colour number.
int IgesColorOf(int cadColor);

// Line font pattern and IGES colour of a CAD layer; `lineFont` is the pattern in force.
struct IgesLayerStyle {
    int lineFont = 1;
    int color = 0;
};
IgesLayerStyle IgesStyleOfLayer(int layer, int layerMode, const CadSettings& settings,
                                int lineFont);

class IgesWriter {
  public:
    static constexpr std::size_t kMaxBlockName = 8;
    static constexpr std::size_t kMaxBlocks = 255;
    enum class BlockStatus { Ok, NameTooLong, TooManyBlocks, AlreadyOpen, NotFound };

    // Starts a new model: clears the sections, counters and blocks (the layer style stays);
    // the Start and Global sections name `header` and the maximum coordinate.
    void Begin(const IgesHeader& header, real maxCoordinate);
    void SetStyle(IgesLayerStyle style) { style_ = style; }

    void Line(real x1, real y1, real x2, real y2) { Line3D(x1, y1, 0, x2, y2, 0, false); }
    void Line3D(real x1, real y1, real z1, real x2, real y2, real z2, bool is3D = true);
    // Counter-clockwise arc from `start` to `end` (degrees).
    void Arc(real xc, real yc, real r, real start, real end);
    void Circle(real xc, real yc, real r);
    // `text` as it goes into the file (already converted); `angle` in degrees.
    void Text(std::string_view text, real x, real y, real height, real widthRatio, real angle);
    // Corners in the order of a CAD solid (its outline runs 1, 2, 4, 3).
    void Solid(const real (&x)[4], const real (&y)[4]);

    BlockStatus BlockBegin(std::string_view name);
    void BlockEnd();
    bool InBlock() const { return inBlock_; }
    // A 408 of a known block (with a 124 before it when rotated); NotFound writes nothing.
    BlockStatus Insert(std::string_view name, real x, real y, real rotation);

    // Writes the five sections to `out`.
    void End(CadFile& out) const;

    int EntityCount() const { return entityCount_; }
    // Splits a parameter text into the Parameter Data pieces of at most 64 characters: after
    // commas, never inside a Hollerith string unless the string itself is longer than a record.
    static std::vector<std::string> SplitParameters(std::string_view text);

  private:
    struct Block {
        std::string name;
        int de = 0;
    };
    // Appends one entity: its two Directory Entry records and its parameter records.
    // `pieces` are parameter texts each starting a new record. Returns the entity's DE number.
    int Entity(int type, int form, std::string_view matrixField,
               const std::vector<std::string>& pieces, bool subordinate);

    IgesHeader header_;
    real maxCoordinate_ = 0;
    IgesLayerStyle style_;
    std::string directory_, parameters_;
    int deNumber_ = -1;
    int pNext_ = 1;
    int entityCount_ = 0;
    bool inBlock_ = false;
    std::string blockName_;
    std::vector<int> members_;
    std::vector<Block> blocks_;
};

} // namespace kora
