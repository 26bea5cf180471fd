#include "ui/menu_vocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kora {
namespace {

using M = MenuText;

constexpr const char* kLanguageNames[kMenuLanguageCount] = {"Deutsch",  "English", "Francais",
                                                            "Italiano", "Svensk",  "Portugues",
                                                            "Romana",   "Korea",   "Espanol"};

MenuText Row(std::size_t i) {
    return static_cast<MenuText>(i);
}

// The access key of a caption: the character after a single "&" (ASCII letters without case),
// empty when there is none.
std::string AccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        std::size_t end = i + 2;
        while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80)
            ++end;
        std::string key(caption.substr(i + 1, end - i - 1));
        if (key.size() == 1) key[0] = static_cast<char>(std::tolower(key[0]));
        return key;
    }
    return {};
}

std::string WithoutAmpersand(std::string_view caption) {
    std::string plain;
    for (char c : caption)
        if (c != '&') plain += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return plain;
}

// The rows of the vocabulary in the order the German menu names them.
const char* const kGermanRows[] = {"Menü",
                                   "&Datei",
                                   "&Neu...",
                                   "Ö&ffnen...",
                                   "&Speichern...",
                                   "Speichern &Unter...",
                                   "&Zurücksetzen",
                                   "&EDI-Dateien...",
                                   "E&instellungen",
                                   "&Beenden",
                                   "&Info",
                                   "&Drucken...",
                                   "Druckereinstellung",
                                   "&Import",
                                   "Ex&port",
                                   "&Bearbeiten",
                                   "Te&xt",
                                   "&Quick",
                                   "&Werkstoff",
                                   "&Herstellung",
                                   "&Toleranzen",
                                   "A&nwendung",
                                   "&Auslegung",
                                   "&Vorauslegung",
                                   "&Nachrechnung",
                                   "&Berechnungsmethode",
                                   "&Ansicht",
                                   "&Standard",
                                   "&Standardausdruck",
                                   "&Auszug",
                                   "Datenban&k",
                                   "&CAD",
                                   "&Fertigungszeichnung",
                                   "&Zeichnung",
                                   "&Vorderansicht",
                                   "&Seitenansicht",
                                   "&Schnitt",
                                   "&Einfacher Schnitt",
                                   "D&raufsicht",
                                   "&Diagramme",
                                   "&Diagramm",
                                   "D&okument",
                                   "&Zeichnungsdaten",
                                   "Änderungen - &Info",
                                   "Änderungen - &Ausdruck",
                                   "&Neue Änderung",
                                   "Letzte Änderung &bearbeiten",
                                   "Letzte Änderung &löschen",
                                   "Dokument &Setup",
                                   "&Hilfe",
                                   "&Hilfebild",
                                   "&Fehlermeldungen",
                                   "&Demo",
                                   "&Sicherheit",
                                   "&Ausdruck",
                                   "&Sprache",
                                   "&KALDORN Homepage",
                                   "&E-Mail an KALDORN",
                                   "&Sonstige",
                                   "&Basisdaten",
                                   "&Abmessungen",
                                   "&Animation",
                                   "&Tabelle",
                                   "&Voransicht"};

TEST(MenuVocabulary, GermanRowsComeInTheMenuOrder) {
    for (std::size_t i = 0; i < std::size(kGermanRows); ++i)
        EXPECT_EQ(MenuCaption(Row(i), kGermanLanguage), kGermanRows[i]) << "row " << i;
}

struct Caption {
    MenuText row;
    const char* text;
};

TEST(MenuVocabulary, GermanEntriesOfTheMenuCommands) {
    const Caption cases[] = {
        {M::Deutsch, "&Deutsch"},
        {M::English, "&English"},
        {M::Francais, "&Francais"},
        {M::Italiano, "&Italiano"},
        {M::Svensk, "&Svensk"},
        {M::Korea, "&Korea"},
        {M::Espanol, "Espan&ol"},
        {M::Windungsabschnitte, "&Windungsabschnitte"},
        {M::Federkennlinie, "&Federkennlinie"},
        {M::Statistik, "&Statistik"},
        {M::Dreid, "&3D"},
        {M::Ole, "&OLE"},
        {M::Excel, "Excel"},
        {M::StartExcel, "Start Excel"},
        {M::ExportKoraExcel, "Export KORA -> Excel"},
        {M::ImportExcelKora, "Import Excel -> KORA"},
        {M::PrintoutExcel, "Printout -> Excel"},
    };
    for (const Caption& c : cases)
        EXPECT_EQ(MenuCaption(c.row, kGermanLanguage), c.text);
}

TEST(MenuVocabulary, EnglishCaptionsAsTheMenusName) {
    const Caption cases[] = {
        {M::Datei, "&File"},
        {M::Neu, "&New..."},
        {M::Oeffnen, "&Open..."},
        {M::Speichern, "&Save..."},
        {M::SpeichernUnter, "Save &As..."},
        {M::Zuruecksetzen, "&Reset"},
        {M::Einstellungen, "Se&ttings"},
        {M::Beenden, "E&xit"},
        {M::Drucken, "&Print..."},
        {M::Druckereinstellung, "Printer Setup"},
        {M::Bearbeiten, "&Edit"},
        {M::Werkstoff, "&Material"},
        {M::Herstellung, "&Production"},
        {M::Toleranzen, "&Tolerance"},
        {M::Anwendung, "A&pplication"},
        {M::Auslegung, "&Dimensioning"},
        {M::Vorauslegung, "&Pre-Dimensioning"},
        {M::Nachrechnung, "&Recalculation"},
        {M::Berechnungsmethode, "&Calculation Method"},
        {M::Ansicht, "&View"},
        {M::Standardausdruck, "&Standard Printout"},
        {M::Auszug, "&Excerpt Printout"},
        {M::Datenbank, "&Database"},
        {M::Fertigungszeichnung, "&Production drawing"},
        {M::Hilfe, "&Help"},
        {M::Fehlermeldungen, "&Error messages"},
        {M::Ausdruck, "&Printout"},
        {M::Sprache, "&Language"},
        {M::Tabelle, "&Table"},
        {M::Voransicht, "&Preview"},
    };
    for (const Caption& c : cases)
        EXPECT_EQ(MenuCaption(c.row, 2), c.text);
}

TEST(MenuVocabulary, EveryCellIsFilledWithAnAccessKeyWhereGermanHasOne) {
    for (std::size_t i = 0; i < kMenuTextCount; ++i) {
        const bool germanKey = !AccessKey(MenuCaption(Row(i), kGermanLanguage)).empty();
        for (int code = 1; code <= kMenuLanguageCount; ++code) {
            const std::string_view caption = MenuCaption(Row(i), code);
            EXPECT_FALSE(caption.empty()) << "row " << i << " " << kLanguageNames[code - 1];
            if (germanKey) {
                EXPECT_FALSE(AccessKey(caption).empty())
                    << caption << " (" << kLanguageNames[code - 1] << ")";
            }
            EXPECT_LE(std::count(caption.begin(), caption.end(), '&'), 1) << caption;
        }
    }
}

TEST(MenuVocabulary, NoTwoRowsOfALanguageReadTheSame) {
    for (int code = 1; code <= kMenuLanguageCount; ++code) {
        std::set<std::string> seen;
        for (std::size_t i = 0; i < kMenuTextCount; ++i) {
            const std::string_view caption = MenuCaption(Row(i), code);
            EXPECT_TRUE(seen.insert(WithoutAmpersand(caption)).second)
                << caption << " (" << kLanguageNames[code - 1] << ")";
        }
    }
}

// The entries that share one menu. Where German itself repeats a key (its column is fixed),
// another language may repeat as many.
const std::vector<std::vector<MenuText>> kMenus = {
    {M::Datei, M::Bearbeiten, M::Ansicht, M::Datenbank, M::Cad, M::Dokument, M::Ole, M::Hilfe},
    {M::Neu, M::Oeffnen, M::Speichern, M::SpeichernUnter, M::Zuruecksetzen, M::EdiDateien,
     M::Einstellungen, M::Drucken, M::Druckmakro, M::Import, M::Export, M::ZeichnungExportieren,
     M::Beenden},
    {M::Text, M::Quick, M::Werkstoff, M::Herstellung, M::Toleranzen, M::Anwendung, M::Auslegung,
     M::Vorauslegung, M::Windungsabschnitte, M::Federkennlinie, M::Nachrechnung,
     M::Berechnungsmethode, M::Statistik, M::Fertigungszeichnung},
    {M::Standard, M::Tabelle},
    {M::Standardausdruck, M::Auszug, M::Windungsabstaende, M::Quick, M::Federkennlinie, M::Diagramm,
     M::Goodman, M::HaighGoodman, M::Schnitt, M::Zeichnung, M::Dreid, M::Fertigungszeichnung,
     M::Animation, M::Fehlermeldungen, M::Vorderansicht, M::Seitenansicht, M::Draufsicht,
     M::Diagramme},
    {M::Fertigungszeichnung, M::Schnitt, M::EinfacherSchnitt, M::Dreid, M::Zeichnung, M::Diagramme},
    {M::Werkstoff, M::Relaxation, M::Anlassen},
    {M::Zeichnungsdaten, M::AenderungenInfo, M::AenderungenAusdruck, M::NeueAenderung,
     M::LetzteAenderungBearbeiten, M::LetzteAenderungLoeschen, M::DokumentSetup},
    {M::StartExcel, M::ExportKoraExcel, M::ImportExcelKora, M::PrintoutExcel},
    {M::Hilfebild, M::Fehlermeldungen, M::Demo, M::Sicherheit, M::Sprache, M::KaldornHomepage,
     M::EmailAnKaldorn, M::Info},
    {M::Deutsch, M::English, M::Francais, M::Italiano, M::Svensk, M::Korea, M::Espanol},
};

int RepeatedKeys(const std::vector<MenuText>& menu, int code) {
    std::multiset<std::string> keys;
    for (MenuText row : menu)
        if (auto key = AccessKey(MenuCaption(row, code)); !key.empty()) keys.insert(key);
    return static_cast<int>(keys.size() - std::set<std::string>(keys.begin(), keys.end()).size());
}

TEST(MenuVocabulary, AccessKeysDifferWithinEachMenu) {
    for (std::size_t m = 0; m < kMenus.size(); ++m) {
        const int german = RepeatedKeys(kMenus[m], kGermanLanguage);
        for (int code = 2; code <= kMenuLanguageCount; ++code)
            EXPECT_LE(RepeatedKeys(kMenus[m], code), german)
                << "menu " << m << " " << kLanguageNames[code - 1];
    }
    // The menus where German repeats no key.
    for (std::size_t m : {5u, 6u, 7u, 10u})
        EXPECT_EQ(RepeatedKeys(kMenus[m], kGermanLanguage), 0) << "menu " << m;
}

struct LookupCase {
    int code;
    const char* caption;
};

TEST(MenuVocabulary, ACodeOutsideTheNineGivesGerman) {
    const LookupCase cases[] = {{0, "&Datei"}, {-1, "&Datei"},  {10, "&Datei"},  {1, "&Datei"},
                                {2, "&File"},  {3, "&Fichier"}, {8, "파일(&F)"}, {9, "&Archivo"}};
    for (const LookupCase& c : cases)
        EXPECT_EQ(MenuCaption(M::Datei, c.code), c.caption) << c.code;
}

} // namespace
} // namespace kora
