// A test drawing that calls every CAD operation once or more, shared by the DXF, TXT and IGES
// interop tests (ezdxf and OpenCASCADE read what it writes). The counts below are worked out
// by hand from the calls, so that a writer that drops or doubles an entity is caught.
#pragma once

#include "graphics/cad_output.h"

namespace kora::testdrawing {

// Modelspace entities as DXF writes them (a POLYLINE counts once).
inline constexpr int kDxfLines = 12, kDxfCircles = 4, kDxfArcs = 2, kDxfTexts = 5, kDxfSolids = 3,
                     kDxfInserts = 3, kDxfPolylines = 2;
inline constexpr int kEllipseVertices = 127; // 0 to 6.25 rad in steps of 0.05, and 2π
// IGES: FEDER1 has 7 members + its 308, NEST 2 + its 308; modelspace 12 lines, 4 circles,
// 2 arcs, 5 notes, 3 solids, 3 inserts (one rotated: + a 124), polyline 2 lines + 1 arc,
// ellipse 126 lines.
inline constexpr int kIgesEntities = 8 + 3 + 12 + 4 + 2 + 5 + 3 + 4 + 3 + 126;
// TXT: entity records in the ENTITIES section by name.
inline constexpr int kTxtLines = 10 + 2 + 126, kTxt3DLines = 2, kTxtCircles = 4, kTxtArcs = 3,
                     kTxtTexts = 5, kTxtSolids = 3, kTxtInserts = 3;

inline void Draw(CadOutput& cad) {
    cad.CadSheet(0, 0, 420, 297);
    cad.CadTables(2);
    cad.CadBlocksBegin();
    cad.CadLayer(0);
    cad.CadBlockBegin("FEDER1");
    cad.CadLine(0, 0, 10, 0);
    cad.CadCircle(5, 5, 2);
    cad.CadArc(5, 5, 3, 0, 90);
    cad.CadText("F1", 1, 1);
    cad.CadSolid(0, 0, 1, 0, 0, 1, 1, 1);
    cad.CadPolylineBegin(0);
    cad.CadPolylineVertex(90, 0, 10);
    cad.CadPolylineVertex(0, 10, 10);
    cad.CadPolylineVertex(0, 10, 20);
    cad.CadPolylineEnd();
    cad.CadBlockEnd();
    cad.CadBlockBegin("NEST");
    cad.CadInsert("FEDER1", 20, 0, 0, 1, 1);
    cad.CadLine(0, 0, 5, 5);
    cad.CadBlockEnd();
    cad.CadSectionEnd();

    cad.CadPageStart();
    cad.CadLayer(1);
    cad.CadLineType(2);
    cad.CadLine(10, 10, 100, 10);
    cad.CadLineType(0);
    cad.CadLayer(2);
    cad.CadCircle(50, 50, 10);
    cad.CadLayer(3);
    cad.CadArc(50, 50, 20, 30, 120);
    cad.CadArc(60, 60, 5, 0, 360); // full circles
    cad.CadArc(70, 70, 5, 360, 0);
    cad.CadArc(1, 1, 0, 0, 90); // r = 0: nothing
    cad.CadLayer(4);
    cad.CadSolid(100, 100, 110, 100, 100, 110, 110, 110);
    cad.CadLayer(5);
    cad.CadTextStyle(0, 0, 3.5L, 3);
    cad.CadTextAlign(1, 1);
    cad.CadText("Zentriert", 200, 200);
    cad.CadTextAlign(0, 0);
    cad.CadText("Ma\xE1"
                "e \x84 \xF1 \xF8",
                10, 250); // "Maße ä ± °" in code page 850
    cad.CadText("", 0, 0);
    cad.CadCursor(300, 280);
    cad.CadLineSpacing(1);
    cad.CadTextLine("Zeile 1");
    cad.CadLineFeed(0.5L);
    cad.CadValueLine("L0", "52.5");
    cad.CadLayer(16);
    cad.CadMoveTo(0, 0);
    cad.CadLineTo(20, 0);
    cad.CadLineTo(20, 20);
    cad.CadLayer(17);
    cad.CadRectangle(150, 150, 170, 160);
    cad.CadLayer(0);
    cad.CadInsert("FEDER1", 200, 100, 0, 1, 1);
    cad.CadInsert("FEDER1", 250, 100, 90, 2, 2);
    cad.CadInsert("NEST", 300, 100, 0, 1, 1);
    cad.CadLayer(18);
    cad.CadPolylineBegin(0);
    cad.CadPolylineVertex(0, 10, 150);
    cad.CadPolylineVertex(-90, 40, 150);
    cad.CadPolylineVertex(0, 40, 180);
    cad.CadPolylineVertex(0, 60, 180);
    cad.CadPolylineEnd();
    cad.CadLayer(19);
    cad.CadArrow(100, 200, 0);
    cad.CadLayer(20);
    cad.CadEllipse(20, 10, 300, 50);
    cad.CadLayer(21);
    cad.CadLine3D(0, 0, 0, 10, 10, 10);
    cad.CadMoveTo3D(0, 0, 0);
    cad.CadLineTo3D(0, 0, 50);
    cad.CadArc3D(10, 10, 5, 4, 0, 180);
    cad.CadCircle3D(10, 10, 5, 3);
    cad.CadText3D("3D", 1, 2, 3);
    const real sx[4] = {0, 1, 0, 1}, sy[4] = {0, 0, 1, 1}, sz[4] = {0, 0, 0, 0};
    cad.CadSolid3D(sx, sy, sz);
    cad.CadLayer(40); // folded to 24
    cad.CadLine(0, 290, 10, 290);
    cad.SetOffset(5, 5);
    cad.CadLine(0, 0, 1, 1);
    cad.SetOffset(0, 0);
    cad.CadSleep(10);
    cad.CadSectionEnd();
}

} // namespace kora::testdrawing
