#pragma once

#include "UseDictionary.h"

#include "base/MessageBox.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <random>

class QWidget;
class frmMain;

// Uses the real main window at random, as a restless user would: keys, typing, clicks and the
// wheel on every control, resizes, font changes, menus, the history, full-text and text
// abbreviations windows, a screen reader's presses, texts handed over by later starts. After every
// action it checks the rules that must always hold, and stops at the first one broken. The same
// seed and action count replay the same actions.
class RandomUse {
public:
    RandomUse(quint32 seed, const UseDictionary& dictionary);
    ~RandomUse();

    // Runs up to `actions` actions; false as soon as a rule is broken (Failure() says which).
    bool Run(int actions);

    QString Failure() const { return failure_; }
    // Every action taken, numbered, with the one that broke a rule last.
    const QStringList& Actions() const { return log_; }

private:
    using Action = void (RandomUse::*)();
    struct Choice {
        int weight;
        Action action;
    };

    // --- Actions (RandomUseActions.cpp) ---
    void TypeText();
    void PressKey();
    void ClickControl();
    void ClickDescription();
    void Wheel();
    void Resize();
    void StepFont();
    void ChooseMenuItem();
    void UseHistoryWindow();
    void UseFullTextWindow();
    void UseTextAbbreviationsWindow();
    void HandOverText();
    void PressLinkAsScreenReader();
    void SetClipboard();
    void Restart();
    void SearchNearMiss();

    // --- Rules (RandomUseRules.cpp) ---
    // The first broken rule, or an empty text.
    QString BrokenRule();
    QString EntryRule() const;
    QString CommandRule() const;
    QString HistoryRule() const;
    QString DictionaryRule();
    QString TextAbbreviationsRule() const;
    QString NoResultRule() const;

    // --- Helpers ---
    void Start();
    void Note(const QString& action);
    void Settle();
    int Below(int n) { return int(random_() % quint32(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    QString SomeText();
    // A sentence of ordinary words with some of the dictionary's abbreviations among them.
    QString SomeSentence();
    QString NearMiss();
    void FollowSuggestion();
    // What an action that ends in a search without results must leave as it was.
    void RememberBefore();
    QList<qint32> HistoryIds() const;
    QWidget* MainControl(const char* name) const;
    QWidget* OpenHistoryWindow() const;
    QWidget* OpenFullTextWindow() const;
    QWidget* OpenTextAbbreviationsWindow() const;
    void Activate(QWidget* window);
    void KeyTo(QWidget* target, int key, Qt::KeyboardModifiers modifiers);
    void ClickAt(QWidget* target, QPoint at, Qt::MouseButton button, bool twice = false);
    void CloseModals();

    const UseDictionary& dictionary_;
    std::mt19937 random_;
    std::unique_ptr<frmMain> window_;
    QStringList log_;
    QString failure_;
    QByteArray digest_;
    qint64 fileSize_ = 0;
    QDateTime fileTime_;
    MessageHandler previousMessages_;
    QList<QUrl> opened_;
    QTimer modalCloser_;
    // A screen reader's handle on a link of an earlier drawing, pressed again later.
    unsigned staleLink_ = 0;
    // Set when an address was handed to the desktop that should not have been.
    QString wrongOpening_;
    // Before the action: the window, the entry current and the history as recorded.
    struct Before {
        const frmMain* window = nullptr;
        qint32 currentId = 0;
        QList<qint32> history;
    };
    Before before_;
    // The entry of the suggestion the action followed; 0 when it followed none.
    qint32 followedSuggestion_ = 0;
    // That entry stood at the history's current place already, so it is not recorded again.
    bool followedWasCurrent_ = false;
};
