// Showing an entry through ShowKeyword on the real window: caption, web commands, the drawn
// description, the related words and the history record.
#include "EntryFixtures.h"

#include <QDir>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <algorithm>

namespace {

class EntryViewTest : public EntryWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start(linked_.Dir())); }

    bool HomeEnabled() {
        const bool button = C().ToolbarButton("Home")->isEnabled();
        EXPECT_EQ(C().mnuFileWeb->isEnabled(), button) << "toolbar and menu disagree";
        return button;
    }

    // The pieces drawn for one text.
    std::vector<DescriptionBox::DrawnText> PiecesOf(const QString& text) {
        std::vector<DescriptionBox::DrawnText> found;
        for (const DescriptionBox::DrawnText& piece : C().pbxDescription->Drawing())
            if (piece.text == text)
                found.push_back(piece);
        return found;
    }

    LinkedDictionary linked_;
};

TEST_F(EntryViewTest, WebCommandsFollowTheEntrysAddress) {
    EXPECT_FALSE(HomeEnabled());
    Show(linked_.cpu);
    EXPECT_EQ(W().Current().CurrentUrl, QStringLiteral("https://cpu.example/"));
    EXPECT_TRUE(HomeEnabled());
    Show(linked_.ram);
    EXPECT_TRUE(W().Current().CurrentUrl.isEmpty());
    EXPECT_FALSE(HomeEnabled());
    Show(linked_.alu);
    EXPECT_TRUE(HomeEnabled());
}

TEST_F(EntryViewTest, ShowingAnEntrySetsCaptionRelatedWordsAndHistory) {
    Show(linked_.cpu);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"CPU", "ALU", "RAM"}));
    EXPECT_EQ(C().lstLink->currentRow(), 0);
    EXPECT_EQ(C().lstLink->item(0)->data(Qt::UserRole).toInt(), W().Current().CurrentId);
    EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});

    // The same entry again is drawn and listed anew, and recorded no second time.
    const QListWidgetItem* before = C().lstLink->item(0);
    C().pbxDescription->Cls();
    Show(linked_.cpu);
    EXPECT_FALSE(C().pbxDescription->Drawing().empty());
    EXPECT_NE(C().lstLink->item(0), before);
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"CPU", "ALU", "RAM"}));
    EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
}

TEST_F(EntryViewTest, IdBelowOneBlanksTheViewAndKeepsTheEntry) {
    Show(linked_.cpu);
    const QString description = W().Current().CurrentDescription;
    const QPoint overLink = CentrePixels(C().pbxDescription->Regions().front());
    for (qint32 id : {0, -3}) {
        Show(id);
        EXPECT_TRUE(C().pbxDescription->Drawing().empty()) << id;
        EXPECT_EQ(C().pbxDescription->RegionCount(), 0);
        EXPECT_EQ(C().lstLink->count(), 0);
        EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
        EXPECT_EQ(W().Current().CurrentDescription, description);
        EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
        EXPECT_TRUE(HomeEnabled());
        EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
    }
    // Nothing to point at or click in the blank box.
    MoveOverDescription(overLink);
    EXPECT_TRUE(ArrowShown());
    QTest::mouseClick(C().pbxDescription, Qt::LeftButton, {}, overLink);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_TRUE(C().pbxDescription->Drawing().empty());
}

TEST_F(EntryViewTest, UnknownIdIsShownAsFarAsTheDataGo) {
    Show(linked_.cpu);
    Show(999);
    EXPECT_EQ(W().Current().CurrentId, 999);
    EXPECT_TRUE(C().pbxDescription->Drawing().empty());
    EXPECT_EQ(C().pbxDescription->RegionCount(), 0);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(Texts(C().lstLink), QStringList{"CPU"});
    EXPECT_EQ(ItemData(C().lstLink), QList<qint32>{999});
    EXPECT_TRUE(HomeEnabled()) << "the previous address stays";
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "CPU"}));
    EXPECT_EQ(Store().HistoryEntries()[size_t(Store().CurrentSlot())].EntryId, 999);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(EntryViewTest, TitleLineIsBoldAndLinksAreBlueAndUnderlined) {
    Show(linked_.cpu);
    const auto& drawing = C().pbxDescription->Drawing();
    ASSERT_FALSE(drawing.empty());
    const DescriptionBox::DrawnText& title = drawing.front();
    EXPECT_EQ(title.text, QStringLiteral("Central Processing Unit [HW]"));
    EXPECT_TRUE(title.font.bold());
    EXPECT_EQ(title.font.family(), W().font().family());
    EXPECT_DOUBLE_EQ(title.font.pointSizeF(), W().font().pointSizeF());

    const auto body = PiecesOf(QStringLiteral("命令を実行する装置。"));
    ASSERT_EQ(body.size(), 1u);
    EXPECT_FALSE(body[0].font.bold());
    EXPECT_FALSE(body[0].font.underline());
    EXPECT_GT(body[0].y, title.y);

    for (const char* word : {"RAM", "ALU"}) {
        const auto link = PiecesOf(QString::fromLatin1(word));
        ASSERT_EQ(link.size(), 1u) << word;
        EXPECT_EQ(link[0].color, (HyperText::RgbColor{0, 0, 255})) << word;
        EXPECT_TRUE(link[0].font.underline()) << word;
        EXPECT_FALSE(link[0].font.bold()) << word;
    }
    const auto broken = PiecesOf(QStringLiteral("XYZ"));
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].color, (HyperText::RgbColor{255, 0, 0}));
    EXPECT_FALSE(broken[0].font.underline());

    // One region per drawn link, in drawing order; the red text has none.
    ASSERT_EQ(C().pbxDescription->RegionCount(), 2);
    EXPECT_EQ(C().pbxDescription->Regions()[0].LinkId, linked_.ram);
    EXPECT_EQ(C().pbxDescription->Regions()[1].LinkId, linked_.alu);
    const auto ram = PiecesOf(QStringLiteral("RAM"));
    EXPECT_EQ(C().pbxDescription->Regions()[0].Left, ram[0].x);
    EXPECT_EQ(C().pbxDescription->Regions()[0].Top, ram[0].y);
}

TEST_F(EntryViewTest, PiecesAndLinkRegionsAreAsWideAsTheDrawnText) {
    Show(linked_.cpu);
    const auto& drawing = C().pbxDescription->Drawing();
    ASSERT_GT(drawing.size(), 4u);
    auto drawnWidth = [](const DescriptionBox::DrawnText& piece) {
        return QFontMetricsF(piece.font).horizontalAdvance(piece.text) * Twips::kPerPixel;
    };
    // On one line each piece starts where the text drawn before it ends.
    for (size_t i = 1; i < drawing.size(); ++i) {
        if (drawing[i].y != drawing[i - 1].y)
            continue;
        EXPECT_NEAR(drawing[i].x - drawing[i - 1].x, drawnWidth(drawing[i - 1]), 1.0)
            << drawing[i - 1].text.toStdString();
    }
    for (const char* word : {"RAM", "ALU"}) {
        const auto piece = PiecesOf(QString::fromLatin1(word));
        ASSERT_EQ(piece.size(), 1u);
        const auto region =
            std::find_if(C().pbxDescription->Regions().begin(), C().pbxDescription->Regions().end(),
                         [&](const HyperText::LinkRegion& r) { return r.Left == piece[0].x; });
        ASSERT_NE(region, C().pbxDescription->Regions().end()) << word;
        EXPECT_NEAR(region->Right - region->Left, drawnWidth(piece[0]), 1.0) << word;
    }
}

TEST_F(EntryViewTest, DescriptionIsRedrawnToTheNewWidth) {
    Show(linked_.cpu);
    const QString drawn = DrawnText();
    C().pbxDescription->Cls();
    W().resize(W().width() + 150, W().height());
    QApplication::processEvents();
    EXPECT_EQ(DrawnText(), drawn);
    EXPECT_EQ(C().pbxDescription->RegionCount(), 2);
}

// A copy of the bundled dictionary with its middle overwritten opens. Choosing the entries one
// after another, the first that cannot be read for the damage brings one message naming the
// file; the window goes on reading what is whole, and the file is never written.
TEST(DamagedDictionaryWindowTest, SaysOnceThatTheFileIsDamagedAndGoesOn) {
    QTemporaryDir dir;
    const QString path = DamagedCopy(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"), dir.path());
    ASSERT_FALSE(path.isEmpty());
    const QByteArray digest = FileDigest(path);
    MessageRecorder messages;
    frmMain window;
    ASSERT_TRUE(window.Form_Load(dir.path()));
    EXPECT_TRUE(messages.boxes.isEmpty()) << "nothing is wrong until a read meets the damage";

    const MainControls c(window);
    c.txtSearchKey->setText(QStringLiteral("*"));
    window.mnuFileFind_Click();
    ASSERT_GT(c.lstDbList->count(), 50);
    for (int row = 0; row < c.lstDbList->count(); ++row) {
        c.lstDbList->setCurrentRow(row);
        QApplication::processEvents();
    }
    ASSERT_EQ(messages.boxes.size(), 1);
    const MessageRequest& box = messages.boxes.front();
    EXPECT_EQ(box.text,
              QStringLiteral("辞書ファイルが壊れています\r\n") + QDir::toNativeSeparators(path));
    EXPECT_EQ(box.title, QStringLiteral("Tessarine 2000"));
    EXPECT_EQ(box.buttons, MessageButtons::Ok);

    c.txtSearchKey->setText(QStringLiteral("cpu"));
    window.mnuFileFind_Click();
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(messages.boxes.size(), 1);
    EXPECT_EQ(FileDigest(path), digest);
}

} // namespace
