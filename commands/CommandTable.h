#pragma once

#include "app/MainWindowParts.h"

#include <QKeyCombination>
#include <QKeySequence>
#include <QString>
#include <span>

class frmMain;

// Every command of the main window in one table: its menu item, its keys, when it can be used
// and the handler it runs. The menus, the toolbar, the window's key preview and the enabled
// states are all made from these tables, so a new command is one row here and one handler in
// its subsystem's folder.
namespace Commands {

// When a command can be used.
enum class Enabling { Always, EntryShown, WebAddress, CanGoBack, CanGoForward };

// What decides which commands can be used. The main window keeps one and hands every change to
// frmMain::SetCommandState, which enables each command by IsEnabled.
struct CommandState {
    bool entryShown = false;   // an entry is on show
    bool webAddress = false;   // it has an address a browser may open
    bool canGoBack = false;    // the history has an entry before the current one
    bool canGoForward = false; // or after it

    friend bool operator==(const CommandState&, const CommandState&) = default;
};

bool IsEnabled(Enabling rule, const CommandState& state);

// How a command's key reaches it.
enum class KeyRoute {
    None,
    Shortcut,      // the menu item's own shortcut, which works from every control and which the
                   // menu shows by itself
    Window,        // the window's key preview, from whichever of the window's controls has the
                   // focus; the menu names the key after a tab
    DefaultButton, // as Window, but the key clicks the window's default button (cmdFind), whose
                   // handler runs the command: Enter searches
    Desktop,       // a key the desktop handles (Alt+F4); the menu only names it
};

enum class Menu { None, File, Edit, Go, Help };

struct Command {
    const char* name;    // the menu item's object name, with which its handler's name begins
    Menu menu;           // None: a key of the window that no menu item offers
    const char* caption; // null: a separator
    HelpTopic topic;
    Enabling enabling;
    KeyRoute route;
    QKeyCombination key;
    void (*run)(frmMain& window);
};

struct MenuDef {
    Menu menu;
    const char* name;
    const char* caption;
    HelpTopic topic;
};

// A toolbar button runs the command named by its row; a row without a tooltip is a separator.
struct ToolbarButtonDef {
    ToolbarKey key;
    const char* tooltip;
    const char* command;
};

// The commands, menu by menu in their menu's order, then the keys that no menu offers.
std::span<const Command> MainCommands();
// The menu bar's menus, left to right.
std::span<const MenuDef> MainMenus();
// The toolbar's buttons, left to right.
std::span<const ToolbarButtonDef> ToolbarButtons();

// The command with the object name `name`, or null.
const Command* FindCommand(const char* name);
// The command of the window's key preview (the Window and DefaultButton routes) that a key
// press runs, or null. The modifiers a command's key
// names must be held and others may be (Ctrl+Alt+Left goes back as Alt+Left does); a key that
// names none (Enter, F1) does not count with Alt or Ctrl. The keypad's Enter is Enter.
const Command* WindowKeyCommand(int key, Qt::KeyboardModifiers modifiers);
// The command whose menu shortcut `keys` is, or null.
const Command* ShortcutCommand(const QKeySequence& keys);
// What a menu shows after a tab for a key of the window or of the desktop: "Enter", "Alt+↑".
QString KeyHint(QKeyCombination key);

} // namespace Commands
