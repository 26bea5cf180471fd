#include "persistence/spring_json.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/session.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace kora {
namespace {

// Writes one JSON object member after another; texts arrive in code page 850.
class JsonWriter {
  public:
    // JSON has no NaN or infinity, and every reader turns a number beyond a double's range
    // (a long double holds up to about 1e4932) into infinity: such values are written as null.
    static bool DoubleCanHold(long double value) {
        return std::isfinite(value) &&
               std::fabs(value) <= static_cast<long double>(std::numeric_limits<double>::max());
    }
    void Open(char bracket, std::string_view key = {}) {
        Key(key);
        out_ += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        out_ += bracket;
        first_ = false;
    }
    void Number(std::string_view key, long double value) {
        Key(key);
        out_ += DoubleCanHold(value) ? FormatC("%.21Lg", value) : std::string("null");
    }
    void Integer(std::string_view key, long long value) {
        Key(key);
        out_ += std::to_string(value);
    }
    void Boolean(std::string_view key, bool value) {
        Key(key);
        out_ += value ? "true" : "false";
    }
    void Text(std::string_view key, std::string_view cp850) {
        Key(key);
        out_ += '"';
        for (unsigned char c : Cp850ToUtf8(cp850)) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20) {
                out_ += FormatC("\\u%04x", c);
            } else {
                out_ += static_cast<char>(c);
            }
        }
        out_ += '"';
    }
    std::string Result() { return std::move(out_); }

  private:
    void Key(std::string_view key) {
        if (!first_) out_ += ',';
        first_ = false;
        if (key.empty()) return;
        out_ += '"';
        out_ += key;
        out_ += "\":";
    }
    std::string out_;
    bool first_ = true;
};

void WriteMainBlock(JsonWriter& j, const SpringRecord& s) {
    const struct {
        const char* name;
        real value;
    } reals[] = {
        {"Lc", s.Lc},
        {"L0", s.L0},
        {"Lsec", s.Lsec},
        {"L1", s.L1},
        {"L2", s.L2},
        {"Lx", s.Lx},
        {"Lcth", s.Lcth},
        {"Ln", s.Ln},
        {"sc", s.sc},
        {"s1", s.s1},
        {"s2", s.s2},
        {"sx", s.sx},
        {"sh", s.sh},
        {"Sa", s.Sa},
        {"sn", s.sn},
        {"sk", s.sk},
        {"Fc", s.Fc},
        {"F1", s.F1},
        {"F2", s.F2},
        {"Fx", s.Fx},
        {"Fn", s.Fn},
        {"Rc", s.Rc},
        {"R0", s.R0},
        {"R1", s.R1},
        {"R2", s.R2},
        {"Rx", s.Rx},
        {"fec", s.fec},
        {"fe0", s.fe0},
        {"fe1", s.fe1},
        {"fe2", s.fe2},
        {"fex", s.fex},
        {"taun", s.taun},
        {"tauc", s.tauc},
        {"Dm", s.Dm},
        {"Di", s.Di},
        {"De", s.De},
        {"w", s.w},
        {"n", s.n},
        {"nt", s.nt},
        {"Lview", s.Lview},
        {"tolDUpper", s.tolDUpper},
        {"tolDLower", s.tolDLower},
        {"tolL0Upper", s.tolL0Upper},
        {"tolL0Lower", s.tolL0Lower},
        {"e1", s.e1},
        {"e2", s.e2},
        {"tolF1Upper", s.tolF1Upper},
        {"tolF1Lower", s.tolF1Lower},
        {"tolF2Upper", s.tolF2Upper},
        {"tolF2Lower", s.tolF2Lower},
        {"ne", s.ne},
        {"nend1", s.nend1},
        {"nend2", s.nend2},
        {"Lend", s.Lend},
        {"Lend1", s.Lend1},
        {"Lend2", s.Lend2},
        {"nue", s.nue},
        {"L", s.L},
        {"m", s.m},
        {"W12", s.W12},
        {"W0c", s.W0c},
        {"W01", s.W01},
        {"W02", s.W02},
        {"faktorRFc", s.faktorRFc},
        {"seps", s.seps},
        {"taux", s.taux},
        {"taukx", s.taukx},
        {"deltaDe", s.deltaDe},
        {"d", s.d},
        {"h", s.h},
        {"E", s.E},
        {"G", s.G},
        {"rho", s.rho},
        {"Rm", s.Rm},
        {"tauz", s.tauz},
        {"theta", s.theta},
        {"Gtheta", s.Gtheta},
        {"k", s.k},
        {"tau1", s.tau1},
        {"tau2", s.tau2},
        {"tauk1", s.tauk1},
        {"tauk2", s.tauk2},
        {"taukh", s.taukh},
        {"tauhz", s.tauhz},
        {"S1", s.S1},
        {"S2", s.S2},
        {"Sh", s.Sh},
        {"N", s.N},
        {"Nmin", s.Nmin},
        {"Nmax", s.Nmax},
        {"wireTol", s.wireTol},
        {"f", s.f},
        {"x", s.x},
        {"sigmaFactor", s.sigmaFactor},
        {"rejectAtSigma", s.rejectAtSigma},
        {"statDevDm", s.statDevDm},
        {"statDevF1", s.statDevF1},
        {"statDevF2", s.statDevF2},
        {"fatigueTolMin", s.fatigueTolMin},
        {"fatigueTolMax", s.fatigueTolMax},
        {"rx2", s.rx2},
        {"resolution3D", s.resolution3D},
        {"tempFrom", s.tempFrom},
        {"tempTo", s.tempTo},
        {"settingLength", s.settingLength},
        {"edgeRadius", s.edgeRadius},
        {"mandrelMax", s.mandrelMax},
        {"sleeveMin", s.sleeveMin},
    };
    for (const auto& r : reals)
        j.Number(r.name, r.value);
    const struct {
        const char* name;
        long long value;
    } integers[] = {
        {"tolGradeD", s.tolGradeD},
        {"tolGradeL0", s.tolGradeL0},
        {"tolGradeE1", s.tolGradeE1},
        {"tolGradeF1", s.tolGradeF1},
        {"tolGradeE2", s.tolGradeE2},
        {"tolGradeF2", s.tolGradeF2},
        {"endType", s.endType},
        {"ssteps", s.ssteps},
        {"wsteps", s.wsteps},
        {"nsec", s.nsec},
        {"nchar", s.nchar},
        {"nfrl", s.nfrl},
        {"diameterInput", s.diameterInput},
        {"charCoordinate", s.charCoordinate},
        {"definitionMode", s.definitionMode},
        {"charOrigin", s.charOrigin},
        {"wireType", s.wireType},
        {"wireTolGrade", s.wireTolGrade},
        {"loadType", s.loadType},
        {"manufacturing", s.manufacturing},
        {"coilingDirection", s.coilingDirection},
        {"materialKind", s.materialKind},
        {"materialGrade", s.materialGrade},
        {"materialNumber", s.materialNumber},
        {"wireSurface", s.wireSurface},
        {"warnMode", s.warnMode},
        {"statsGrade", s.statsGrade},
        {"compensationMode", s.compensationMode},
        {"presetting", s.presetting},
        {"deburring", s.deburring},
        {"mandrelSleeve", s.mandrelSleeve},
    };
    for (const auto& i : integers)
        j.Integer(i.name, i.value);
    const struct {
        const char* name;
        const std::string& value;
    } texts[] = {
        {"endText", s.endText},           {"materialName", s.materialName},
        {"designation", s.designation},   {"drawingNumber", s.drawingNumber},
        {"remark1", s.remark1},           {"remark2", s.remark2},
        {"TitleLine", s.TitleLine},       {"surfaceProtection", s.surfaceProtection},
        {"extraInfo1", s.extraInfo1},     {"extraInfo2", s.extraInfo2},
        {"drawingName2", s.drawingName2},
    };
    for (const auto& t : texts)
        j.Text(t.name, t.value);
    j.Text("shotPeened", std::string(1, s.shotPeened));
    j.Text("statsSwitch", std::string(1, s.statsSwitch));
    j.Boolean("showSettingLength", s.showSettingLength);
    j.Boolean("settingEqualsLc", s.settingEqualsLc);
    j.Boolean("showLdPm", s.showLdPm);
}

// Slots 0..nsec+1: the dead-coil blocks frame the user's sections.
void WriteSections(JsonWriter& j, const SpringRecord& s) {
    j.Open('[', "sections");
    const int last = s.nsec >= 0 && s.nsec < kSectionSlots - 1 ? s.nsec + 1 : 0;
    for (int i = 0; i <= last; ++i) {
        const CoilSection& c = s.sections[i];
        j.Open('{');
        j.Number("L0i", c.L0i);
        j.Number("Lci", c.Lci);
        j.Number("P", c.P);
        j.Number("ni", c.ni);
        j.Number("Ri", c.Ri);
        j.Number("Fci", c.Fci);
        j.Close('}');
    }
    j.Close(']');
}

void WritePoints(JsonWriter& j, const SpringRecord& s) {
    j.Open('[', "points");
    for (int i = 1; i <= s.nchar && i < kPointSlots; ++i) {
        const CharacteristicPoint& p = s.points[i];
        j.Open('{');
        j.Number("F", p.F);
        j.Number("s", p.s);
        j.Number("L", p.L);
        j.Number("R", p.R);
        j.Close('}');
    }
    j.Close(']');
    j.Open('[', "frl");
    for (int i = 1; i <= s.nfrl && i < kPointSlots; ++i) {
        const FrlPoint& p = s.frl[i];
        j.Open('{');
        j.Number("F", p.F);
        j.Number("L", p.L);
        j.Number("R", p.R);
        j.Close('}');
    }
    j.Close(']');
}

} // namespace

std::string SpringToJson(const Session& session) {
    JsonWriter j;
    j.Open('{');
    j.Boolean("FatalFlag", session.FatalFlag);
    j.Open('[', "MessageList");
    for (const auto& message : session.messages)
        j.Text({}, message);
    j.Close(']');
    j.Open('{', "SpringRecord");
    WriteMainBlock(j, session.spring);
    WriteSections(j, session.spring);
    WritePoints(j, session.spring);
    j.Close('}');
    j.Close('}');
    return j.Result() + "\n";
}

} // namespace kora
