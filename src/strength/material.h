// The material in use: resetting CurrentMaterial, the tensile strength Rm(d) of the row,
// the shear modulus at the operating temperature, and the built-in list of German standard
// spring-wire grades with its mapping to and from material numbers.
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

#include <array>
#include <span>
#include <string_view>

namespace kora {

struct Session;

// log10 as the whole program takes it: a value <= 0 gives -1e30 instead of a pole (NaN stays
// NaN).
real Log10OrFloor(real x);

// Clears CurrentMaterial to an empty row (rho 7.8, both reference diameters 1.0) and sets
// the spring's materialNumber to 3.
void ResetCurrentMaterial(Session& session);

// Rm = Rm0 - kRm * log10(d / d0), capped by Rm max when that is 2 or more. d <= 0 and
// d0 = 0 add their fatal message and give 0.1; so does a d that is no number at all.
real TensileStrengthAt(Session& session, real d);

// G * (3620 - theta) / 3600: equal to G at 20 °C.
real ShearModulusAt(real G, real theta);

// Calculation step: Gtheta from G and theta. False, with a fatal message and FatalFlag,
// when the result is not positive (or theta is no number); the calculation then stops.
bool SetOperatingShearModulus(Session& session);

// One type of the standard-grade choice. Texts in code page 850; the entry text becomes
// the spring's materialName when the type is chosen.
struct StandardGrade {
    std::string_view entry;
    std::string_view gradePrompt; // empty: the type has no grades
    std::span<const std::string_view> grades;
    word firstNumber; // material number of grade 1 (or of the type)
};

namespace detail {
inline constexpr std::array<std::string_view, 4> kGrades17223Part1 = {
    "Drahtsorte A", "Drahtsorte B", "Drahtsorte C", "Drahtsorte D"};
inline constexpr std::array<std::string_view, 6> kGrades17223Part2 = {
    "Verg\x81teter Federstahldraht FD", "Verg.Vent.fed.dr. VD (Oteva 31)", "FD - CrV", "FD - SiCr",
    "VD - CrV (Oteva 60, Becrova 33)",  "VD - SiCr (Oteva 70, Becrosi 36)"};
inline constexpr std::array<std::string_view, 7> kGrades17221 = {
    "38 Si 7", "51 Si 7", "60 Si Cr 7", "55 Cr 3", "50 Cr V 4", "51 Cr Mo V4", "54 Si Cr 6"};
} // namespace detail

// Types 1..10 of materialKind, in list order; the choice offers "Andere Werkstoffe" as 11th.
inline constexpr std::array<StandardGrade, 10> StandardGradeList = {{
    {"Federstahldraht DIN 17223  Teil 1", "Federstahldraht nach DIN 17223 Blatt1",
     detail::kGrades17223Part1, 1},
    {"Federstahldraht DIN 17223  T.2 (FD,VD)", "Federstahldraht nach DIN 17223 Blatt 2",
     detail::kGrades17223Part2, 5},
    {"Federstahldraht DIN 17221 und 54SiCr6", "Federstahldraht nach DIN 17221",
     detail::kGrades17221, 11},
    {"Nirosta 1.4310 DIN 17224 (X12CrNi17 7)", "", {}, 18},
    {"Nirosta 1.4568 DIN 17224 (X7CrNiAl17 7)", "", {}, 19},
    {"Nirosta 1.4401 DIN 17224 (X5CrNiMo18 10)", "", {}, 20},
    {"2.1020.39 DIN 17682 (Cu Sn 6 F 95)", "", {}, 21},
    {"2.0335.39 DIN 17682 (Cu Zn 36 F 70)", "", {}, 22},
    {"2.1247.97 DIN 17682 (Cu Be 2)", "", {}, 23},
    {"2.1285.97 DIN 17682 (Cu Co Be)", "", {}, 24},
}};

inline constexpr word kOtherMaterialKind = 11;

// Type 1..10 and grade to the material number of the table. An unknown type, or a grade
// outside the type's list, adds "Mat " + type + " !" and gives 0.
word MaterialNumberOf(Session& session, word type, word grade);

struct MaterialType {
    word type = kOtherMaterialKind;
    word grade = 0;
};

// Material number 1..24 to its type and grade; any other number adds "Mat " + number + " !"
// and gives type 11 ("Andere Werkstoffe"), grade 0.
MaterialType MaterialTypeOf(Session& session, word number);

} // namespace kora
