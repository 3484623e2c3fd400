#pragma once

#include "app/MainWindowParts.h"
#include "app/StatusPanels.h"
#include "app/frmMain.h"
#include "entryview/DescriptionBox.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <array>
#include <gtest/gtest.h>

// The main window's controls, found by the object names the window gives them, as anything
// outside the window finds them.
struct MainControls {
    explicit MainControls(const frmMain& w) : window(w) {
        tbrToolbar = Find<QToolBar>("tbrToolbar");
        for (int i = 0; i < 3; ++i)
            Label1[size_t(i)] = Find<QLabel>(QStringLiteral("Label1_%1").arg(i));
        txtSearchKey = Find<QLineEdit>("txtSearchKey");
        txtLetter = Find<QLineEdit>("txtLetter");
        cmbCategory = Find<QComboBox>("cmbCategory");
        cmdFind = Find<QPushButton>("cmdFind");
        Label3 = Find<QLabel>("Label3");
        for (int i = 0; i < 2; ++i)
            Label2[size_t(i)] = Find<QLabel>(QStringLiteral("Label2_%1").arg(i));
        lstLink = Find<QListWidget>("lstLink");
        pbxDescription = Find<DescriptionBox>("pbxDescription");
        lstDbList = Find<QListWidget>("lstDbList");
        stbStatusBar = Find<QStatusBar>("stbStatusBar");
        statusPanels = Find<StatusPanels>("statusPanels");
        mnuFile = Find<QMenu>("mnuFile");
        mnuFileFind = Find<QAction>("mnuFileFind");
        mnuFileWeb = Find<QAction>("mnuFileWeb");
        mnuFileExit = Find<QAction>("mnuFileExit");
        mnuEdit = Find<QMenu>("mnuEdit");
        mnuEditCopy = Find<QAction>("mnuEditCopy");
        mnuEditPaste = Find<QAction>("mnuEditPaste");
        mnuEditPasteSearch = Find<QAction>("mnuEditPasteSearch");
        mnuEditDelete = Find<QAction>("mnuEditDelete");
        mnuGo = Find<QMenu>("mnuGo");
        for (int i = 0; i < GoItemCount; ++i)
            mnuGoItem[size_t(i)] = Find<QAction>(QStringLiteral("mnuGoItem%1").arg(i));
        mnuHelp = Find<QMenu>("mnuHelp");
        mnuHelpContents = Find<QAction>("mnuHelpContents");
        mnuHelpSearch = Find<QAction>("mnuHelpSearch");
        mnuHelpAbout = Find<QAction>("mnuHelpAbout");
    }

    template <typename T> T* Find(const QString& name) const {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
        return found;
    }
    template <typename T> T* Find(const char* name) const { return Find<T>(QLatin1String(name)); }
    // A toolbar button by the key its click passes on ("Left", "Copy", ...).
    QAction* ToolbarButton(const char* key) const {
        return Find<QAction>(QStringLiteral("tbr") + QLatin1String(key));
    }

    const frmMain& window;
    QToolBar* tbrToolbar = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLineEdit* txtSearchKey = nullptr;
    QLineEdit* txtLetter = nullptr;
    QComboBox* cmbCategory = nullptr;
    QPushButton* cmdFind = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QListWidget* lstLink = nullptr;
    DescriptionBox* pbxDescription = nullptr;
    QListWidget* lstDbList = nullptr;
    QStatusBar* stbStatusBar = nullptr;
    StatusPanels* statusPanels = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileFind = nullptr;
    QAction* mnuFileWeb = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditPasteSearch = nullptr;
    QAction* mnuEditDelete = nullptr;
    QMenu* mnuGo = nullptr;
    std::array<QAction*, GoItemCount> mnuGoItem{};
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearch = nullptr;
    QAction* mnuHelpAbout = nullptr;
};
