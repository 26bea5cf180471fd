// The messages of the drawing export (PNG, SVG, PDF files of a drawing), in one place.
#pragma once

#include <string_view>

namespace kora::export_text {

inline constexpr std::string_view kUnknownOutput = "KORA: diese Zeichnung gibt es nicht: ";
inline constexpr std::string_view kNotDrawn = "KORA: die Zeichnung wurde nicht erstellt";
inline constexpr std::string_view kRenderFailed =
    "KORA: die Zeichnung konnte nicht gerendert werden";
inline constexpr std::string_view kWriteFailed =
    "KORA: die Datei konnte nicht geschrieben werden: ";

} // namespace kora::export_text
