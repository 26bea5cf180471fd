// The menu vocabulary: one caption per menu entry in nine languages, the German column as the
// menus are named, "&" before each access key. A language switch copies one column into the
// menu captions. The texts are UTF-8, since only the Qt menus show them.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kora {

// The rows, named by their German caption.
enum class MenuText : std::size_t {
    Menue,
    Datei,
    Neu,
    Oeffnen,
    Speichern,
    SpeichernUnter,
    Zuruecksetzen,
    EdiDateien,
    Einstellungen,
    Beenden,
    Info,
    Drucken,
    Druckereinstellung,
    Import,
    Export,
    Bearbeiten,
    Text,
    Quick,
    Werkstoff,
    Herstellung,
    Toleranzen,
    Anwendung,
    Auslegung,
    Vorauslegung,
    Nachrechnung,
    Berechnungsmethode,
    Ansicht,
    Standard,
    Standardausdruck,
    Auszug,
    Datenbank,
    Cad,
    Fertigungszeichnung,
    Zeichnung,
    Vorderansicht,
    Seitenansicht,
    Schnitt,
    EinfacherSchnitt,
    Draufsicht,
    Diagramme,
    Diagramm,
    Dokument,
    Zeichnungsdaten,
    AenderungenInfo,
    AenderungenAusdruck,
    NeueAenderung,
    LetzteAenderungBearbeiten,
    LetzteAenderungLoeschen,
    DokumentSetup,
    Hilfe,
    Hilfebild,
    Fehlermeldungen,
    Demo,
    Sicherheit,
    Ausdruck,
    Sprache,
    KaldornHomepage,
    EmailAnKaldorn,
    Sonstige,
    Basisdaten,
    Abmessungen,
    Animation,
    Tabelle,
    Voransicht,
    // The language entries of the help menu.
    Deutsch,
    English,
    Francais,
    Italiano,
    Svensk,
    Korea,
    Espanol,
    // Further entries of the menus.
    Windungsabschnitte,
    Federkennlinie,
    Statistik,
    Dreid, // "&3D"
    Goodman,
    HaighGoodman,
    Ole,
    Excel,
    StartExcel,
    ExportKoraExcel,
    ImportExcelKora,
    PrintoutExcel,
    Relaxation,
    Anlassen,
    Windungsabstaende,
    Druckmakro,
    ZeichnungExportieren, // the current drawing as PDF, SVG or PNG
    Count
};

inline constexpr std::size_t kMenuTextCount = static_cast<std::size_t>(MenuText::Count);

// Language codes 1 Deutsch, 2 English, 3 Français, 4 Italiano, 5 Svenska, 6 Português,
// 7 Română, 8 Korean, 9 Español.
inline constexpr int kMenuLanguageCount = 9;
inline constexpr int kGermanLanguage = 1;

// The caption of a row in a language; a code outside 1..9 (0: none chosen) gives German.
std::string_view MenuCaption(MenuText row, int languageCode);

// Every language's caption of a row, German first.
const std::array<std::string_view, kMenuLanguageCount>& MenuCaptions(MenuText row);

} // namespace kora
