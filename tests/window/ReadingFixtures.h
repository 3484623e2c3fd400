#pragma once

// Dictionaries and helpers for the tests of reading a description: by scrolling, by keyboard and
// through a screen reader's view of the window.
#include "EntryFixtures.h"

#include <QAccessible>
#include <QScrollBar>
#include <vector>

// Entries whose descriptions run far below the description box, are full of links, or are as
// long as a description can be.
struct ReadingDictionary {
    std::unique_ptr<TestDictionary> dict = std::make_unique<TestDictionary>();
    qint32 target = 0;
    qint32 other = 0;
    qint32 longEntry = 0;
    qint32 manyLinks = 0;
    qint32 maxLength = 0;
    static constexpr int kLongParagraphs = 60;

    ReadingDictionary() {
        dict->AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
        // Ids are given in order from 1, so the descriptions can name them in advance.
        target = dict->AddEntry(QStringLiteral("TGT"), QStringLiteral("Target"), 1,
                                QStringLiteral("行き先の項目。"));
        other = dict->AddEntry(QStringLiteral("OTH"), QStringLiteral("Other"), 1,
                               QStringLiteral("別の項目。\\J1 TGT\\jへ戻る。"));
        QString body = QStringLiteral("始めの\\J1 TGT\\jを読む。\n");
        for (int i = 1; i <= kLongParagraphs - 2; ++i)
            body += QStringLiteral("第%1段落の文章です。\n").arg(i);
        body += QStringLiteral("終わりの\\J2 OTH\\j。");
        longEntry = dict->AddEntry(QStringLiteral("LONG"), QStringLiteral("Long"), 1, body);
        // Every "x" is a region of its own: a bold code ends each run of the one link.
        manyLinks = dict->AddEntry(QStringLiteral("MANY"), QStringLiteral("Many"), 1,
                                   QStringLiteral("\\J1 ") + QStringLiteral("x\\B").repeated(1400));
        maxLength = dict->AddEntry(QStringLiteral("MAX"), QStringLiteral("Maximum"), 1,
                                   MaximumDescription());
        dict->Finish();
    }
    QString Dir() const { return dict->Dir(); }

    // Far more than the 4096 bytes that are read of a description: Japanese text, links, Latin
    // words and codes.
    static QString MaximumDescription() {
        QString text;
        while (text.size() < 6000)
            text += QStringLiteral("中央処理装置は\\J1 命令\\jを読み、\\Bexecutes\\b programs "
                                   "stored in \\J2 memory\\j.\n");
        return text;
    }
};

// Switches the platform's accessibility on or off, as a screen reader starting or ending does.
// Qt offers this only to its platform plug-ins; the tests reach it the way Qt's own tests do.
void SetAccessibilityActive(bool active);

// Records the accessibility events the window raises, as a screen reader's bridge gets them.
class AccessibilityEvents {
public:
    struct Event {
        QAccessible::Event type;
        QObject* object;
        QAccessible::Role role;
        QString name;
    };
    // Accessibility is active as when a screen reader runs: only then are events sent at all.
    AccessibilityEvents() {
        recorded().clear();
        QAccessible::installUpdateHandler(&Record);
        SetAccessibilityActive(true);
    }
    ~AccessibilityEvents() {
        SetAccessibilityActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    Q_DISABLE_COPY_MOVE(AccessibilityEvents)

    std::vector<Event>& All() { return recorded(); }
    int Count(QAccessible::Event type, const QObject* object = nullptr,
              QAccessible::Role role = QAccessible::NoRole) const {
        int n = 0;
        for (const Event& e : recorded())
            n += e.type == type && (!object || e.object == object) &&
                 (role == QAccessible::NoRole || e.role == role);
        return n;
    }
    void Clear() { recorded().clear(); }

private:
    static std::vector<Event>& recorded() {
        static std::vector<Event> events;
        return events;
    }
    static void Record(QAccessibleEvent* event) {
        QAccessibleInterface* iface = event->accessibleInterface();
        const bool readable = iface && iface->isValid();
        recorded().push_back({event->type(), event->object(),
                              readable ? iface->role() : QAccessible::NoRole,
                              readable ? iface->text(QAccessible::Name) : QString()});
    }
};

class ReadingWindowTest : public EntryWindowTest {
protected:
    DescriptionBox* Box() { return C().pbxDescription; }
    QAccessibleInterface* Pane() { return QAccessible::queryAccessibleInterface(Box()); }
    QAccessibleTextInterface* PaneText() {
        QAccessibleInterface* pane = Pane();
        return pane ? pane->textInterface() : nullptr;
    }
    QString ReadAll() {
        QAccessibleTextInterface* text = PaneText();
        return text ? text->text(0, text->characterCount()) : QStringLiteral("(no text)");
    }
    // The link children of the pane, without the scroll bar that may follow them.
    std::vector<QAccessibleInterface*> LinkChildren() {
        std::vector<QAccessibleInterface*> links;
        QAccessibleInterface* pane = Pane();
        for (int i = 0; pane && i < pane->childCount(); ++i) {
            QAccessibleInterface* child = pane->child(i);
            if (child && child->role() == QAccessible::Link)
                links.push_back(child);
        }
        return links;
    }

    // Presses a key in the description box as the user does, through the window's key preview.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Box(), key, modifiers);
        QApplication::processEvents();
    }
    void FocusDescription() { Focus(Box()); }

    int Offset() { return Box()->ScrollOffset(); }
    // Where a region of the drawing is now on view, in the box's pixels.
    QPoint OnView(const HyperText::LinkRegion& r) {
        return Box()->ViewRect(r.Left, r.Top, r.Right, r.Bottom).center();
    }
};
