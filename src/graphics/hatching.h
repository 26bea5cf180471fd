// Hatching of cut faces (wire sections, sleeve walls, mandrel): parallel lines at an angle,
// clipped to a boundary of points, a circular sector or an ellipse, written as ordinary lines
// through the CAD output layer so that every output kind receives the same entities.
#pragma once

#include "base/real.h"

#include <array>

namespace kora {

struct Session;

// Messages of the hatching (code page 850, as the message list holds them).
namespace hatchtext {
inline constexpr const char* kHatchError = "Schraffurfehler";
inline constexpr const char* kTooManyPoints = "Fatal  : n schraff !";
inline constexpr const char* kTooManyIntersections = "Fatal  : schraff schnittp";
inline constexpr const char* kSortError = "Fatal  : QSORT2 error";
} // namespace hatchtext

// The CAD operations the hatching draws with (sheet millimetres, degrees).
class HatchOutput {
  public:
    virtual ~HatchOutput() = default;
    virtual void CadLayer(int layer) = 0;
    virtual void CadPolylineBegin(int flags) = 0;
    // Bulge angle in degrees: the included angle of the arc from this vertex to the next,
    // positive counter-clockwise (as the DXF bulge).
    virtual void CadPolylineVertex(real bulgeAngle, real x, real y) = 0;
    virtual void CadPolylineEnd() = 0;
    virtual void CadLine(real x1, real y1, real x2, real y2) = 0;
    virtual void CadCircle(real x, real y, real r) = 0;
    // Counter-clockwise from the start to the end angle.
    virtual void CadArc(real x, real y, real r, real startAngle, real endAngle) = 0;
    virtual void CadEllipse(real a, real b, real x, real y) = 0;
};

// Forwards to any CAD output object with the operations named as above (the CAD layer).
template <class Cad> class HatchOutputFor : public HatchOutput {
  public:
    explicit HatchOutputFor(Cad& cad) : cad_(cad) {}
    void CadLayer(int layer) override { cad_.CadLayer(layer); }
    void CadPolylineBegin(int flags) override { cad_.CadPolylineBegin(flags); }
    void CadPolylineVertex(real bulgeAngle, real x, real y) override {
        cad_.CadPolylineVertex(bulgeAngle, x, y);
    }
    void CadPolylineEnd() override { cad_.CadPolylineEnd(); }
    void CadLine(real x1, real y1, real x2, real y2) override { cad_.CadLine(x1, y1, x2, y2); }
    void CadCircle(real x, real y, real r) override { cad_.CadCircle(x, y, r); }
    void CadArc(real x, real y, real r, real startAngle, real endAngle) override {
        cad_.CadArc(x, y, r, startAngle, endAngle);
    }
    void CadEllipse(real a, real b, real x, real y) override { cad_.CadEllipse(a, b, x, y); }

  private:
    Cad& cad_;
};

struct HatchPointXY {
    real x = 0, y = 0;
};

// Points of the ellipse outline as CadEllipse draws it (every 0.05 rad from 0 to 2 pi),
// closed; the hatch of an ellipse is clipped to exactly this polygon.
inline constexpr int kEllipsePoints = 126;

class Hatching {
  public:
    static constexpr int kMaxPoints = 50;
    static constexpr int kMaxIntersections = 10;
    // More hatch lines than this for one face is taken as a broken distance.
    static constexpr int kMaxLines = 20000;

    Hatching(Session& session, HatchOutput& out) : session_(session), out_(out) {}

    // 0 boundary and lines on the current layer; 1 boundary on layer 5, lines on layer 3;
    // 2 no boundary, lines on layer 3. Keeps the last value set.
    int HatchMode = 0;

    int Count() const { return count_; }
    const HatchPointXY& Point(int i) const { return points_[static_cast<std::size_t>(i)]; }

    // Empties HatchPoints.
    void HatchClear() { count_ = 0; }
    // Appends a point; the 51st (or a non-finite one) is refused with "Schraffurfehler".
    bool HatchPoint(real x, real y);
    // Starts the boundary polyline (unless HatchMode is 2; on layer 5 in mode 1) and empties
    // HatchPoints.
    void HatchBoundaryBegin(int flags);
    // Adds the vertex to the boundary polyline and to HatchPoints. A non-zero bulge angle
    // (radians) makes the way to the next vertex an arc, counter-clockwise for a positive
    // angle; its intermediate points are added when that vertex arrives.
    void HatchBoundaryVertex(real bulge, real x, real y);
    // Ends the polyline and hatches the collected points (the boundary is not drawn again).
    void HatchBoundaryEnd(int n, real beta, real c);
    // Hatches the first n points (0 = all collected) at beta degrees, lines c apart
    // (0 = ten lines over the face); draws the boundary unless HatchMode is 2.
    void HatchPolygon(int n, real beta, real c);
    // c = 0 becomes round(0.2 x the longer side).
    void HatchRectangle(real beta, real c, real x1, real y1, real x2, real y2);
    // Four sides and four quarter arcs of radius r (limited to half the smaller side).
    void HatchRoundedRectangle(real beta, real c, real r, real x1, real y1, real x2, real y2);
    // Rounded rectangle with r = half the smaller side.
    void HatchOval(real beta, real c, real x1, real y1, real x2, real y2);
    // Full circle at 45 degrees.
    void HatchCircle(real c, real r, real x, real y);
    // Sector counter-clockwise from startAngle to endAngle (degrees); lines at beta.
    void HatchSector(real beta, real endAngle, real startAngle, real c, real r, real x, real y);
    // Ellipse with semi-axes a (along x) and b at 45 degrees; the outline is drawn with
    // CadEllipse on layer 5 in every mode.
    void HatchEllipse(real a, real b, real x, real y, real c);

  private:
    // HatchPolygon, with or without drawing the boundary polyline.
    void HatchCollected(int n, real beta, real c, bool drawBoundary);
    // Hatch lines clipped to the closed polygon pts[0..n-1] (pts[n-1] == pts[0]); false after
    // a fatal error.
    bool HatchLines(const HatchPointXY* pts, int n, real beta, real c);
    void AddArcPoints(real bulge, const HatchPointXY& from, const HatchPointXY& to);
    void Fail(const char* text, bool abort);

    Session& session_;
    HatchOutput& out_;
    std::array<HatchPointXY, kMaxPoints + 1> points_{}; // one more for closing
    int count_ = 0;
    bool boundaryDrawn_ = false;
    bool haveVertex_ = false;
    real lastBulge_ = 0;
    HatchPointXY lastVertex_;
};

} // namespace kora
