// The menus and the toolbar, made from the command table: every command is a QAction created
// once, and its triggers run the table's handler.
#include "app/Artwork.h"
#include "app/frmMain.h"
#include "commands/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QToolBar>

namespace {
void SetHelpTopic(QObject* object, HelpTopic topic) {
    object->setProperty(kHelpTopicProperty, int(topic));
}
} // namespace

void frmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setFont(QApplication::font()); // menus keep the desktop's font
    for (const Commands::MenuDef& def : Commands::MainMenus()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QLatin1String(def.name));
        SetHelpTopic(menu, def.topic);
        for (const Commands::Command& command : Commands::MainCommands()) {
            if (command.menu == def.menu)
                AddMenuItem(menu, command);
        }
    }
    mnuGo = bar->findChild<QMenu*>(QStringLiteral("mnuGo"));
    for (int i = 0; i < GoItemCount; ++i)
        mnuGoItem[size_t(i)] = findChild<QAction*>(QStringLiteral("mnuGoItem%1").arg(i));
    mnuGoItem[GoHistoryWindow]->setCheckable(true);
    connect(mnuGo, &QMenu::aboutToShow, this, &frmMain::mnuGo_Click);
}

void frmMain::AddMenuItem(QMenu* menu, const Commands::Command& command) {
    const QString name = QLatin1String(command.name);
    if (!command.caption) {
        menu->addSeparator()->setObjectName(name);
        return;
    }
    auto* item = new QAction(QString::fromUtf8(command.caption), this);
    item->setObjectName(name);
    SetHelpTopic(item, command.topic);
    if (command.route == Commands::KeyRoute::Shortcut)
        item->setShortcut(QKeySequence(command.key));
    menu->addAction(item);
    commandActions_.insert(name, item);
    connect(item, &QAction::triggered, this, [this, run = command.run] { run(*this); });
}

// The keys that the window or the desktop handles are named after a tab, where the menu shows
// them right-aligned as it shows a shortcut.
void frmMain::ApplyKeyHints() {
    for (const Commands::Command& command : Commands::MainCommands()) {
        const bool named = command.route != Commands::KeyRoute::None &&
                           command.route != Commands::KeyRoute::Shortcut;
        if (QAction* item = commandActions_.value(QLatin1String(command.name)); item && named)
            item->setText(item->text() + QLatin1Char('\t') + Commands::KeyHint(command.key));
    }
}

void frmMain::CreateToolbar() {
    tbrToolbar = new QToolBar(this);
    tbrToolbar->setObjectName(QStringLiteral("tbrToolbar"));
    tbrToolbar->setAccessibleName(QStringLiteral("ツールバー"));
    tbrToolbar->setFont(QApplication::font());
    tbrToolbar->setMovable(false);
    tbrToolbar->setFloatable(false);
    tbrToolbar->setIconSize(QSize(16, 16));
    tbrToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbrToolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, tbrToolbar);
    for (const Commands::ToolbarButtonDef& def : Commands::ToolbarButtons()) {
        if (!def.tooltip) {
            tbrToolbar->addSeparator();
            continue;
        }
        const QString key = ToolbarKeyName(def.key);
        const QString tooltip = QString::fromUtf8(def.tooltip);
        QAction* button = tbrToolbar->addAction(Artwork::ToolbarIcon(key), tooltip);
        button->setObjectName(QStringLiteral("tbr") + key);
        button->setData(key);
        button->setToolTip(tooltip);
        toolbarButtons_.insert(def.key, button);
        connect(button, &QAction::triggered, this,
                [this, button] { tbrToolbar_ButtonClick(button->data().toString()); });
    }
}
