#include "app/StatusPanels.h"

#include "app/Twips.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int kTextMinTwips = 1440;
constexpr int kClockMinTwips = 500;
} // namespace

StatusPanels::StatusPanels(QStatusBar* bar)
    : QObject(bar), text_(new QLabel(bar)), date_(new QLabel(bar)), time_(new QLabel(bar)),
      timer_(new QTimer(this)) {
    text_->setObjectName(QStringLiteral("stbStatusBarText"));
    date_->setObjectName(QStringLiteral("stbStatusBarDate"));
    time_->setObjectName(QStringLiteral("stbStatusBarTime"));
    // Screen readers read a panel by its name: without a name of its own a label is named by
    // its text, and announces each new text as a change of name. What the panel is goes into
    // the description.
    text_->setAccessibleDescription(QStringLiteral("状態"));
    date_->setAccessibleDescription(QStringLiteral("日付"));
    time_->setAccessibleDescription(QStringLiteral("時刻"));
    for (QLabel* panel : {text_, date_, time_})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    date_->setAlignment(Qt::AlignCenter);
    time_->setAlignment(Qt::AlignCenter);
    bar->addWidget(text_, 1);
    bar->addPermanentWidget(date_);
    bar->addPermanentWidget(time_);
    UpdateMinimumWidths();
    connect(timer_, &QTimer::timeout, this, &StatusPanels::Tick);
    timer_->start(1000);
    Tick();
}

void StatusPanels::SetText(const QString& text) {
    text_->setText(text);
}

QString StatusPanels::TextValue() const {
    return text_->text();
}

void StatusPanels::UpdateMinimumWidths() {
    text_->setMinimumWidth(Twips::ToPixels(kTextMinTwips));
    date_->setMinimumWidth(Twips::ToPixels(kClockMinTwips));
    time_->setMinimumWidth(Twips::ToPixels(kClockMinTwips));
}

void StatusPanels::Tick() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    date_->setText(japanese.toString(now.date(), QStringLiteral("yyyy/MM/dd")));
    time_->setText(japanese.toString(now.time(), QStringLiteral("H:mm")));
}
