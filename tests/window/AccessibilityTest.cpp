// The window as a screen reader sees it through Qt's accessibility interfaces: the status panels
// by their text, the description as text in reading order with its links as children that can be
// pressed, and nothing stale after the view changes.
#include "ReadingFixtures.h"

#include <QRegularExpression>

namespace {

class AccessibilityTest : public ReadingWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start(linked_.Dir())); }
    LinkedDictionary linked_;
    AccessibilityEvents events_;
};

TEST_F(AccessibilityTest, StatusPanelsAreReadByTheirTextAndAnnounceAChange) {
    QLabel* panel = C().statusPanels->Text();
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(panel);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("未検索"));
    EXPECT_EQ(status->text(QAccessible::Description), QStringLiteral("状態"));
    for (auto [label, what] : {std::pair{C().statusPanels->Date(), "日付"},
                               std::pair{C().statusPanels->Time(), "時刻"}}) {
        QAccessibleInterface* clock = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(clock->text(QAccessible::Name), label->text());
        EXPECT_FALSE(label->text().isEmpty());
        EXPECT_EQ(clock->text(QAccessible::Description), QString::fromUtf8(what));
    }

    events_.Clear();
    Search(QStringLiteral("cpu"));
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("検索結果 : 1件"));
    EXPECT_EQ(events_.Count(QAccessible::NameChanged, panel), 1);
    const auto announced =
        std::find_if(events_.All().begin(), events_.All().end(), [panel](const auto& e) {
            return e.type == QAccessible::NameChanged && e.object == panel;
        });
    ASSERT_NE(announced, events_.All().end());
    EXPECT_EQ(announced->name, QStringLiteral("検索結果 : 1件")) << "the new text is announced";

    // The same count again is no change and says nothing new.
    events_.Clear();
    Search(QStringLiteral("ram"));
    EXPECT_EQ(events_.Count(QAccessible::NameChanged, panel), 0);
    // A search without results keeps the status until the result list takes the focus.
    Search(QStringLiteral("nothing-like-this"));
    EXPECT_EQ(events_.Count(QAccessible::NameChanged, panel), 0);
    Focus(C().lstDbList);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("検索結果 : 0件"));
    EXPECT_EQ(events_.Count(QAccessible::NameChanged, panel), 1);
}

// The default button under the toolbar is there for Enter only: readers are told it is not
// shown, and Enter still searches through it.
TEST_F(AccessibilityTest, TheDefaultButtonUnderTheToolbarIsNotShownToReaders) {
    QPushButton* button = C().cmdFind;
    ASSERT_NE(button, nullptr);
    QAccessibleInterface* find = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->state().invisible);
    EXPECT_FALSE(find->state().focusable);
    EXPECT_FALSE(find->state().focused);

    Focus(C().txtSearchKey);
    C().txtSearchKey->setText(QStringLiteral("cpu"));
    QTest::keyClick(C().txtSearchKey, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(C().lstDbList->count(), 1);
}

TEST_F(AccessibilityTest, TheDescriptionIsReadAsItsDrawnText) {
    Show(linked_.cpu);
    QAccessibleInterface* pane = Pane();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->text(QAccessible::Name), QStringLiteral("解説"));
    EXPECT_TRUE(pane->state().readOnly);
    EXPECT_TRUE(pane->state().multiLine);
    ASSERT_NE(PaneText(), nullptr);

    const QString expected = QStringLiteral("Central Processing Unit [HW]\n命令を実行する装置。\n"
                                            "主記憶はRAMです。\n赤いXYZ字。\n演算はALUが行う。");
    EXPECT_EQ(ReadAll(), expected);
    EXPECT_EQ(PaneText()->characterCount(), expected.size());
    EXPECT_EQ(PaneText()->text(29, 39), QStringLiteral("命令を実行する装置。"));
    EXPECT_EQ(pane->text(QAccessible::Value), expected);
    int start = -1;
    int end = -1;
    EXPECT_TRUE(PaneText()
                    ->textAtOffset(31, QAccessible::LineBoundary, &start, &end)
                    .startsWith(QStringLiteral("命令を実行する装置。")));
    EXPECT_EQ(start, 29) << "a paragraph is a line for a reader";
    EXPECT_EQ(PaneText()->selectionCount(), 0);
}

TEST_F(AccessibilityTest, TheTextFollowsEveryEntryAndTheBlankView) {
    Show(linked_.cpu);
    events_.Clear();
    Show(linked_.ram);
    EXPECT_EQ(ReadAll(),
              QStringLiteral("Random Access Memory [HW]\n読み書きできる記憶。CPUが使う。"));
    EXPECT_EQ(events_.Count(QAccessible::TextUpdated, Box()), 1);

    Show(0);
    EXPECT_EQ(ReadAll(), QString());
    EXPECT_EQ(PaneText()->characterCount(), 0);
    EXPECT_EQ(PaneText()->text(0, 10), QString());
    EXPECT_EQ(PaneText()->characterRect(0), QRect());
    EXPECT_EQ(PaneText()->offsetAtPoint(Box()->mapToGlobal(QPoint(10, 10))), -1);
    EXPECT_EQ(Pane()->childCount(), 0);
    EXPECT_EQ(events_.Count(QAccessible::TextUpdated, Box()), 2);

    // A search that finds nothing is read as the sentence that says so.
    Show(linked_.cpu);
    Search(QStringLiteral("nothing"));
    EXPECT_EQ(ReadAll(), QStringLiteral("\"nothing\" は見つかりませんでした。"));
}

TEST_F(AccessibilityTest, CharactersHaveTheirPlaceOnScreen) {
    Show(linked_.cpu);
    QAccessibleTextInterface* text = PaneText();
    const QRect boxOnScreen(Box()->mapToGlobal(QPoint(0, 0)), Box()->size());
    for (int offset : {0, 5, 29, 33, 44}) {
        const QRect r = text->characterRect(offset);
        ASSERT_FALSE(r.isEmpty()) << offset;
        EXPECT_TRUE(boxOnScreen.contains(r)) << offset;
        EXPECT_EQ(text->offsetAtPoint(r.center()), offset) << offset;
    }
    EXPECT_EQ(text->characterRect(28), QRect()) << "a paragraph end has no place";
    EXPECT_GT(text->characterRect(1).left(), text->characterRect(0).left());
    EXPECT_GT(text->characterRect(29).top(), text->characterRect(0).bottom());

    // Attributes run over a drawn piece: the bold heading, the plain line, the blue link.
    int start = -1;
    int end = -1;
    const HyperText::RgbColor ink = Box()->WindowTextColor();
    EXPECT_EQ(text->attributes(31, &start, &end),
              QStringLiteral("color:rgb(%1,%2,%3);").arg(ink.r).arg(ink.g).arg(ink.b));
    EXPECT_EQ(start, 29);
    EXPECT_EQ(end, 39);
    EXPECT_TRUE(text->attributes(0, &start, &end).contains(QStringLiteral("font-weight:bold")));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 28);
    EXPECT_EQ(text->attributes(45, &start, &end),
              QStringLiteral("color:rgb(0,0,255);text-underline-style:solid;"));
    EXPECT_EQ(start, 44);
    EXPECT_EQ(end, 47);
}

TEST_F(AccessibilityTest, EachLinkIsAChildOfTheLinkRoleNamedByItsText) {
    Show(linked_.cpu);
    QAccessibleInterface* pane = Pane();
    const std::vector<QAccessibleInterface*> links = LinkChildren();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(pane->childCount(), 2) << "no scroll bar for a description that fits";
    const QRect boxOnScreen(Box()->mapToGlobal(QPoint(0, 0)), Box()->size());
    const QStringList names = {"RAM", "ALU"};
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* link = links[std::size_t(i)];
        EXPECT_TRUE(link->isValid());
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name), names[i]);
        EXPECT_TRUE(link->state().linked);
        EXPECT_TRUE(link->state().focusable);
        EXPECT_FALSE(link->state().invalid);
        EXPECT_EQ(link->parent(), pane);
        EXPECT_EQ(pane->indexOfChild(link), i);
        EXPECT_EQ(pane->child(i), link) << "asked again, the same child";
        EXPECT_TRUE(boxOnScreen.contains(link->rect())) << i;
        EXPECT_EQ(pane->childAt(link->rect().center().x(), link->rect().center().y()), link);
        QAccessibleHyperlinkInterface* hyperlink = link->hyperlinkInterface();
        ASSERT_NE(hyperlink, nullptr);
        EXPECT_EQ(
            ReadAll().mid(hyperlink->startIndex(), hyperlink->endIndex() - hyperlink->startIndex()),
            names[i]);
    }
    // The red text of a reference that leads nowhere is no link.
    EXPECT_FALSE(ReadAll().isEmpty());
    EXPECT_EQ(pane->child(2), nullptr);
    EXPECT_EQ(pane->child(-1), nullptr);
}

TEST_F(AccessibilityTest, PressingALinkFollowsItAsAClickDoes) {
    Show(linked_.cpu);
    QAccessibleInterface* ram = LinkChildren().at(0);
    QAccessibleActionInterface* actions = ram->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_FALSE(actions->actionNames().isEmpty());
    EXPECT_EQ(actions->actionNames().first(), QAccessibleActionInterface::pressAction())
        << "pressing is the default action";

    actions->doAction(QAccessibleActionInterface::pressAction());

    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
}

TEST_F(AccessibilityTest, ALinkThatHasJustGoneAnswersAsAnInvalidObject) {
    Show(linked_.cpu);
    QAccessibleInterface* ram = LinkChildren().at(0);
    const QAccessible::Id ramId = QAccessible::uniqueId(ram);
    events_.Clear();
    Show(linked_.alu);

    EXPECT_EQ(events_.Count(QAccessible::ObjectDestroyed, nullptr, QAccessible::Link), 2)
        << "both links said goodbye";
    EXPECT_FALSE(ram->isValid());
    EXPECT_TRUE(ram->state().invalid);
    EXPECT_EQ(ram->text(QAccessible::Name), QString());
    EXPECT_EQ(ram->rect(), QRect());
    EXPECT_EQ(ram->parent(), nullptr);
    EXPECT_TRUE(ram->actionInterface()->actionNames().isEmpty());
    ram->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(W().Current().CurrentId, linked_.alu) << "a gone link leads nowhere";
    EXPECT_EQ(ram->hyperlinkInterface()->startIndex(), -1);
    EXPECT_EQ(Pane()->indexOfChild(ram), -1);

    // ALU's description has no link: no child is left over from CPU's.
    EXPECT_EQ(Pane()->childCount(), 0);
    EXPECT_EQ(Pane()->child(0), nullptr);

    // After one more drawing the gone link is forgotten: a reader asking by its id learns so.
    Show(linked_.ram);
    EXPECT_EQ(QAccessible::accessibleInterface(ramId), nullptr);
    ASSERT_EQ(LinkChildren().size(), 1u);
    EXPECT_EQ(LinkChildren().at(0)->text(QAccessible::Name), QStringLiteral("CPU"));
}

TEST_F(AccessibilityTest, BlankingTheViewLeavesNoLink) {
    Show(linked_.cpu);
    QAccessibleInterface* alu = LinkChildren().at(1);
    Show(0);
    EXPECT_FALSE(alu->isValid());
    EXPECT_EQ(Pane()->childCount(), 0);
    EXPECT_EQ(Pane()->childAt(Box()->mapToGlobal(QPoint(20, 20)).x(),
                              Box()->mapToGlobal(QPoint(20, 20)).y()),
              nullptr);
}

TEST_F(AccessibilityTest, TheFramedLinkHasTheFocusForReaders) {
    Show(linked_.cpu);
    FocusDescription();
    events_.Clear();
    Press(Qt::Key_Right);

    QAccessibleInterface* ram = LinkChildren().at(0);
    EXPECT_TRUE(ram->state().focused);
    EXPECT_FALSE(LinkChildren().at(1)->state().focused);
    EXPECT_EQ(Pane()->focusChild(), ram);
    const auto focus = std::find_if(events_.All().begin(), events_.All().end(),
                                    [](const auto& e) { return e.type == QAccessible::Focus; });
    ASSERT_NE(focus, events_.All().end());
    EXPECT_EQ(focus->role, QAccessible::Link);
    EXPECT_EQ(focus->name, QStringLiteral("RAM"));

    // A reader can put the frame on a link itself.
    LinkChildren().at(1)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(Box()->CurrentLink(), 1);
}

// A term of its own (as the large dictionary makes of FOLDOC's articles) has no spelled-out
// form: its name heads the description, drawn and read.
class TermHeadingTest : public ReadingWindowTest {
protected:
    void SetUp() override {
        dict_.AddCategory(1, QStringLiteral("用語"), QStringLiteral("TERM"));
        term_ = dict_.AddEntry(QStringLiteral("protocol"), QString(), 1,
                               QStringLiteral("通信の約束事。"));
        dict_.Finish();
        ASSERT_TRUE(Start(dict_.Dir()));
    }
    TestDictionary dict_;
    qint32 term_ = 0;
};

TEST_F(TermHeadingTest, TheAbbreviationHeadsAnEntryWithoutSpelledOutForm) {
    Show(term_);
    ASSERT_FALSE(Box()->Drawing().empty());
    EXPECT_EQ(Box()->Drawing().front().text, QStringLiteral("protocol [TERM]"));
    EXPECT_EQ(ReadAll(), QStringLiteral("protocol [TERM]\n通信の約束事。"));
}

class ReadingLimitsTest : public ReadingWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start(reading_.Dir())); }
    ReadingDictionary reading_;
};

TEST_F(ReadingLimitsTest, ADescriptionOfTheLongestLengthIsReadWhole) {
    Show(reading_.maxLength);
    QAccessibleTextInterface* text = PaneText();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(ReadAll(), Box()->Reading().text);
    EXPECT_GT(text->characterCount(), 2000);
    QString drawn;
    for (const DescriptionBox::DrawnText& piece : Box()->Drawing())
        drawn += piece.text;
    EXPECT_EQ(QString(ReadAll()).remove(QLatin1Char('\n')), drawn);
    EXPECT_FALSE(ReadAll().contains(QLatin1Char('\\'))) << "no markup is read";

    // Reading moves the view: the last character comes into view.
    const int last = int(ReadAll().lastIndexOf(QRegularExpression(QStringLiteral("[^\\n]"))));
    ASSERT_GT(last, 0);
    text->setCursorPosition(last);
    EXPECT_EQ(text->cursorPosition(), last);
    EXPECT_GT(Offset(), 0);
    const QRect onScreen = text->characterRect(last);
    const QRect boxOnScreen(Box()->mapToGlobal(QPoint(0, 0)), Box()->size());
    EXPECT_TRUE(boxOnScreen.contains(onScreen));
    EXPECT_EQ(text->offsetAtPoint(onScreen.center()), last);
    text->scrollToSubstring(0, 5);
    EXPECT_EQ(Offset(), 0);
}

TEST_F(ReadingLimitsTest, ThousandsOfRegionsAreChildrenAndAllGoAtOnce) {
    Show(reading_.manyLinks);
    const int regions = C().pbxDescription->RegionCount();
    ASSERT_GT(regions, 1000);
    QAccessibleInterface* pane = Pane();
    const int links = Box()->Links().VisibleRegionCount();
    EXPECT_EQ(pane->childCount(), links + 1) << "the regions and the scroll bar";
    QAccessibleInterface* last = pane->child(links - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->role(), QAccessible::Link);
    EXPECT_EQ(last->text(QAccessible::Name), Box()->Links().Link(0).text)
        << "every part is named by the whole reference";
    EXPECT_EQ(pane->child(links)->role(), QAccessible::ScrollBar);
    std::vector<QAccessibleInterface*> held;
    for (int i = 0; i < links; i += 97)
        held.push_back(pane->child(i));

    Show(reading_.target);
    for (QAccessibleInterface* gone : held) {
        EXPECT_FALSE(gone->isValid());
        EXPECT_EQ(gone->text(QAccessible::Name), QString());
        EXPECT_EQ(gone->rect(), QRect());
    }
    EXPECT_EQ(Pane()->childCount(), 0);
    Show(reading_.manyLinks);
    Show(0);
    EXPECT_EQ(Pane()->childCount(), 0);
}

// Far more regions than a dictionary description can hold, straight into a box.
TEST(DescriptionBoxAccessibility, FiveThousandLinksStayConsistent) {
    DescriptionBox box;
    box.resize(400, 300);
    box.show();
    QString markup;
    for (int i = 1; i <= 5000; ++i)
        markup += QStringLiteral("\\J%1 L\\j ").arg(i);
    const HyperText::DisplayFont font{box.font().family(), 3.0};
    const qint16 count = box.ShowDescription(markup, font, true);
    ASSERT_GT(count, 3000);

    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(&box);
    const int links = box.Links().VisibleRegionCount();
    EXPECT_EQ(box.Links().LinkCount(), 5000);
    EXPECT_EQ(links, 5000) << "regions that drew nothing are no children";
    QAccessibleInterface* last = pane->child(links - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->text(QAccessible::Name), QStringLiteral("L"));
    EXPECT_EQ(pane->indexOfChild(last), links - 1);

    box.ShowDescription(QString(), font, true);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(pane->childCount(), 0);
}

} // namespace
