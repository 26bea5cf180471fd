#include "material_table_support.h"

#include "persistence/material_dialogs.h"
#include "persistence/material_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kora::test {
namespace {

using Strings = std::vector<std::string>;
using Answer = RecordingDialogs::Answer;
using D = RecordingDialogs;

double Dbl(real x) {
    return static_cast<double>(x);
}

class MaterialDialogsTest : public MaterialTablesTest {
  protected:
    void SetUp() override {
        MaterialTablesTest::SetUp();
        SpringRecord& s = materialSession.spring;
        s.materialName = "Ausgangsstoff";
        s.materialKind = 0;
        s.materialNumber = 1;
        s.E = 210000;
        s.G = 80000;
        s.rho = 7.85L;
        s.Rm = 1700;
        s.tauz = 950;
        s.wireTolGrade = 1;
        s.wireTol = 0.01L;
        materialSession.CurrentMaterial = SteelRow(1, "Ausgangsstoff");
    }

    // Everything a cancelled sequence must leave as it was.
    void ExpectUnchanged() {
        const SpringRecord& s = materialSession.spring;
        EXPECT_TRUE(materialSession.AbortFlag);
        EXPECT_EQ(s.materialName, "Ausgangsstoff");
        EXPECT_EQ(s.materialKind, 0);
        EXPECT_EQ(s.materialGrade, 0);
        EXPECT_EQ(s.materialNumber, 1);
        EXPECT_EQ(s.E, 210000);
        EXPECT_EQ(s.G, 80000);
        EXPECT_EQ(s.Rm, 1700);
        EXPECT_EQ(s.tauz, 950);
        EXPECT_EQ(s.wireTolGrade, 1);
        EXPECT_EQ(s.wireTol, 0.01L);
        EXPECT_EQ(materialSession.CurrentMaterial.name1, "Ausgangsstoff");
        EXPECT_EQ(RecordCountOf("korwst"), 3);
    }

    void Run(const std::vector<Answer>& answers) {
        recorder.script.assign(answers.begin(), answers.end());
        recorder.asked.clear();
    }
};

const std::vector<Answer> kOtherMaterialAnswers = {D::Typed("Stahl ä"), D::Typed("206000"),
                                                   D::Typed("81500"),   D::Typed("7,9"),
                                                   D::Typed("1800"),    D::Typed("1000")};

TEST_F(MaterialDialogsTest, EnterOtherMaterialAsksEveryValueAndTakesIt) {
    Run(kOtherMaterialAnswers);
    ASSERT_TRUE(EnterOtherMaterial(materialSession, 0));
    EXPECT_EQ(recorder.Prompts(),
              (Strings{"Werkstoff", "Elastizitätsmodul E  [N/mm²]", "Schubmodul G  [N/mm²]",
                       "Dichte rho  [kg/dm^3]", "Zugfestigkeit  Rm  [N/mm²]",
                       "zul. Schubspannung tau zul [N/mm²]"}));
    EXPECT_EQ(recorder.asked[0].preset, "Ausgangsstoff");
    EXPECT_EQ(recorder.asked[1].preset, "210000");
    EXPECT_TRUE(recorder.unexpected.empty());
    const SpringRecord& s = materialSession.spring;
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(s.materialKind, 11);
    EXPECT_EQ(s.materialName, "Stahl \x84");
    EXPECT_EQ(s.E, 206000);
    EXPECT_EQ(s.G, 81500);
    EXPECT_DOUBLE_EQ(Dbl(s.rho), 7.9);
    EXPECT_EQ(s.Rm, 1800);
    EXPECT_EQ(s.tauz, 1000);
    EXPECT_EQ(s.materialNumber, 3); // the reset of CurrentMaterial
    const KORWST_Record& m = materialSession.CurrentMaterial;
    EXPECT_EQ(m.name1, "Stahl \x84");
    EXPECT_EQ(m.G, 81500);
    EXPECT_EQ(m.E, 206000);
    EXPECT_DOUBLE_EQ(m.rho, 7.9);
    EXPECT_EQ(m.Rm0, 1800);
    EXPECT_EQ(m.kRm, 0);
    EXPECT_DOUBLE_EQ(m.d0, 1.0);
}

TEST_F(MaterialDialogsTest, EnterOtherMaterialInModeTwoSkipsTheStresses) {
    Run({D::Typed("X"), D::Accept(), D::Accept(), D::Accept()});
    ASSERT_TRUE(EnterOtherMaterial(materialSession, 2));
    EXPECT_EQ(recorder.asked.size(), 4u);
    EXPECT_EQ(materialSession.spring.Rm, 1700);
    EXPECT_EQ(materialSession.CurrentMaterial.Rm0, 1700);
    EXPECT_EQ(materialSession.spring.materialKind, 11);
}

TEST_F(MaterialDialogsTest, EnterOtherMaterialRefusesValuesOutsideTheRange) {
    Run({D::Typed("X"), D::Typed("5"), D::Typed("206000"), D::Accept(), D::Typed("0,05"),
         D::Typed("7.85")});
    ASSERT_TRUE(EnterOtherMaterial(materialSession, 2));
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[0].rfind("Gültiger Wertebereich: 10 .. ", 0), 0u);
    EXPECT_EQ(recorder.errors[1].rfind("Gültiger Wertebereich: 0.1 .. 100 !", 0), 0u);
    EXPECT_EQ(materialSession.spring.E, 206000);
    EXPECT_EQ(materialSession.spring.rho, 7.85L);
}

TEST_F(MaterialDialogsTest, EnterOtherMaterialCancelledAtAnyPromptChangesNothing) {
    for (std::size_t k = 0; k < kOtherMaterialAnswers.size(); ++k) {
        SCOPED_TRACE(k);
        std::vector<Answer> answers(kOtherMaterialAnswers.begin(),
                                    kOtherMaterialAnswers.begin() + static_cast<long>(k));
        answers.push_back(D::Cancelled());
        Run(answers);
        EXPECT_FALSE(EnterOtherMaterial(materialSession, 0));
        ExpectUnchanged();
    }
}

// The worked row: Rm 2000 at d0 = 1 and 1500 at dx = 10 (kRm 500), the stress presets taken.
const std::vector<Answer> kNewMaterialAnswers = {
    D::Typed("Neuer Stahl"), // material
    D::Typed("206000"),
    D::Typed("81500"),
    D::Typed("7.85"),
    D::Accept(), // Name 2 from the row in use
    D::Typed("SH"),
    D::Typed("neu"),
    D::Typed("1"),    // d0
    D::Typed("2000"), // Rm0
    D::Typed("10"),   // dx
    D::Typed("1500"), // Rmx
    D::Typed("2500"), // Rm max
    D::Typed("0.5"),
    D::Typed("15"),
    D::Typed("120"),
    D::Accept(),     // tauo0 = 0.56 Rm0
    D::Accept(),     // dx again
    D::Accept(),     // tauox = 0.56 Rmx
    D::Accept(),     // tauh0 = 0.3 Rm0
    D::Accept(),     // tauhx = 0.3 Rmx
    D::Typed("520"), // tau u lim
};

KORWST_Record WorkedNewRow(std::int32_t number) {
    KORWST_Record m;
    m.name1 = "Neuer Stahl";
    m.name2 = "DIN EN 10270-1";
    m.name3 = "SH";
    m.name4 = "neu";
    m.G = 81500;
    m.E = 206000;
    m.rho = 7.85;
    m.Rm0 = 2000;
    m.d0 = 1;
    m.RmMax = 2500;
    m.kRm = 500;
    m.fatigueD0 = 1;
    m.tauo0 = 1120;
    m.kTauo = 280;
    m.tauh0 = 600;
    m.kTauh = 150;
    m.mSlope = 1.0;
    m.dmin = 0.5;
    m.dmax = 15;
    m.Tmax = 120;
    m.materialNumber = number;
    return m;
}

void ExpectRow(const KORWST_Record& a, const KORWST_Record& b) {
    EXPECT_EQ(a.name1, b.name1);
    EXPECT_EQ(a.name2, b.name2);
    EXPECT_EQ(a.name3, b.name3);
    EXPECT_EQ(a.name4, b.name4);
    EXPECT_EQ(a.G, b.G);
    EXPECT_EQ(a.E, b.E);
    EXPECT_DOUBLE_EQ(a.rho, b.rho);
    EXPECT_EQ(a.Rm0, b.Rm0);
    EXPECT_DOUBLE_EQ(a.d0, b.d0);
    EXPECT_EQ(a.RmMax, b.RmMax);
    EXPECT_EQ(a.kRm, b.kRm);
    EXPECT_DOUBLE_EQ(a.fatigueD0, b.fatigueD0);
    EXPECT_EQ(a.tauo0, b.tauo0);
    EXPECT_EQ(a.kTauo, b.kTauo);
    EXPECT_EQ(a.tauh0, b.tauh0);
    EXPECT_EQ(a.kTauh, b.kTauh);
    EXPECT_NEAR(a.mSlope, b.mSlope, 1e-4);
    EXPECT_EQ(a.tauo0Peened, 0);
    EXPECT_EQ(a.tauh0Peened, 0);
    EXPECT_EQ(a.mSlopePeened, 0);
    EXPECT_DOUBLE_EQ(a.dmin, b.dmin);
    EXPECT_DOUBLE_EQ(a.dmax, b.dmax);
    EXPECT_EQ(a.Tmax, b.Tmax);
    EXPECT_EQ(a.freeText, "");
    EXPECT_EQ(a.materialNumber, b.materialNumber);
}

TEST_F(MaterialDialogsTest, EnterNewMaterialAppendsTheWorkedRow) {
    Run(kNewMaterialAnswers);
    ASSERT_TRUE(EnterNewMaterial(materialSession));
    EXPECT_TRUE(recorder.unexpected.empty());
    const Strings prompts = recorder.Prompts();
    const Strings expectedPrompts = {"Werkstoff",
                                     "Elastizitätsmodul E  [N/mm²]",
                                     "Schubmodul G  [N/mm²]",
                                     "Dichte rho  [kg/dm^3]",
                                     "Name 2",
                                     "Name 3",
                                     "Name 4",
                                     "Drahtdurchmesser d0",
                                     "Zugfestigkeit Rm0 bei d= 1 mm  [N/mm²]",
                                     "Drahtdurchmesser dx",
                                     "Zugfestigkeit Rmx bei d= 10 mm  [N/mm²]",
                                     "Max. Zugfestigkeit Rm max (bei d=0.1mm) [N/mm²]",
                                     "Drahtdurchmesser dmin [mm]",
                                     "Drahtdurchmesser dmax [mm]",
                                     "Max. Betriebstemperatur Tmax [°C]",
                                     "zul. Schubspannung tauo0 bei d = 1 mm  [N/mm²]",
                                     "Drahtdurchmesser dx",
                                     "zul. Schubspannung tauo bei d = 10 mm  [N/mm²]",
                                     "zulässige Hubspannung tauh0 bei d=1, tau u=0  [N/mm²]",
                                     "zulässige Hubspannung tauhx bei d = 10 mm  [N/mm²]",
                                     "zul. Schubspannung tau u lim. bei d = 1 mm  [N/mm²]"};
    EXPECT_EQ(prompts, expectedPrompts);
    // Presets: the row in use when the sequence started, then the fixed and derived ones.
    const struct {
        std::size_t prompt;
        const char* preset;
    } presets[] = {{4, "DIN EN 10270-1"},
                   {5, "DH"},
                   {6, ""},
                   {7, "1"},
                   {8, "2230"},
                   {9, "5"},
                   {10, "500"},
                   {11, "2800"},
                   {12, "0.3"},
                   {13, "20"},
                   {14, "80"},
                   {15, "1120"},
                   {16, "10"},
                   {17, "840"},
                   {18, "600"},
                   {19, "450"},
                   {20, "693.3"}};
    for (const auto& p : presets)
        EXPECT_EQ(recorder.asked[p.prompt].preset, p.preset) << prompts[p.prompt];

    EXPECT_EQ(RecordCountOf("korwst"), 4);
    ExpectRow(materialSession.CurrentMaterial, WorkedNewRow(4));
    // The spring keeps the typed material; its number is that of the reset.
    EXPECT_EQ(materialSession.spring.materialKind, 11);
    EXPECT_EQ(materialSession.spring.materialName, "Neuer Stahl");
    EXPECT_EQ(materialSession.spring.materialNumber, 3);

    ASSERT_TRUE(FindMaterial(materialSession, 4));
    ExpectRow(materialSession.CurrentMaterial, WorkedNewRow(4));
}

TEST_F(MaterialDialogsTest, EnterNewMaterialWithoutTauULimLeavesTheSlopeZero) {
    std::vector<Answer> answers = kNewMaterialAnswers;
    answers.back() = D::Typed("0");
    Run(answers);
    ASSERT_TRUE(EnterNewMaterial(materialSession));
    KORWST_Record expected = WorkedNewRow(4);
    expected.mSlope = 0;
    ExpectRow(materialSession.CurrentMaterial, expected);
}

TEST_F(MaterialDialogsTest, EnterNewMaterialRefusesASecondDiameterEqualToD0) {
    std::vector<Answer> answers = kNewMaterialAnswers;
    answers.insert(answers.begin() + 9, D::Typed("1"));  // dx = d0 first
    answers.insert(answers.begin() + 17, D::Typed("1")); // the second dx likewise
    answers[18] = D::Typed("10");                        // asked again
    Run(answers);
    ASSERT_TRUE(EnterNewMaterial(materialSession));
    EXPECT_EQ(recorder.errors,
              (Strings{"dx muss von d0 verschieden sein !", "dx muss von d0 verschieden sein !"}));
    ExpectRow(materialSession.CurrentMaterial, WorkedNewRow(4));
}

TEST_F(MaterialDialogsTest, EnterNewMaterialTakesTheNextFreeNumber) {
    MakeMaterials({SteelRow(1, "Eins"), SteelRow(5, "F\x81nf"), SteelRow(3, "Drei")});
    Run(kNewMaterialAnswers);
    ASSERT_TRUE(EnterNewMaterial(materialSession));
    EXPECT_EQ(materialSession.CurrentMaterial.materialNumber, 6); // not 4: no duplicate key
    ASSERT_TRUE(FindMaterial(materialSession, 6));
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Neuer Stahl");
}

TEST_F(MaterialDialogsTest, EnterNewMaterialCancelledAtAnyPromptWritesNothing) {
    for (std::size_t k = 0; k < kNewMaterialAnswers.size(); ++k) {
        SCOPED_TRACE(k);
        std::vector<Answer> answers(kNewMaterialAnswers.begin(),
                                    kNewMaterialAnswers.begin() + static_cast<long>(k));
        answers.push_back(D::Cancelled());
        Run(answers);
        EXPECT_FALSE(EnterNewMaterial(materialSession));
        ExpectUnchanged();
    }
}

TEST_F(MaterialDialogsTest, EnterNewMaterialWithoutTable) {
    std::filesystem::remove(Path("korwst"));
    Run(kNewMaterialAnswers);
    EXPECT_FALSE(EnterNewMaterial(materialSession));
    EXPECT_EQ(Messages(), Strings{"Fatal  : KORWST DBF error"});
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_EQ(materialSession.spring.materialKind, 0);
    EXPECT_EQ(materialSession.spring.materialName, "Ausgangsstoff");
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Ausgangsstoff");
}

TEST_F(MaterialDialogsTest, BrowseMaterialsOffersANewRowFirst) {
    std::vector<Answer> answers = {D::Yes()};
    answers.insert(answers.end(), kNewMaterialAnswers.begin(), kNewMaterialAnswers.end());
    Run(answers);
    view.script.push_back(ScriptedTableView::OkWhereShown());
    ASSERT_TRUE(BrowseMaterials(materialSession, 0, &view));
    EXPECT_EQ(RecordCountOf("korwst"), 4);
    EXPECT_EQ(view.shownRecords[0].size(), 4u);

    Run({D::Yes(), D::Cancelled()});
    EXPECT_FALSE(BrowseMaterials(materialSession, 0, &view));
    EXPECT_EQ(view.captions.size(), 1u); // no browser after the cancelled entry
}

const std::vector<std::string> kSourceItems = {"Datenbank (List)", "Datenbank DIN",
                                               "Datenbank (Browse)", "Andere Werkstoffe"};

TEST_F(MaterialDialogsTest, ChooseMaterialByStandardGrade) {
    materialSession.spring.materialNumber = 3; // DIN 17223 part 1, grade C
    Run({D::Accept(), D::Accept(), D::Accept(), D::Accept()});
    ASSERT_TRUE(ChooseMaterial(materialSession, &view));
    ASSERT_EQ(recorder.asked.size(), 4u);
    EXPECT_EQ(recorder.asked[0].prompt, "Werkstoffsorte wählen ...");
    EXPECT_EQ(recorder.asked[0].items, kSourceItems);
    EXPECT_EQ(recorder.asked[0].preset, "2");
    EXPECT_EQ(recorder.asked[1].prompt, "Werkstoffsorte wählen ...");
    EXPECT_EQ(recorder.asked[1].items.size(), 11u);
    EXPECT_EQ(recorder.asked[1].items[10], "Andere Werkstoffe");
    EXPECT_EQ(recorder.asked[1].preset, "1");
    EXPECT_EQ(recorder.asked[2].prompt, "Federstahldraht nach DIN 17223 Blatt1");
    EXPECT_EQ(recorder.asked[2].items[2], "Drahtsorte C");
    EXPECT_EQ(recorder.asked[2].preset, "3");
    EXPECT_EQ(recorder.asked[3].prompt, "Zulässige Abweichung des Drahtdurchmessers d");
    EXPECT_EQ(recorder.asked[3].items.size(), 12u);
    EXPECT_EQ(recorder.asked[3].items[3], "T1 - EN10218-2");
    const SpringRecord& s = materialSession.spring;
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(s.materialKind, 0); // found: the table row is applied
    EXPECT_EQ(s.materialNumber, 3);
    EXPECT_EQ(s.materialName, "Federstahl C");
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Federstahl C");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MaterialDialogsTest, ChooseMaterialByStandardGradeNotInTheTable) {
    const struct {
        int type, grade; // grade 0: the type asks for none
        word number;
        const char* name;
        const char* message;
    } cases[] = {
        {2, 2, 6, "Federstahldraht DIN 17223  T.2 (FD,VD)", "Fehler : 6 not found"},
        {3, 7, 17, "Federstahldraht DIN 17221 und 54SiCr6", "Fehler : 17 not found"},
        {4, 0, 18, "Nirosta 1.4310 DIN 17224 (X12CrNi17 7)", "Fehler : 18 not found"},
        {10, 0, 24, "2.1285.97 DIN 17682 (Cu Co Be)", "Fehler : 24 not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        materialSession.ClearMessages();
        std::vector<Answer> answers = {D::Chosen(2), D::Chosen(c.type)};
        if (c.grade) answers.push_back(D::Chosen(c.grade));
        answers.push_back(D::Accept());
        Run(answers);
        ASSERT_TRUE(ChooseMaterial(materialSession, &view));
        EXPECT_TRUE(recorder.unexpected.empty());
        const SpringRecord& s = materialSession.spring;
        EXPECT_EQ(s.materialKind, c.type);
        EXPECT_EQ(s.materialGrade, c.grade);
        EXPECT_EQ(s.materialNumber, c.number);
        EXPECT_EQ(s.materialName, c.name);
        EXPECT_EQ(Messages(), Strings{c.message});
    }
}

TEST_F(MaterialDialogsTest, ChooseMaterialFromTheListAndTypedTolerance) {
    Run({D::Chosen(1), D::Chosen(12), D::Typed("0,02")});
    view.script.push_back(ScriptedTableView::PickRecord(2));
    ASSERT_TRUE(ChooseMaterial(materialSession, &view));
    EXPECT_TRUE(view.choosing[0]);
    EXPECT_EQ(recorder.asked.back().prompt, "Toleranz des Drahtdurchmessers  ± [mm]");
    const SpringRecord& s = materialSession.spring;
    EXPECT_EQ(s.materialKind, 0);
    EXPECT_EQ(s.materialNumber, 2);
    EXPECT_EQ(s.materialName, "Nirosta \x84\x94\x81");
    EXPECT_EQ(s.G, 81500);
    EXPECT_EQ(s.wireTolGrade, 12);
    EXPECT_DOUBLE_EQ(Dbl(s.wireTol), 0.02);
}

TEST_F(MaterialDialogsTest, ChooseMaterialInTheFullBrowser) {
    Run({D::Chosen(3), D::Chosen(9)});
    view.script.push_back(ScriptedTableView::PickRecord(3));
    ASSERT_TRUE(ChooseMaterial(materialSession, &view));
    EXPECT_FALSE(view.choosing[0]);
    EXPECT_EQ(materialSession.spring.materialNumber, 3);
    EXPECT_EQ(materialSession.spring.materialName, "Federstahl C");
    EXPECT_EQ(materialSession.spring.wireTolGrade, 9);
    EXPECT_EQ(materialSession.spring.wireTol, 0.01L); // computed by the calculation
}

TEST_F(MaterialDialogsTest, ChooseMaterialTypedByHand) {
    std::vector<Answer> answers = {D::Chosen(4)};
    answers.insert(answers.end(), kOtherMaterialAnswers.begin(), kOtherMaterialAnswers.end());
    answers.push_back(D::Accept());
    Run(answers);
    ASSERT_TRUE(ChooseMaterial(materialSession, &view));
    EXPECT_EQ(materialSession.spring.materialKind, 11);
    EXPECT_EQ(materialSession.spring.Rm, 1800);

    // "Andere Werkstoffe" of the standard-grade list does the same.
    answers = {D::Chosen(2), D::Chosen(11)};
    answers.insert(answers.end(), kOtherMaterialAnswers.begin(), kOtherMaterialAnswers.end());
    answers.push_back(D::Accept());
    Run(answers);
    ASSERT_TRUE(ChooseMaterial(materialSession, &view));
    EXPECT_EQ(recorder.asked[2].prompt, "Werkstoff");
    EXPECT_EQ(materialSession.spring.materialKind, 11);
}

// Every path of the choice, cancelled at each of its prompts, leaves the spring as it was.
TEST_F(MaterialDialogsTest, ChooseMaterialCancelledAtAnyPromptChangesNothing) {
    std::vector<Answer> typed = {D::Chosen(4)};
    typed.insert(typed.end(), kOtherMaterialAnswers.begin(), kOtherMaterialAnswers.end());
    typed.push_back(D::Chosen(12));
    typed.push_back(D::Typed("0.5"));
    const struct {
        std::vector<Answer> answers;
        bool browser;
    } paths[] = {
        {{D::Chosen(2), D::Chosen(1), D::Chosen(2), D::Chosen(12), D::Typed("0.5")}, false},
        {{D::Chosen(2), D::Chosen(5), D::Chosen(3)}, false},
        {{D::Chosen(1), D::Chosen(12), D::Typed("0.5")}, true},
        {{D::Chosen(3), D::Chosen(4)}, true},
        {typed, false},
    };
    for (const auto& path : paths) {
        for (std::size_t k = 0; k < path.answers.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "path " << (&path - paths) << " prompt " << k);
            std::vector<Answer> answers(path.answers.begin(),
                                        path.answers.begin() + static_cast<long>(k));
            answers.push_back(D::Cancelled());
            Run(answers);
            view.script = {ScriptedTableView::PickRecord(2)};
            EXPECT_FALSE(ChooseMaterial(materialSession, &view));
            ExpectUnchanged();
        }
        if (path.browser) { // the browser itself cancelled
            Run({path.answers.front()});
            view.script = {ScriptedTableView::CancelBrowser()};
            EXPECT_FALSE(ChooseMaterial(materialSession, &view));
            ExpectUnchanged();
        }
    }
}

} // namespace
} // namespace kora::test
