// Window layout and the display font: sizes in full-width characters of the font, the minimum
// window size derived from them, and the placing of every control on each resize.
#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "app/WindowTwips.h"
#include "app/frmMain.h"
#include "entryview/DescriptionBox.h"
#include "entryview/RelatedWordsList.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QToolBar>

namespace {
constexpr qint16 kMaxFontStep = 6;
}

// --- Geometry in client twips -------------------------------------------------------------------

namespace {
// Offset of the central widget below the client origin (the top of the toolbar), in pixels.
int CentralOffset(const QMainWindow* w) {
    return w->centralWidget()->y() - (w->menuBar() ? w->menuBar()->height() : 0);
}
} // namespace

void frmMain::Place(QWidget* control, qint32 left, qint32 top, qint32 width, qint32 height) {
    const int offset = control->parentWidget() == centralWidget() ? CentralOffset(this) : 0;
    const int w = width >= 0 ? Twips::ToPixels(width) : control->width();
    const int h = height >= 0 ? Twips::ToPixels(height) : control->height();
    control->setGeometry(Twips::ToPixels(left), Twips::ToPixels(top) - offset, std::max(w, 0),
                         std::max(h, 0));
}

qint32 frmMain::Left(QWidget* control) const {
    return Twips::FromPixels(control->x());
}

qint32 frmMain::Top(QWidget* control) const {
    const int offset = control->parentWidget() == centralWidget() ? CentralOffset(this) : 0;
    return Twips::FromPixels(control->y() + offset);
}

qint32 frmMain::Width(QWidget* control) const {
    return Twips::FromPixels(control->width());
}
qint32 frmMain::Height(QWidget* control) const {
    return Twips::FromPixels(control->height());
}

qint32 frmMain::ToolbarTop() const {
    return Twips::FromPixels(tbrToolbar->y() - menuBar()->height());
}
qint32 frmMain::ToolbarHeight() const {
    return Twips::FromPixels(tbrToolbar->height());
}
qint32 frmMain::StatusBarHeight() const {
    return Twips::FromPixels(stbStatusBar->height());
}

qint32 frmMain::OuterWidth() const {
    return WindowTwips::OuterFrame(this).width;
}
qint32 frmMain::OuterHeight() const {
    return WindowTwips::OuterFrame(this).height;
}
qint32 frmMain::ClientWidth() const {
    return Twips::FromPixels(width());
}
qint32 frmMain::ClientHeight() const {
    return Twips::FromPixels(height() - menuBar()->height());
}

void frmMain::SetOuterSize(qint32 outerWidth, qint32 outerHeight) {
    WindowTwips::SetOuterSize(this, outerWidth, outerHeight);
}

HyperText::DisplayFont frmMain::DisplayFont() const {
    return {font().family(), font().pointSizeF()};
}

// --- Resize -------------------------------------------------------------------------------------

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (isMinimized())
        return;
    if (minWindowWidth_ <= 0 || minWindowHeight_ <= 0)
        return;
    // A maximised window cannot be given another size; below the minimum it is still laid out,
    // and the layout keeps every size at zero or more.
    if (!isMaximized() && !isFullScreen()) {
        if (OuterHeight() < minWindowHeight_) {
            SetOuterSize(OuterWidth(), minWindowHeight_);
            return;
        }
        if (OuterWidth() < minWindowWidth_) {
            SetOuterSize(minWindowWidth_, OuterHeight());
            return;
        }
    }
    LayoutControls();
}

void frmMain::LayoutControls() {
    if (layoutBusy_)
        return;
    layoutBusy_ = true;
    ++layoutPasses_;
    if (layout())
        layout()->activate(); // the toolbar and status bar take their places first

    // The hidden search button stays entirely under the toolbar, whatever its height.
    cmdFind->setGeometry(0, tbrToolbar->y(), std::min(cmdFind->width(), tbrToolbar->width()),
                         std::max(tbrToolbar->height() - 1, 1));
    tbrToolbar->raise();

    const qint32 W = ClientWidth();
    const qint32 H = ClientHeight();
    auto bottom = [this](QWidget* w) { return Top(w) + Height(w); };
    auto right = [this](QWidget* w) { return Left(w) + Width(w); };

    Place(Label1[0], 0, ToolbarTop() + ToolbarHeight() + 90);
    Place(txtSearchKey, 0, bottom(Label1[0]) + 30);
    Place(Label2[0], 0, bottom(txtSearchKey) + 30, Width(lstLink));
    Place(lstLink, 0, bottom(Label2[0]) + 30);
    Place(Label3, 0, Top(lstLink));
    Place(lstDbList, 0, bottom(lstLink) + 30, W,
          std::max(H - StatusBarHeight() - Top(lstLink) - Height(lstLink) - 30, 0));
    Place(cmbCategory, W - Width(cmbCategory), Top(txtSearchKey));
    Place(txtLetter, right(txtSearchKey) + 30, Top(txtSearchKey));
    Place(txtLetter, Left(txtLetter), Top(txtLetter),
          std::max(Left(cmbCategory) - Left(txtLetter) - 30, 0));
    Place(Label1[1], Left(txtLetter), Top(Label1[0]));
    Place(Label1[2], Left(cmbCategory), Top(Label1[0]));
    Place(pbxDescription, Left(txtLetter), Top(lstLink), std::max(W - Left(txtLetter), 0));
    Place(Label2[1], Left(txtLetter), Top(Label2[0]), Width(pbxDescription));

    DrawDescription(false);
    layoutBusy_ = false;
}

// --- Display font -------------------------------------------------------------------------------

QString frmMain::SystemFontName() const {
    const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return family.isEmpty() ? QStringLiteral("System") : family;
}

QString frmMain::StartupFontName() const {
    const QString preferred = QStringLiteral("ＭＳ Ｐゴシック");
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(preferred, Qt::CaseInsensitive) == 0)
            return preferred;
    }
    return SystemFontName();
}

void frmMain::FontChange(QString& NewFontName, qint16& NewFontSize) {
    hide();
    // The frame around the client area is known only once the native window exists; without
    // it the first minimum and the first size would take the client size for the outer size.
    winId();

    QFont windowFont(NewFontName);
    windowFont.setPointSize(NewFontSize);
    setFont(windowFont);
    NewFontSize = qint16(Twips::RoundEven(font().pointSizeF()));
    const QString face = font().family();

    for (QWidget* w : std::initializer_list<QWidget*>{Label1[0], Label1[1], Label1[2], Label2[0],
                                                      Label2[1], stbStatusBar}) {
        QFont f(face);
        f.setPointSize(9);
        w->setFont(f);
    }
    QFont controlFont(face);
    controlFont.setPointSize(NewFontSize);
    for (QWidget* w : std::initializer_list<QWidget*>{txtSearchKey, txtLetter, cmbCategory, lstLink,
                                                      lstDbList, pbxDescription})
        w->setFont(controlFont);
    for (QLabel* label : {Label1[0], Label1[1], Label1[2], Label3})
        label->adjustSize();
    for (QLabel* label : Label2)
        label->resize(label->sizeHint().width(), label->height());
    statusPanels->UpdateMinimumWidths();

    minWindowHeight_ = 0;
    minWindowWidth_ = 0;
    setMinimumSize(0, 0);

    const qint16 charWidth = qint16(Twips::FromPixels(
        QFontMetricsF(pbxDescription->font()).horizontalAdvance(QStringLiteral("■"))));
    const qint16 listFontSize = qint16(Twips::RoundEven(lstDbList->font().pointSizeF()));

    const qint32 fieldHeight = Twips::FromPixels(cmbCategory->sizeHint().height());
    Place(txtSearchKey, Left(txtSearchKey), Top(txtSearchKey), qint16(8 * charWidth), fieldHeight);
    Place(txtLetter, Left(txtLetter), Top(txtLetter), qint16(14 * charWidth), fieldHeight);
    Place(cmbCategory, Left(cmbCategory), Top(cmbCategory), qint16(9 * charWidth), fieldHeight);
    Place(lstLink, Left(lstLink), Top(lstLink), Width(txtSearchKey), listFontSize * 22 * 10);
    Place(pbxDescription, Left(pbxDescription), Top(pbxDescription), -1, Height(lstLink));
    Place(lstDbList, Left(lstDbList), Top(lstDbList), -1, listFontSize * 20);

    if (layout())
        layout()->activate();
    const qint32 frameAndMenuWidth = OuterWidth() - ClientWidth();
    const qint32 frameAndMenuHeight = OuterHeight() - ClientHeight();
    const qint32 minWidth =
        frameAndMenuWidth + 60 + Width(txtSearchKey) + Width(txtLetter) + Width(cmbCategory);
    const qint32 minHeight = ToolbarHeight() + frameAndMenuHeight + 270 + Height(Label1[0]) +
                             Height(Label2[0]) + Height(txtSearchKey) + Height(lstLink) +
                             Height(lstDbList) + StatusBarHeight();

    if (!windowSized_) {
        Place(lstDbList, Left(lstDbList), Top(lstDbList), -1, listFontSize * 30 * 10);
        const qint32 firstHeight = ToolbarHeight() + 120 + 3 * Height(Label1[0]) +
                                   Height(txtSearchKey) + Height(lstLink) + Height(lstDbList) +
                                   StatusBarHeight();
        SetOuterSize(minWidth, std::max(firstHeight, minHeight));
        windowSized_ = true;
    }

    minWindowHeight_ = minHeight;
    minWindowWidth_ = minWidth;
    // The window system learns the minimum too, so a drag cannot go below it; a window that is
    // smaller than a new, larger minimum grows to it at once.
    WindowTwips::SetOuterMinimum(this, minWidth, minHeight);

    show();
    LayoutControls();
    SetListTabStop(lstDbList);
}

void frmMain::Form_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift) {
    if (baseFontSize_ == 0) {
        fontStep_ = 0;
        baseFontSize_ = qint16(Twips::RoundEven(font().pointSizeF()));
    }
    if (isMinimized() || isMaximized() || isFullScreen())
        return;
    if (!(shift & Qt::ShiftModifier) || !(shift & Qt::ControlModifier))
        return;
    if (button == Qt::LeftButton)
        fontStep_ = fontStep_ > kMaxFontStep - 1 ? 0 : fontStep_ + 1;
    else if (button == Qt::RightButton)
        fontStep_ = fontStep_ < 1 ? kMaxFontStep - 1 : fontStep_ - 1;
    QString face = font().family();
    qint16 size = qint16(baseFontSize_ + 2 * fontStep_);
    FontChange(face, size);
}
