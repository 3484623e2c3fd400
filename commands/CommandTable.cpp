#include "commands/CommandTable.h"

#include "app/frmMain.h"

namespace Commands {
namespace {

using K = QKeyCombination;
using E = Enabling;
using R = KeyRoute;
using T = HelpTopic;

const Command kCommands[] = {
    {"mnuFileFind", Menu::File, "検索(&F)", T::FileMenu, E::Always, R::DefaultButton,
     K(Qt::Key_Return), [](frmMain& w) { w.mnuFileFind_Click(); }},
    {"mnuFileFullText", Menu::File, "解説の全文検索(&T)...", T::FileMenu, E::Always, R::Shortcut,
     K(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [](frmMain& w) { w.mnuFileFullText_Click(); }},
    {"mnuFileWeb", Menu::File, "ﾎｰﾑﾍﾟｰｼﾞ(&G)", T::FileMenu, E::WebAddress, R::Shortcut,
     K(Qt::CTRL | Qt::Key_G), [](frmMain& w) { w.mnuFileWeb_Click(); }},
    {"mnuFileSP", Menu::File, nullptr, T::None, E::Always, R::None, K(), nullptr},
    {"mnuFileExit", Menu::File, "終了(&X)", T::FileMenu, E::Always, R::Desktop,
     K(Qt::ALT | Qt::Key_F4), [](frmMain& w) { w.mnuFileExit_Click(); }},

    {"mnuEditCopy", Menu::Edit, "ｺﾋﾟｰ(&C)", T::EditMenu, E::EntryShown, R::Shortcut,
     K(Qt::CTRL | Qt::Key_C), [](frmMain& w) { w.mnuEditCopy_Click(); }},
    {"mnuEditPaste", Menu::Edit, "貼り付け(&P)", T::EditMenu, E::Always, R::Shortcut,
     K(Qt::CTRL | Qt::Key_V), [](frmMain& w) { w.mnuEditPaste_Click(); }},
    {"mnuEditPasteSearch", Menu::Edit, "貼り付け検索(&F)", T::EditMenu, E::Always, R::Shortcut,
     K(Qt::CTRL | Qt::Key_F), [](frmMain& w) { w.mnuEditPasteSearch_Click(); }},
    {"mnuEditDelete", Menu::Edit, "条件削除(&D)", T::EditMenu, E::Always, R::Shortcut,
     K(Qt::SHIFT | Qt::Key_Delete), [](frmMain& w) { w.mnuEditDelete_Click(); }},
    {"mnuEditSp", Menu::Edit, nullptr, T::None, E::Always, R::None, K(), nullptr},
    {"mnuEditTextAbbreviations", Menu::Edit, "文中の略語(&T)...", T::EditMenu, E::Always,
     R::Shortcut, K(Qt::CTRL | Qt::Key_T), [](frmMain& w) { w.mnuEditTextAbbreviations_Click(); }},

    // The Go menu's items are one array, mnuGoItem, whose handler takes the item's index.
    {"mnuGoItem0", Menu::Go, "先頭に戻る(&T)", T::GoMenu, E::CanGoBack, R::Window,
     K(Qt::ALT | Qt::Key_Up), [](frmMain& w) { w.mnuGoItem_Click(GoFirst); }},
    {"mnuGoItem1", Menu::Go, "前に戻る(&B)", T::GoMenu, E::CanGoBack, R::Window,
     K(Qt::ALT | Qt::Key_Left), [](frmMain& w) { w.mnuGoItem_Click(GoBack); }},
    {"mnuGoItem2", Menu::Go, "次に進む(&F)", T::GoMenu, E::CanGoForward, R::Window,
     K(Qt::ALT | Qt::Key_Right), [](frmMain& w) { w.mnuGoItem_Click(GoForward); }},
    {"mnuGoItem3", Menu::Go, "最後に進む(&E)", T::GoMenu, E::CanGoForward, R::Window,
     K(Qt::ALT | Qt::Key_Down), [](frmMain& w) { w.mnuGoItem_Click(GoLast); }},
    {"mnuGoItem4", Menu::Go, nullptr, T::None, E::Always, R::None, K(), nullptr},
    {"mnuGoItem5", Menu::Go, "履歴(&H)", T::GoMenu, E::Always, R::Shortcut, K(Qt::CTRL | Qt::Key_H),
     [](frmMain& w) { w.mnuGoItem_Click(GoHistoryWindow); }},

    {"mnuHelpContents", Menu::Help, "目次(&C)", T::HelpMenu, E::Always, R::None, K(),
     [](frmMain& w) { w.mnuHelpContents_Click(); }},
    {"mnuHelpSearch", Menu::Help, "ﾄﾋﾟｯｸの検索(&S)", T::HelpMenu, E::Always, R::None, K(),
     [](frmMain& w) { w.mnuHelpSearch_Click(); }},
    {"mnuHelpSp", Menu::Help, nullptr, T::None, E::Always, R::None, K(), nullptr},
    {"mnuHelpAbout", Menu::Help, "ﾊﾞｰｼﾞｮﾝ情報(&A)", T::None, E::Always, R::None, K(),
     [](frmMain& w) { w.mnuHelpAbout_Click(); }},

    // F1 shows the help topic of the control with the focus.
    {"ContextHelp", Menu::None, nullptr, T::None, E::Always, R::Window, K(Qt::Key_F1),
     [](frmMain& w) { w.ShowHelpTopic(w.HelpTopicForFocus()); }},
};

const MenuDef kMenus[] = {
    {Menu::File, "mnuFile", "ﾌｧｲﾙ(&F)", T::FileMenu},
    {Menu::Edit, "mnuEdit", "編集(&E)", T::EditMenu},
    {Menu::Go, "mnuGo", "移動(&G)", T::GoMenu},
    {Menu::Help, "mnuHelp", "ﾍﾙﾌﾟ(&H)", T::HelpMenu},
};

const ToolbarButtonDef kToolbar[] = {
    {ToolbarKey::Left, "戻る", "mnuGoItem1"},
    {ToolbarKey::Right, "進む", "mnuGoItem2"},
    {ToolbarKey::Left, nullptr, nullptr},
    {ToolbarKey::Find, "検索", "mnuFileFind"},
    {ToolbarKey::Home, "ﾎｰﾑﾍﾟｰｼﾞを開く", "mnuFileWeb"},
    {ToolbarKey::Left, nullptr, nullptr},
    {ToolbarKey::New, "検索項目の消去", "mnuEditDelete"},
    {ToolbarKey::Copy, "略語解説のｺﾋﾟｰ", "mnuEditCopy"},
    {ToolbarKey::Paste, "貼り付け", "mnuEditPaste"},
    {ToolbarKey::PasteFind, "貼り付け検索", "mnuEditPasteSearch"},
    {ToolbarKey::Left, nullptr, nullptr},
    {ToolbarKey::Help, "説明", "mnuHelpContents"},
};

constexpr Qt::KeyboardModifiers kPlainKeyExcludes = Qt::AltModifier | Qt::ControlModifier;

} // namespace

bool IsEnabled(Enabling rule, const CommandState& state) {
    switch (rule) {
    case Enabling::Always:
        return true;
    case Enabling::EntryShown:
        return state.entryShown;
    case Enabling::WebAddress:
        return state.entryShown && state.webAddress;
    case Enabling::CanGoBack:
        return state.canGoBack;
    case Enabling::CanGoForward:
        return state.canGoForward;
    }
    return false;
}

std::span<const Command> MainCommands() {
    return kCommands;
}

std::span<const MenuDef> MainMenus() {
    return kMenus;
}

std::span<const ToolbarButtonDef> ToolbarButtons() {
    return kToolbar;
}

const Command* FindCommand(const char* name) {
    for (const Command& command : kCommands)
        if (qstrcmp(name, command.name) == 0)
            return &command;
    return nullptr;
}

const Command* WindowKeyCommand(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    for (const Command& command : kCommands) {
        const bool window =
            command.route == KeyRoute::Window || command.route == KeyRoute::DefaultButton;
        if (!window || command.key.key() != key)
            continue;
        const Qt::KeyboardModifiers named = command.key.keyboardModifiers();
        if ((modifiers & named) != named)
            continue;
        if (named == Qt::NoModifier && (modifiers & kPlainKeyExcludes))
            continue;
        return &command;
    }
    return nullptr;
}

const Command* ShortcutCommand(const QKeySequence& keys) {
    for (const Command& command : kCommands)
        if (command.route == KeyRoute::Shortcut && QKeySequence(command.key) == keys)
            return &command;
    return nullptr;
}

QString KeyHint(QKeyCombination key) {
    QString hint;
    const Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        hint += QLatin1String("Ctrl+");
    if (modifiers & Qt::AltModifier)
        hint += QLatin1String("Alt+");
    if (modifiers & Qt::ShiftModifier)
        hint += QLatin1String("Shift+");
    switch (key.key()) {
    case Qt::Key_Return:
        return hint + QLatin1String("Enter");
    case Qt::Key_Up:
        return hint + QStringLiteral("↑");
    case Qt::Key_Down:
        return hint + QStringLiteral("↓");
    case Qt::Key_Left:
        return hint + QStringLiteral("←");
    case Qt::Key_Right:
        return hint + QStringLiteral("→");
    default:
        return hint + QKeySequence(key.key()).toString(QKeySequence::PortableText);
    }
}

} // namespace Commands
