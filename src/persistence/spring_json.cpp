#include "persistence/spring_json.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/session.h"
#include "calc/spring_fields.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

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

// The record's plain fields (calc/spring_fields.h) in passes by kind: numbers, whole numbers,
// texts, flag letters, booleans; within a pass in the order of the record.
constexpr FieldKind kKindPasses[][2] = {
    {FieldKind::Real, FieldKind::Real}, {FieldKind::Word, FieldKind::Int32},
    {FieldKind::Text, FieldKind::Text}, {FieldKind::Flag, FieldKind::Flag},
    {FieldKind::Bool, FieldKind::Bool},
};

void WriteField(JsonWriter& j, const SpringRecord& s, const SpringField& field) {
    const FieldMember& m = field.member;
    switch (KindOf(field)) {
    case FieldKind::Real:
        return j.Number(field.name, s.*std::get<real SpringRecord::*>(m));
    case FieldKind::Word:
        return j.Integer(field.name, s.*std::get<word SpringRecord::*>(m));
    case FieldKind::Int32:
        return j.Integer(field.name, s.*std::get<std::int32_t SpringRecord::*>(m));
    case FieldKind::Bool:
        return j.Boolean(field.name, s.*std::get<bool SpringRecord::*>(m));
    case FieldKind::Text:
        return j.Text(field.name, s.*std::get<TextMember>(m).member);
    case FieldKind::Flag:
        return j.Text(field.name, std::string(1, s.*std::get<FlagMember>(m).member));
    }
}

void WriteMainBlock(JsonWriter& j, const SpringRecord& s) {
    for (const auto& pass : kKindPasses)
        for (const SpringField& field : SpringFields())
            if (KindOf(field) == pass[0] || KindOf(field) == pass[1]) WriteField(j, s, field);
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
