#include "persistence/spring_json.h"

#include "calc/spring_fields.h"
#include "common/example_springs.h"
#include "engine/calculate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace kora {
namespace {

// Runs a reader nobody here wrote over the document and returns what the script prints.
std::string PythonReads(const std::string& json, const std::string& script) {
    // ctest runs tests in parallel processes: one file per test.
    const std::string path = ::testing::TempDir() + "kora-spring-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".json";
    std::ofstream(path, std::ios::binary) << json;
    const std::string command = "/usr/bin/python3 -c 'import json,sys; "
                                "d=json.load(open(sys.argv[1], encoding=\"utf-8\")); " +
                                script + "' " + path + " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

TEST(SpringJson, PythonReadsTheCalculatedSpring) {
    Session session;
    examples::ThreeSections(session);
    examples::TypedSteel(session);
    session.spring.designation = "Ventilfeder \"A\" \x81"
                                 "ber"; // quote and CP850 ü
    CalculateSpring(session);
    const std::string json = SpringToJson(session);
    const std::string out =
        PythonReads(json, "s=d[\"SpringRecord\"]; print(d[\"FatalFlag\"], len(s[\"sections\"]), "
                          "round(s[\"Fc\"], 6), s[\"designation\"], s[\"nsec\"])");
    char expected[200];
    std::snprintf(expected, sizeof expected, "False 5 %.6f Ventilfeder \"A\" über 3\n",
                  static_cast<double>(session.spring.Fc));
    EXPECT_EQ(out, expected);
}

TEST(SpringJson, AFatalSpringCarriesItsMessages) {
    Session session;
    examples::QuietSpring(session);
    session.spring.L2 = session.spring.L1;
    CalculateSpring(session);
    const std::string out =
        PythonReads(SpringToJson(session), "print(d[\"FatalFlag\"], d[\"MessageList\"])");
    EXPECT_EQ(out, "True ['Fatal  : sh <= 0 !']\n");
}

TEST(SpringJson, NumbersNoDoubleCanHoldAreNull) {
    // A long double holds 1e4000; Python would read it as infinity. The largest double and
    // the smallest non-zero ones stay numbers.
    Session session;
    examples::QuietSpring(session);
    session.spring.Lx = 1e4000L;
    session.spring.L0 = -1e4000L;
    session.spring.Rm = static_cast<long double>(std::numeric_limits<double>::max());
    session.spring.tauz = 1e-320L;
    const std::string out = PythonReads(
        SpringToJson(session), "import math; s=d[\"SpringRecord\"]; print(s[\"Lx\"], s[\"L0\"], "
                               "math.isfinite(s[\"Rm\"]), s[\"Rm\"] > 1e308, s[\"tauz\"] >= 0)");
    EXPECT_EQ(out, "None None True True True\n");
}

// The record's part of the document is the field catalogue: each field once under its name,
// beside the three tables.
TEST(SpringJson, EveryFieldOfTheCatalogueOnceUnderItsName) {
    Session session;
    examples::QuietSpring(session);
    CalculateSpring(session);
    std::vector<std::string> names;
    for (const SpringField& field : SpringFields())
        names.emplace_back(field.name);
    std::sort(names.begin(), names.end());
    std::string want = "True";
    for (const std::string& name : names)
        want.append(" ").append(name);
    const std::string out = PythonReads(
        SpringToJson(session),
        "p=json.load(open(sys.argv[1], encoding=\"utf-8\"), object_pairs_hook=lambda kv: kv); "
        "r=dict(p)[\"SpringRecord\"]; k=[n for n, v in r if n not in (\"sections\", \"points\", "
        "\"frl\")]; print(len(k) == len(set(k)), \" \".join(sorted(k)))");
    EXPECT_EQ(out, want + "\n");
}

TEST(SpringJson, FieldsOfEveryKindInTheirForm) {
    Session session;
    examples::QuietSpring(session);
    SpringRecord& s = session.spring;
    s.showForces = false;
    s.showLdPm = true;
    s.surfaceProtectionIndex = 4;
    s.changeCount = 1;
    s.shotPeened = 'J';
    s.materialNumber = 17;
    s.remark1 = "Gr\x94\xE1"
                "e"; // CP850 öß
    const std::string json = SpringToJson(session);
    for (const char* member :
         {"\"showForces\":false", "\"showLdPm\":true", "\"surfaceProtectionIndex\":4",
          "\"changeCount\":1", "\"shotPeened\":\"J\"", "\"materialNumber\":17",
          "\"remark1\":\"Gr\xC3\xB6\xC3\x9F"
          "e\"",
          "\"L1\":35,", "\"ssteps\":250,"})
        EXPECT_NE(json.find(member), std::string::npos) << member;
}

} // namespace
} // namespace kora
