#include "auxiliary/AboutBox.h"

#include "app/Twips.h"
#include "app/WindowTwips.h"
#include "app/frmMain.h"
#include "base/AppInfo.h"
#include "data/DictionarySummary.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

namespace {
qint32 TwipsOf(int pixels) {
    return Twips::FromPixels(pixels);
}
void Place(QWidget* w, qint32 left, qint32 top) {
    w->move(Twips::ToPixels(left), Twips::ToPixels(top));
}
qint32 BottomOf(const QWidget* w) {
    return TwipsOf(w->y()) + TwipsOf(w->height());
}
qint32 RightOf(const QWidget* w) {
    return TwipsOf(w->x()) + TwipsOf(w->width());
}
// A label sized to its text at (left, top); `right` follows the rightmost edge so far.
void PlaceText(QLabel* label, const QString& text, qint32 left, qint32 top, qint32* right) {
    label->setText(text);
    label->adjustSize();
    Place(label, left, top);
    *right = std::max(*right, RightOf(label));
}
} // namespace

QString AboutBox::CommentsText() {
    return AppInfo::Comments();
}

QString AboutBox::VersionText() {
    return AppInfo::ProductName() + QStringLiteral(" Ver.%1.%2.%3")
                                        .arg(AppInfo::VersionMajor())
                                        .arg(AppInfo::VersionMinor())
                                        .arg(AppInfo::VersionRevision());
}

QString AboutBox::CopyrightText() {
    return QStringLiteral("Copyright (C) 1998-2000 Corvantis Software Co., Ltd.,\r\n"
                          "牧野 静香 All Rights Reserved.\r\n"
                          "Portions Copyright (C) 1987-1998 Lindqvist Runtime Systems");
}

QString AboutBox::DictionaryText(const DbAccess::Dictionary& dictionary) {
    return DictionarySummary::AboutLine(DictionarySummary::Of(dictionary));
}

QString AboutBox::CreditsText() {
    return QStringLiteral("監修：岡部 恒一\r\n"
                          "執筆：浅井 理沙、仁科 勇、堀田 真琴\r\n"
                          "\u3000\u3000\u3000\u3000月刊テクノリーフ編集部\r\n"
                          "オンライン版制作：有限会社ミズナラ工房");
}

AboutBox::AboutBox(frmMain* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setModal(true);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    lblDictionary = new QLabel(this);
    lblDictionary->setObjectName(QStringLiteral("lblDictionary"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    Form_Load(mainWindow);
}

void AboutBox::cmdOK_Click() {
    accept();
}

void AboutBox::Form_Load(frmMain* main) {
    // The frame's size is known only once the native window exists; the placement below needs
    // the dialog's outer size.
    winId();
    setWindowTitle(main->AppNameDef + QStringLiteral("について"));
    setWindowIcon(main->windowIcon());
    QFont dialogFont(main->font().family());
    dialogFont.setPointSizeF(main->font().pointSizeF());
    setFont(dialogFont);
    for (QWidget* w : std::initializer_list<QWidget*>{Picture1, Label1, Label2, Label3, Label4,
                                                      lblDictionary, cmdOK})
        w->setFont(dialogFont);

    qint32 right = 0;
    const qint32 bottom = PlaceTexts(DictionaryText(main->Dictionary()), &right);
    const qint32 y = PlaceOkButton(right, bottom);
    clientWidth_ = right + 180;
    clientHeight_ = y + 60;
    setFixedSize(Twips::ToPixels(clientWidth_), Twips::ToPixels(clientHeight_));
    const qint32 lineY = TwipsOf(Label4->y()) - 60;
    separator_ = QLine(180, lineY, right, lineY);
    PlaceBelowToolbar(main);
}

// The icon with the comments and the product's name and version beside it, the copyright below
// them, the dictionary in use, and the credits across the whole width. Returns the bottom of the
// credits; `right` gets the right edge of the widest text.
qint32 AboutBox::PlaceTexts(const QString& dictionaryText, qint32* right) {
    // Drawn for the screen's device pixels, so that the vector icon stays sharp at any scale.
    Picture1->setPixmap(windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    Picture1->resize(32, 32);
    Place(Picture1, 180, 180);
    const qint32 x = RightOf(Picture1) + 120;

    PlaceText(Label1, CommentsText(), x, TwipsOf(Picture1->y()), right);

    QFont nameFont = font();
    nameFont.setBold(true);
    const double size = font().pointSizeF();
    nameFont.setPointSizeF(size + double(Twips::RoundEven(size) / 2));
    Label2->setFont(nameFont);
    Label2->setText(VersionText());
    Label2->adjustSize();
    // Level with the icon's bottom, unless the comments reach lower.
    const qint32 nameTop =
        std::max(BottomOf(Picture1) - TwipsOf(Label2->height()), BottomOf(Label1));
    PlaceText(Label2, VersionText(), x, nameTop, right);

    PlaceText(Label3, CopyrightText(), x, BottomOf(Label2) + 60, right);
    // The dictionary in use, on a line of its own: the path may be long.
    PlaceText(lblDictionary, dictionaryText, x, BottomOf(Label3) + 60, right);
    PlaceText(Label4, CreditsText(), 180, BottomOf(lblDictionary) + 120, right);
    return BottomOf(Label4);
}

// OK at the right, its bottom level with the credits'. Returns the bottom of the client area's
// content.
qint32 AboutBox::PlaceOkButton(qint32 right, qint32 bottom) {
    const QFontMetricsF metrics(font());
    const qint32 okWidth = Twips::FromPixels(4 * metrics.horizontalAdvance(QStringLiteral("OK")));
    const qint32 okHeight = Twips::FromPixels(metrics.height()) + 180;
    cmdOK->resize(Twips::ToPixels(okWidth), Twips::ToPixels(okHeight));
    Place(cmdOK, right - TwipsOf(cmdOK->width()), bottom - TwipsOf(cmdOK->height()));
    return BottomOf(cmdOK) + 120;
}

// Just below the main window's toolbar, centred over it, and never below the screen.
void AboutBox::PlaceBelowToolbar(frmMain* main) {
    const WindowTwips::Frame mainFrame = WindowTwips::OuterFrame(main);
    const qint32 dialogHeight = clientHeight_ + WindowTwips::FrameHeight(this);
    const qint32 dialogWidth = clientWidth_ + WindowTwips::FrameWidth(this);
    qint32 dialogTop =
        mainFrame.top + (mainFrame.height - main->ClientHeight()) + main->ToolbarHeight();
    const qint32 screenHeight = WindowTwips::ScreenHeight(main);
    if (screenHeight - dialogHeight < dialogTop)
        dialogTop = screenHeight - dialogHeight;
    const qint32 dialogLeft =
        mainFrame.left + Twips::RoundEven(double(mainFrame.width - dialogWidth)) / 2;
    WindowTwips::MoveOuter(this, dialogLeft, dialogTop);
}

void AboutBox::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(Twips::ToPixels(separator_.x1()), Twips::ToPixels(separator_.y1()),
                     Twips::ToPixels(separator_.x2()), Twips::ToPixels(separator_.y2()));
}
