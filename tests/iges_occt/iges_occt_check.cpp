// Writes the shared test drawing (and a few edge cases), then the program's own drawings of a
// calculated spring, as IGES through the CAD output and loads each file with OpenCASCADE's
// IGES reader: no fail message on load, and the model holds as many entities as the writer
// wrote (of the same types, for the test drawing).
#include "calc/session.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/cad_test_drawing.h"
#include "graphics/diagram_sheets.h"
#include "graphics/production_drawing.h"
#include "graphics/spring_views.h"

#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <Interface_Check.hxx>
#include <Interface_CheckIterator.hxx>
#include <XSControl_WorkSession.hxx>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>

namespace {

int failures = 0;

void Fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

// Loads `path`; returns the entity count by IGES type, or nothing after a fail.
std::map<int, int> Load(const std::string& path, int expectedEntities, bool shapes) {
    std::map<int, int> types;
    IGESControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
        Fail(path + ": not read");
        return types;
    }
    Handle(IGESData_IGESModel) model = reader.IGESModel();
    // With no entity at all the reader has no graph to check ("DATA NOT AVAILABLE").
    if (model->NbEntities() == 0) {
        if (expectedEntities != 0) Fail(path + ": no entities");
        return types;
    }
    Interface_CheckIterator checks = reader.WS()->ModelCheckList();
    for (checks.Start(); checks.More(); checks.Next()) {
        const Handle(Interface_Check)& check = checks.Value();
        for (int i = 1; i <= check->NbFails(); ++i)
            Fail(path + ": entity " + std::to_string(checks.Number()) + ": " + check->CFail(i));
        for (int i = 1; i <= check->NbWarnings(); ++i)
            std::printf("warning: %s: entity %d: %s\n", path.c_str(), checks.Number(),
                        check->CWarning(i));
    }
    if (model->NbEntities() != expectedEntities)
        Fail(path + ": " + std::to_string(model->NbEntities()) + " entities, expected " +
             std::to_string(expectedEntities));
    for (int i = 1; i <= model->NbEntities(); ++i)
        ++types[model->Entity(i)->TypeNumber()];
    reader.TransferRoots();
    if (shapes && reader.NbShapes() == 0) Fail(path + ": no shape transferred");
    return types;
}

std::string Write(const std::string& folder, const std::string& name,
                  const std::function<void(kora::CadOutput&)>& draw, int* count) {
    kora::Session session;
    kora::CadOutput cad(session);
    cad.SetTempFolder(folder);
    std::string path = folder + "/" + name + ".igs";
    if (!cad.CadBeginFile(kora::OutputKind::Iges, path)) Fail(path + ": not created");
    draw(cad);
    if (!cad.CadEnd()) Fail(path + ": not written");
    *count = cad.IgesEntityCount();
    return path;
}

// The program's own drawings of a calculated spring, as the "/CADi:j" run writes them: each
// loads without a fail and with the entity count the writer counted.
void CheckSpringDrawings(const std::string& folder) {
    kora::Session session;
    kora::examples::ThreeSections(session);
    kora::examples::TypedSteel(session);
    kora::CalculateSpring(session);
    if (session.FatalFlag) return Fail("example spring is fatal");
    session.config.edit3D = false; // no rotation form: draw with the default angles
    const std::pair<const char*, std::function<bool(kora::DiagramContext&, kora::SpringViews&)>>
        drawings[] = {
            {"production drawing",
             [&](kora::DiagramContext& c, kora::SpringViews&) {
                 return kora::ProductionDrawing(session, c.cad, kora::OutputKind::Iges);
             }},
            {"quick sheet",
             [](kora::DiagramContext& c, kora::SpringViews&) {
                 return kora::DrawDiagramSheet(c, kora::DiagramSheet::Quick,
                                               kora::OutputKind::Iges);
             }},
            {"cut view",
             [](kora::DiagramContext&, kora::SpringViews& v) {
                 return v.SpringView(kora::ViewKind::Cut, kora::OutputKind::Iges, false);
             }},
            {"3D view",
             [](kora::DiagramContext&, kora::SpringViews& v) {
                 return v.Spring3DView(kora::OutputKind::Iges, false);
             }},
        };
    for (const auto& [name, draw] : drawings) {
        kora::CadOutput cad(session);
        cad.SetTempFolder(folder);
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(folder + "/feder.kra");
        kora::DiagramContext context(session, cad);
        kora::SpringViews views(context);
        if (!draw(context, views)) {
            Fail(std::string(name) + ": not written");
            continue;
        }
        if (cad.IgesEntityCount() < 10) Fail(std::string(name) + ": almost nothing drawn");
        Load(folder + "/feder.igs", cad.IgesEntityCount(), false);
    }
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("kora-iges-occt-" + std::to_string(getpid()));
    fs::create_directories(folder);

    int count = 0;
    std::string path = Write(folder, "drawing", kora::testdrawing::Draw, &count);
    if (count != kora::testdrawing::kIgesEntities)
        Fail("writer counted " + std::to_string(count) + " entities");
    auto types = Load(path, kora::testdrawing::kIgesEntities, true);
    const std::map<int, int> expected = {{110, 2 + 1 + 12 + 2 + 126},
                                         {100, 3 + 4 + 2 + 1},
                                         {212, 1 + 5},
                                         {106, 1 + 3},
                                         {308, 2},
                                         {408, 1 + 3},
                                         {124, 1}};
    for (const auto& [type, n] : expected)
        if (types[type] != n)
            Fail("type " + std::to_string(type) + ": " + std::to_string(types[type]) +
                 ", expected " + std::to_string(n));

    // A note longer than one Parameter Data record and a file name longer than a Global record.
    path = Write(
        folder, "a_rather_long_file_name_that_does_not_fit_into_one_global_record_x",
        [](kora::CadOutput& cad) {
            cad.CadSheet(0, 0, 420, 297);
            cad.CadPageStart();
            cad.CadText(std::string(150, 'x') + ", with commas; and semicolons", 1, 2);
        },
        &count);
    Load(path, 1, false);

    // An empty drawing.
    path = Write(
        folder, "empty", [](kora::CadOutput& cad) { cad.CadSheet(0, 0, 1, 1); }, &count);
    Load(path, 0, false);

    CheckSpringDrawings(folder.string());

    fs::remove_all(folder);
    if (failures == 0) std::printf("IGES files load in OpenCASCADE without fails\n");
    return failures == 0 ? 0 : 1;
}
