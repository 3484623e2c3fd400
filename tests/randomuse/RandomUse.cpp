#include "RandomUse.h"

#include "app/frmMain.h"
#include "auxiliary/Web.h"
#include "history/History.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QTest>

RandomUse::RandomUse(quint32 seed, const UseDictionary& dictionary)
    : dictionary_(dictionary), random_(seed) {
    digest_ = dictionary_.Digest();
    fileSize_ = QFileInfo(dictionary_.path).size();
    fileTime_ = QFileInfo(dictionary_.path).lastModified();
    // Every box is answered at random, as a user clicks OK or Cancel.
    previousMessages_ = SetMessageHandler([this](const MessageRequest& box) {
        log_.last() += QStringLiteral(" [box \"%1\"]").arg(box.text.left(40).replace(u'\n', u' '));
        return box.buttons == MessageButtons::OkCancel && Chance(50) ? MessageAnswer::Cancel
                                                                     : MessageAnswer::Ok;
    });
    Web::SetUrlOpener([this](const QUrl& url) {
        const QString shown = window_ ? window_->Current().CurrentUrl.trimmed() : QString();
        if (!Web::IsWebAddress(url.toString()) || QUrl(shown, QUrl::StrictMode) != url)
            wrongOpening_ = QStringLiteral("opened %1 while %2 is shown")
                                .arg(url.toString(), window_->Current().CurrentUrl);
        opened_ << url;
        return true;
    });
    // A modal box of the program's own (the About box) is closed as soon as it shows, as a
    // user closes it; the run goes on inside its event loop until then.
    modalCloser_.setInterval(5);
    QObject::connect(&modalCloser_, &QTimer::timeout, [this] { CloseModals(); });
}

RandomUse::~RandomUse() {
    modalCloser_.stop();
    window_.reset();
    QApplication::processEvents();
    Web::SetUrlOpener({});
    SetMessageHandler(previousMessages_);
}

bool RandomUse::Run(int actions) {
    static constexpr Choice kChoices[] = {
        {20, &RandomUse::TypeText},
        {30, &RandomUse::PressKey},
        {18, &RandomUse::ClickControl},
        {12, &RandomUse::ClickDescription},
        {4, &RandomUse::Wheel},
        {3, &RandomUse::Resize},
        {2, &RandomUse::StepFont},
        {6, &RandomUse::ChooseMenuItem},
        {8, &RandomUse::UseHistoryWindow},
        {5, &RandomUse::UseFullTextWindow},
        {5, &RandomUse::UseTextAbbreviationsWindow},
        {2, &RandomUse::HandOverText},
        {4, &RandomUse::PressLinkAsScreenReader},
        {3, &RandomUse::SetClipboard},
        {1, &RandomUse::Restart},
        {6, &RandomUse::SearchNearMiss},
    };
    int total = 0;
    for (const Choice& c : kChoices)
        total += c.weight;

    log_.clear();
    log_ << QStringLiteral("start");
    Start();
    modalCloser_.start();
    failure_ = BrokenRule();
    for (int i = 0; i < actions && failure_.isEmpty(); ++i) {
        const qsizetype noted = log_.size();
        RememberBefore();
        int pick = Below(total);
        for (const Choice& c : kChoices) {
            if (pick < c.weight) {
                (this->*c.action)();
                break;
            }
            pick -= c.weight;
        }
        if (log_.size() == noted)
            Note(QStringLiteral("(nothing to do)"));
        Settle();
        if (!window_->isVisible()) {
            log_.last() += QStringLiteral(" [the window closed: started again]");
            Start();
        }
        failure_ = BrokenRule();
    }
    modalCloser_.stop();
    return failure_.isEmpty();
}

void RandomUse::Start() {
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    window_.reset();
    QApplication::processEvents();
    window_ = std::make_unique<frmMain>();
    if (!window_->Form_Load(dictionary_.dir)) {
        failure_ = QStringLiteral("the window did not start on ") + dictionary_.dir;
        return;
    }
    Activate(window_.get());
}

// One line per action, numbered from 1 as the actions are counted.
void RandomUse::Note(const QString& action) {
    log_ << QStringLiteral("%1: %2").arg(log_.size()).arg(action);
}

// Lets queued handlers run (a related word is shown after the list finished its click), and
// what they queue in turn.
void RandomUse::Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void RandomUse::CloseModals() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    log_.last() += QStringLiteral(" [closes %1]").arg(modal->objectName());
    modal->close();
}

QWidget* RandomUse::MainControl(const char* name) const {
    return window_->findChild<QWidget*>(QLatin1String(name));
}

QWidget* RandomUse::OpenHistoryWindow() const {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmHistory") && w->isVisible())
            return w;
    return nullptr;
}

QWidget* RandomUse::OpenFullTextWindow() const {
    QWidget* w = window_->findChild<QWidget*>(QStringLiteral("frmFullText"));
    return w && w->isVisible() ? w : nullptr;
}

QWidget* RandomUse::OpenTextAbbreviationsWindow() const {
    QWidget* w = window_->findChild<QWidget*>(QStringLiteral("frmTextAbbreviations"));
    return w && w->isVisible() ? w : nullptr;
}

void RandomUse::Activate(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
}

void RandomUse::KeyTo(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    // An open menu or drop-down list takes the keys, as it does for the user.
    if (QWidget* popup = QApplication::activePopupWidget())
        target = popup;
    if (!target)
        return;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

void RandomUse::ClickAt(QWidget* target, QPoint at, Qt::MouseButton button, bool twice) {
    if (!target || !target->isVisible())
        return;
    if (twice)
        QTest::mouseDClick(target, button, {}, at);
    else
        QTest::mouseClick(target, button, {}, at);
}

QString RandomUse::SomeSentence() {
    static const char* const kWords[] = {"the", "data", "is",   "sent",  "over", "it",
                                         "and", "a",    "fast", "cache", "of",   "to"};
    QString text;
    const int words = 2 + Below(14);
    for (int i = 0; i < words; ++i) {
        if (Chance(35) && !dictionary_.abbreviations.isEmpty()) {
            QString abbr =
                dictionary_.abbreviations.at(Below(int(dictionary_.abbreviations.size())));
            const int form = Below(10);
            abbr += form == 0 ? QStringLiteral("s") : form == 1 ? QStringLiteral("'s") : QString();
            text += abbr;
        } else {
            text += QLatin1String(kWords[Below(int(std::size(kWords)))]);
        }
        text += Chance(10) ? QStringLiteral(".\n") : QStringLiteral(" ");
    }
    return text;
}

void RandomUse::RememberBefore() {
    before_ = {window_.get(), window_->Current().CurrentId, HistoryIds()};
    followedSuggestion_ = 0;
    followedWasCurrent_ = false;
}

QList<qint32> RandomUse::HistoryIds() const {
    const History::HistoryStore& history = History::Store();
    QList<qint32> ids{history.CurrentSlot()};
    for (const qint16 slot : history.RecordedSlots())
        ids << history.HistoryEntries()[size_t(slot)].EntryId;
    return ids;
}

QString RandomUse::SomeText() {
    static const char* const kTricky[] = {
        "*",       "?",   "??U",         "c*",       "*u",      "ｃｐｕ", "シーピーユー", "中央*",
        "'",       "\"",  "' OR 1=1 --", "[a-z]*",   "%",       "_",      "\\B",          "a b",
        "  cpu  ", "　",  "Central*",    "*memory*", "o'clock", "TCP/IP", "e0??",         "[!a]*",
        "cd-rom",  "c++", "Wi-Fi",       "long",     "ｶﾅ",      "😀",
    };
    const int kind = Below(10);
    if (kind < 5 && !dictionary_.abbreviations.isEmpty()) {
        QString key = dictionary_.abbreviations.at(Below(int(dictionary_.abbreviations.size())));
        if (Chance(30))
            key = key.toLower();
        if (Chance(20))
            key = key.left(1 + Below(int(key.size()))) + QLatin1Char('*');
        return key;
    }
    if (kind < 9)
        return QString::fromUtf8(kTricky[Below(int(std::size(kTricky)))]);
    static const QString kLetters = QStringLiteral("abcXYZ019 *?'\"-/.あア漢ｱ\\");
    QString text;
    const int length = 50 + Below(300);
    for (int i = 0; i < length; ++i)
        text += kLetters.at(Below(int(kLetters.size())));
    return text;
}
