#pragma once

#include <QString>

// The parts of the main window that code names: toolbar buttons by the keys their clicks pass
// to tbrToolbar_ButtonClick, the Go menu's items by index, and the help file's topics.

enum class ToolbarKey { Left, Right, Find, Home, New, Copy, Paste, PasteFind, Help };
inline constexpr ToolbarKey kToolbarKeys[] = {
    ToolbarKey::Left, ToolbarKey::Right, ToolbarKey::Find,      ToolbarKey::Home, ToolbarKey::New,
    ToolbarKey::Copy, ToolbarKey::Paste, ToolbarKey::PasteFind, ToolbarKey::Help};

// The key a button passes on ("Left", "Right", ...), compared exactly.
inline QString ToolbarKeyName(ToolbarKey key) {
    static const char* const names[] = {"Left", "Right", "Find",      "Home", "New",
                                        "Copy", "Paste", "PasteFind", "Help"};
    return QString::fromLatin1(names[int(key)]);
}

// The items of the Go menu, by their index in mnuGoItem.
enum GoItem : int {
    GoFirst = 0,
    GoBack = 1,
    GoForward = 2,
    GoLast = 3,
    GoSeparator = 4,
    GoHistoryWindow = 5,
    GoItemCount = 6,
};

// The topics of the help file that F1 opens for the parts of the window.
enum class HelpTopic : int {
    None = 0, // the About command has none
    Window = 1,
    AbbreviationField = 2,
    SpelledOutField = 3,
    CategoryList = 4,
    RelatedWords = 5,
    Description = 6,
    ResultList = 7,
    FullTextWindow = 8,
    TextAbbreviationsWindow = 9,
    FileMenu = 101,
    EditMenu = 102,
    GoMenu = 103,
    HelpMenu = 104,
};

// The property that carries a control's or menu item's help topic.
inline constexpr const char* kHelpTopicProperty = "helpTopic";
