#include "ui/main_menu.h"

#include "persistence/configuration_file.h"
#include "persistence/program_folders.h"
#include "platform/scripted_dialogs.h"
#include "ui/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace kora {
namespace {

namespace fs = std::filesystem;

std::string Caption(CommandId id, int language) {
    for (const MenuEntry& e : MainMenu())
        if (e.kind == MenuEntry::Kind::Command && e.command == id)
            return MenuEntryCaption(e, language);
    return "(missing)";
}

TEST(MainMenu, EveryMenuCommandOfTheTableStandsInTheMenuOnce) {
    std::multiset<CommandId> inMenu;
    for (const MenuEntry& e : MainMenu())
        if (e.kind == MenuEntry::Kind::Command) inMenu.insert(e.command);
    for (const Command& c : Commands()) {
        if (c.id == CommandId::cl_json) continue; // the command line's own
        EXPECT_EQ(inMenu.count(c.id), 1U) << static_cast<int>(c.id);
    }
}

TEST(MainMenu, LevelsNestUnderTheirMenus) {
    int deepest = 0; // the deepest level the next entry may stand on
    for (const MenuEntry& e : MainMenu()) {
        EXPECT_LE(e.level, deepest);
        EXPECT_TRUE(e.level > 0 || e.kind == MenuEntry::Kind::Menu) << "only menus on the bar";
        deepest = e.level + (e.kind == MenuEntry::Kind::Menu ? 1 : 0);
    }
}

TEST(MainMenu, CaptionsComeFromTheVocabularyInEveryLanguage) {
    struct Case {
        CommandId id;
        int language;
        std::string caption;
    };
    const Case cases[] = {
        {CommandId::mi_fileOpenTable, 1, "Ö&ffnen... (&Tabelle)"},
        {CommandId::mi_FileSaveAs, 1, "Speichern &Unter..."},
        {CommandId::mi_FileSaveAs, 2, "Save &As..."},
        {CommandId::mi_ViewCharLineFs, 1, "F-s &Federkennlinie"},
        {CommandId::mi_viewschnittL, 1, "&Schnitt  L = ?"},
        {CommandId::Mi_viewrelax1, 5, "Rx % = f (T,d,tau)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Caption(c.id, c.language), c.caption);
    for (int language = 1; language <= kMenuLanguageCount; ++language) {
        for (const MenuEntry& e : MainMenu()) {
            if (e.kind != MenuEntry::Kind::Separator && e.text != MenuText::Count) {
                EXPECT_FALSE(MenuEntryCaption(e, language).empty()) << language;
            }
        }
    }
    EXPECT_EQ(MessagesCaption(1, 0), "&Fehlermeldungen (0)");
    EXPECT_EQ(MessagesCaption(2, 3), "&Error messages (3)");
}

struct LanguageFixture {
    fs::path folder;
    ScriptedDialogs dialogs;
    LanguageFixture() {
        std::string pattern = (fs::temp_directory_path() / "kora-lang-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
    }
    ~LanguageFixture() { fs::remove_all(folder); }
};

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MenuLanguage, ASwitchIsStoredAndTheNextStartShowsIt) {
    LanguageFixture f;
    std::ofstream(f.folder / "kora.cfg"); // an empty file in the start folder: the defaults
    {
        Application app(f.dialogs);
        app.ReadConfiguration(f.folder.string(), {});
        app.session().config.tempFolder = "/somewhere/of/this/run"; // not the file's
        EXPECT_EQ(RunCommand(app, CommandId::mi_helplanguageEspanol).status,
                  CommandOutcome::Status::Done);
        EXPECT_EQ(app.session().config.LanguageCode, 9);
    }
    const std::string stored = Bytes(f.folder / "kora.cfg");
    EXPECT_EQ(stored.find("/somewhere/of/this/run"), std::string::npos);
    Application next(f.dialogs);
    next.ReadConfiguration(f.folder.string(), {});
    EXPECT_EQ(next.session().config.LanguageCode, 9);
}

} // namespace
} // namespace kora
