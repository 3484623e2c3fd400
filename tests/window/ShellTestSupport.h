#pragma once

#include "WindowControls.h"
#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "app/WindowTwips.h"
#include "app/frmMain.h"
#include "entryview/DescriptionBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QRect>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

// Helpers for the tests of the window shell: geometry read back from the real widgets.
namespace ShellTest {

// Width in pixels of the full-width character every width rule is counted in.
inline double FullWidthChar(const frmMain& w) {
    return QFontMetricsF(MainControls(w).pbxDescription->font())
        .horizontalAdvance(QStringLiteral("■"));
}

// A control's rectangle in the coordinates of the window's client widget (frmMain itself), so
// that controls of the central widget, the toolbar and the status bar compare directly.
inline QRect RectInWindow(const frmMain& w, const QWidget* control) {
    return QRect(control->mapTo(&w, QPoint(0, 0)), control->size());
}

// The smallest outer size the window lets itself be given, in twips, read from its minimum size
// and its frame as the window system knows them.
inline qint32 MinimumOuterWidth(const frmMain& w) {
    return Twips::FromPixels(w.minimumWidth()) + WindowTwips::FrameWidth(&w);
}
inline qint32 MinimumOuterHeight(const frmMain& w) {
    return Twips::FromPixels(w.minimumHeight()) + WindowTwips::FrameHeight(&w);
}

// Every control the layout places, by name.
inline QMap<QString, QRect> Layout(const frmMain& w) {
    const MainControls c(w);
    QMap<QString, QRect> rects;
    const QList<std::pair<const char*, const QWidget*>> controls = {
        {"Label1_0", c.Label1[0]},
        {"Label1_1", c.Label1[1]},
        {"Label1_2", c.Label1[2]},
        {"txtSearchKey", c.txtSearchKey},
        {"txtLetter", c.txtLetter},
        {"cmbCategory", c.cmbCategory},
        {"Label3", c.Label3},
        {"Label2_0", c.Label2[0]},
        {"Label2_1", c.Label2[1]},
        {"lstLink", c.lstLink},
        {"pbxDescription", c.pbxDescription},
        {"lstDbList", c.lstDbList},
        {"tbrToolbar", c.tbrToolbar},
        {"stbStatusBar", c.stbStatusBar},
    };
    for (const auto& [name, control] : controls)
        rects.insert(QString::fromLatin1(name), RectInWindow(w, control));
    return rects;
}

// A point of the central widget's own background, away from every control and caption.
inline QPoint BackgroundPoint(const frmMain& w) {
    QWidget* client = w.centralWidget();
    // The gap between the toolbar and the row of captions runs across the whole width.
    for (int y = 0; y < client->height(); ++y) {
        for (int x = client->width() / 2; x < client->width(); x += 3) {
            if (!client->childAt(x, y))
                return {x, y};
        }
    }
    ADD_FAILURE() << "the window has no free background";
    return {};
}

// Lets queued focus handlers and layout requests run.
inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace ShellTest
