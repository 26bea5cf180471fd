// The main menu as one table: every entry with its nesting level, its caption (a row of the
// menu vocabulary, with fixed text before or after it) and the command it runs. The Qt shell
// builds its menu bar by walking the table, and a language switch renews every caption from
// the same rows.
#pragma once

#include "ui/commands.h"
#include "ui/menu_vocabulary.h"

#include <span>
#include <string>
#include <string_view>

namespace kora {

struct MenuEntry {
    enum class Kind {
        Menu,      // a menu or submenu; the entries of the next level follow it
        Command,   // runs `command`
        Separator, // a line
    };
    int level;
    Kind kind;
    std::string_view before; // fixed text before the vocabulary caption
    MenuText text;           // MenuText::Count: no vocabulary caption
    std::string_view after;  // fixed text after it
    CommandId command = CommandId::mi_fileNew;
    MenuText inParentheses = MenuText::Count; // a second caption, " (" + it + ")"
};

// Every entry in menu order.
std::span<const MenuEntry> MainMenu();

// The caption of an entry in a language (1..9).
std::string MenuEntryCaption(const MenuEntry& entry, int languageCode);

// The caption of the messages entry: "&Fehlermeldungen" + " (" + count + ")".
std::string MessagesCaption(int languageCode, int count);

} // namespace kora
