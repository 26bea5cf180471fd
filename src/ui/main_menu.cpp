#include "ui/main_menu.h"

#include <array>

namespace kora {
namespace {

using K = MenuEntry::Kind;
using T = MenuText;
using C = CommandId;
constexpr T kNone = T::Count;

constexpr MenuEntry Menu(int level, T text, std::string_view before = {},
                         std::string_view after = {}) {
    return {level, K::Menu, before, text, after};
}
constexpr MenuEntry Entry(int level, T text, C command, std::string_view before = {},
                          std::string_view after = {}) {
    return {level, K::Command, before, text, after, command};
}
constexpr MenuEntry Fixed(int level, std::string_view caption, C command) {
    return {level, K::Command, caption, kNone, {}, command};
}
constexpr MenuEntry Line(int level) {
    return {level, K::Separator, {}, kNone, {}};
}

// The menu bar, read top to bottom as the user sees it.
constexpr std::array kMainMenu = {
    Menu(0, T::Datei),
    Entry(1, T::Neu, C::mi_fileNew),
    Entry(1, T::Oeffnen, C::mi_fileOpen),
    MenuEntry{1, K::Command, {}, T::Oeffnen, {}, C::mi_fileOpenTable, T::Tabelle},
    Entry(1, T::Speichern, C::mi_FileSave),
    Entry(1, T::SpeichernUnter, C::mi_FileSaveAs),
    Line(1),
    Entry(1, T::Drucken, C::mi_fileprint),
    Entry(1, T::Ausdruck, C::mi_filePrintMacro),
    Entry(1, T::Druckereinstellung, C::mi_fileprintersetup),
    Entry(1, T::Einstellungen, C::mi_fileConfig),
    Line(1),
    Entry(1, T::Count, C::mi_file1), // recent files: the caption is the path
    Entry(1, T::Count, C::mi_file2),
    Entry(1, T::Count, C::mi_file3),
    Entry(1, T::Count, C::mi_file4),
    Line(1),
    Entry(1, T::Beenden, C::mi_fileexit),

    Menu(0, T::Bearbeiten),
    Entry(1, T::Fertigungszeichnung, C::mi_editProductionDrawing),
    Entry(1, T::Berechnungsmethode, C::mi_EditCalculationMethod),

    Menu(0, T::Ansicht),
    Entry(1, T::Standardausdruck, C::mi_viewstandard),
    Entry(1, T::Auszug, C::mi_viewexcerpt),
    Entry(1, T::Windungsabstaende, C::mi_viewausdruckwindungsabstaende),
    Line(1),
    Menu(1, T::Diagramme),
    Entry(2, T::Quick, C::mi_ViewQuick, {}, " 1"),
    Entry(2, T::Quick, C::mi_viewQuick2, {}, " 2"),
    Entry(2, T::Federkennlinie, C::mi_ViewCharLineFs, "F-s "),
    Entry(2, T::Federkennlinie, C::mi_viewcharlineFL, "F-L "),
    Entry(2, T::Diagramm, C::mi_viewtaus, "tau-s "),
    Entry(2, T::Diagramm, C::mi_viewfederrate, "R-s "),
    Entry(2, T::Diagramm, C::mi_viewfederarbeit, "W-s "),
    Entry(2, T::Diagramm, C::mi_viewEigenfrequenz, "fe-s "),
    Line(2),
    Entry(2, T::Goodman, C::mi_ViewGoodman),
    Entry(2, T::HaighGoodman, C::mi_viewhaighGoodman),
    Entry(2, T::Diagramm, C::mi_viewtaud, "tau-d "),
    Entry(2, T::Diagramm, C::mi_viewk, "k-w "),
    Line(2),
    Fixed(2, "Rx % = f (T,d,tau)", C::Mi_viewrelax1),
    Fixed(2, "Rx % = f (t)", C::mi_viewrelax2),
    Fixed(2, "Rx F2 = f (t)", C::mi_viewrelax3),
    Entry(1, T::Schnitt, C::mi_viewschnitt),
    Entry(1, T::Schnitt, C::mi_viewschnittL, {}, "  L = ?"),
    Entry(1, T::Windungsabschnitte, C::mi_viewdrawingschema),
    Entry(1, T::Windungsabschnitte, C::mi_viewdrawingschemaL, {}, "  L = ?"),
    Entry(1, T::Dreid, C::mi_view3d),
    Entry(1, T::Dreid, C::mi_view3dL, {}, "  L = ?"),
    Entry(1, T::Fertigungszeichnung, C::mi_viewfertigungszeichnung),
    Entry(1, T::Animation, C::mi_viewanimation),
    Entry(1, T::Animation, C::mi_viewAnimationSchema, {}, " (Schema)"),
    Line(1),
    Entry(1, T::Fehlermeldungen, C::mi_viewErrorMessages), // the count follows

    Menu(0, T::Cad),
    Entry(1, T::Fertigungszeichnung, C::mi_cadworkingplan),
    Entry(1, T::Schnitt, C::mi_cadprofile),
    Entry(1, T::EinfacherSchnitt, C::mi_cadsimpleprofile),
    Entry(1, T::Dreid, C::mi_Cad3D),
    Entry(1, T::Windungsabschnitte, C::mi_cadschema),
    Entry(1, T::Diagramme, C::mi_caddiagrams),

    Menu(0, T::Datenbank),
    Entry(1, T::Werkstoff, C::mi_dbfmaterial),
    Entry(1, T::Relaxation, C::mi_dbfrelaxation),
    Entry(1, T::Anlassen, C::mi_dbTempering),

    Menu(0, T::Hilfe),
    Entry(1, T::Hilfebild, C::mi_HelpHilfebild),
    Entry(1, T::Fehlermeldungen, C::mi_helpErrorMessages),
    Menu(1, T::Sprache),
    Entry(2, T::Deutsch, C::mi_helplanguageDeutsch),
    Entry(2, T::English, C::mi_helplanguageEnglish),
    Entry(2, T::Francais, C::mi_helplanguageFrancais),
    Entry(2, T::Italiano, C::mi_helplanguageItaliano),
    Entry(2, T::Svensk, C::mi_helplanguageSvensk),
    Entry(2, T::Korea, C::mi_helplanguageKorea),
    Entry(2, T::Espanol, C::mi_helplanguageEspanol),
    Line(1),
    Entry(1, T::KaldornHomepage, C::mi_helpwww),
    Entry(1, T::EmailAnKaldorn, C::mi_helpemail),
    Entry(1, T::Info, C::mi_HelpAbout),
};

} // namespace

std::span<const MenuEntry> MainMenu() {
    return kMainMenu;
}

std::string MenuEntryCaption(const MenuEntry& entry, int languageCode) {
    std::string caption(entry.before);
    if (entry.text != kNone) caption.append(MenuCaption(entry.text, languageCode));
    caption.append(entry.after);
    if (entry.inParentheses != kNone)
        caption.append(" (").append(MenuCaption(entry.inParentheses, languageCode)).append(")");
    return caption;
}

std::string MessagesCaption(int languageCode, int count) {
    return std::string(MenuCaption(T::Fehlermeldungen, languageCode)) + " (" +
           std::to_string(count) + ")";
}

} // namespace kora
