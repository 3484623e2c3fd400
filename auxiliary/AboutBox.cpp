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

QString AboutBox::DictionaryText() {
    return DictionarySummary::AboutLine(DictionarySummary::OfOpenDictionary());
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
    QFont dialogFont(main->font().family());
    dialogFont.setPointSizeF(main->font().pointSizeF());
    setFont(dialogFont);
    setWindowIcon(main->windowIcon());
    for (QWidget* w : std::initializer_list<QWidget*>{Picture1, Label1, Label2, Label3, Label4,
                                                      lblDictionary, cmdOK})
        w->setFont(dialogFont);

    auto place = [](QWidget* w, qint32 left, qint32 top) {
        w->move(Twips::ToPixels(left), Twips::ToPixels(top));
    };
    auto bottom = [](QWidget* w) { return TwipsOf(w->y()) + TwipsOf(w->height()); };
    auto rightOf = [](QWidget* w) { return TwipsOf(w->x()) + TwipsOf(w->width()); };

    // Drawn for the screen's device pixels, so that the vector icon stays sharp at any scale.
    Picture1->setPixmap(windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    Picture1->resize(32, 32);
    place(Picture1, 180, 180);
    qint32 y = TwipsOf(Picture1->y());
    const qint32 x = rightOf(Picture1) + 120;

    Label1->setText(CommentsText());
    Label1->adjustSize();
    place(Label1, x, y);
    qint32 right = rightOf(Label1);

    Label2->setText(VersionText());
    QFont nameFont = dialogFont;
    nameFont.setBold(true);
    const double size = dialogFont.pointSizeF();
    nameFont.setPointSizeF(size + double(Twips::RoundEven(size) / 2));
    Label2->setFont(nameFont);
    Label2->adjustSize();
    qint32 top = bottom(Picture1) - TwipsOf(Label2->height());
    if (top < bottom(Label1))
        top = bottom(Label1);
    place(Label2, x, top);
    right = std::max(right, rightOf(Label2));
    y = bottom(Label2) + 60;

    Label3->setText(CopyrightText());
    Label3->adjustSize();
    place(Label3, x, y);
    right = std::max(right, rightOf(Label3));
    y = bottom(Label3) + 60;

    lblDictionary->setText(DictionaryText());
    lblDictionary->adjustSize();
    place(lblDictionary, x, y);
    right = std::max(right, rightOf(lblDictionary));
    y = bottom(lblDictionary) + 120;

    Label4->setText(CreditsText());
    Label4->adjustSize();
    place(Label4, 180, y);
    right = std::max(right, rightOf(Label4));
    y = bottom(Label4);

    const QFontMetricsF metrics(dialogFont);
    const qint32 okWidth = Twips::FromPixels(4 * metrics.horizontalAdvance(QStringLiteral("OK")));
    const qint32 okHeight = Twips::FromPixels(metrics.height()) + 180;
    cmdOK->resize(Twips::ToPixels(okWidth), Twips::ToPixels(okHeight));
    place(cmdOK, right - TwipsOf(cmdOK->width()), y - TwipsOf(cmdOK->height()));
    y = bottom(cmdOK) + 120;

    clientWidth_ = right + 180;
    clientHeight_ = y + 60;
    setFixedSize(Twips::ToPixels(clientWidth_), Twips::ToPixels(clientHeight_));
    const qint32 lineY = TwipsOf(Label4->y()) - 60;
    separator_ = QLine(180, lineY, right, lineY);

    // Just below the main window's toolbar, centred over it, and never below the screen.
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
