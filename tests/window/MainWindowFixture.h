#pragma once

#include "WindowControls.h"

#include "app/frmMain.h"
#include "support/DataFixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The real main window, started on a dictionary as the program starts it (offscreen).
class MainWindowTest : public ::testing::Test {
protected:
    // The directory with the bundled ABBR.MDB beside the built program.
    static QString BundledDir() { return QStringLiteral(TESSARINE_BIN_DIR); }

    // Starts the window on the dictionary in `dir`; returns Form_Load's result.
    bool Start(const QString& dir = BundledDir()) {
        window_ = std::make_unique<frmMain>();
        const bool ok = window_->Form_Load(dir);
        if (ok) {
            window_->activateWindow();
            QApplication::processEvents();
        }
        return ok;
    }
    void TearDown() override {
        window_.reset();
        QApplication::processEvents();
    }
    frmMain& W() { return *window_; }
    // The window's controls, found by name.
    MainControls C() const { return MainControls(*window_); }

    // Types into the abbreviation box and presses Enter there.
    void Search(const QString& key) {
        C().txtSearchKey->setFocus();
        C().txtSearchKey->selectAll();
        QTest::keyClicks(C().txtSearchKey, key);
        QTest::keyClick(C().txtSearchKey, Qt::Key_Return);
        QApplication::processEvents();
    }

    MessageRecorder messages_;
    std::unique_ptr<frmMain> window_;
};
