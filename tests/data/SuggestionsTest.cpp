// What a search that found nothing offers instead: each source of suggestions as a rule, on a
// real dictionary file.
#include "data/Suggestions.h"
#include "support/DataFixtures.h"

#include <gtest/gtest.h>

namespace {

using Suggestions::Search;
using Suggestions::Suggestion;

class SuggestionsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dict_ = new TestDictionary;
        TestDictionary& d = *dict_;
        d.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
        d.AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
        d.AddCategory(3, QStringLiteral("一般"), QString());
        cpu_ = d.AddEntry(
            QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
            QStringLiteral(
                "\\B中央処理装置\\b（ちゅうおうしょりそうち）　読み：シーピーユー\n本文。"));
        lan_ = d.AddEntry(QStringLiteral("LAN"), QStringLiteral("Local Area Network"), 2,
                          QStringLiteral("\\B構内通信網\\b（こうないつうしんもう）　読み：ラン"));
        http_ =
            d.AddEntry(QStringLiteral("HTTP"), QStringLiteral("HyperText Transfer Protocol"), 2);
        https_ = d.AddEntry(QStringLiteral("HTTPS"), QStringLiteral("HTTP Secure"), 2);
        tcpip_ = d.AddEntry(QStringLiteral("TCP/IP"),
                            QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2);
        htpc_ = d.AddEntry(QStringLiteral("HTPC"), QStringLiteral("Home Theater PC"), 1);
        run_ = d.AddEntry(QStringLiteral("RUN"), QStringLiteral("run"), 3,
                          QStringLiteral("読み：ラン\n走る。"));
        cycles_ = d.AddEntry(QStringLiteral("CPU"), QStringLiteral("Cycles Per Update"), 2,
                             QStringLiteral("\\B例：\\b 中央処理装置とは別。"));
        ram_ = d.AddEntry(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1);
        for (int i = 0; i < 10; ++i)
            xs_ << d.AddEntry(QStringLiteral("Q") + QChar(u'A' + i),
                              QStringLiteral("Q number %1").arg(i), 3);
        // Related words name HTTP thrice, HTPC once, LAN twice and RUN once.
        for (const qint32 from : {cpu_, lan_, ram_})
            d.AddLink(from, QStringLiteral("HTTP"), http_);
        d.AddLink(cpu_, QStringLiteral("HTPC"), htpc_);
        d.AddLink(cpu_, QStringLiteral("LAN"), lan_);
        d.AddLink(http_, QStringLiteral("LAN"), lan_);
        d.AddLink(cpu_, QStringLiteral("RUN"), run_);
        d.AddLink(xs_[7], QStringLiteral("QH"), xs_[7]);
        d.Finish();
    }
    static void TearDownTestSuite() {
        delete dict_;
        dict_ = nullptr;
    }
    void SetUp() override {
        ASSERT_GT(OpenForTest(dict_->Path()), 0);
        finder_ = std::make_unique<Suggestions::Finder>(TestDb());
    }
    void TearDown() override { finder_.reset(); }

    QList<qint32> Ids(const QString& key, qint16 category = 0) {
        return IdsOf(finder_->For({key, QString(), category}));
    }
    static QList<qint32> IdsOf(const QList<Suggestion>& suggestions) {
        QList<qint32> ids;
        for (const Suggestion& s : suggestions)
            ids << s.id;
        return ids;
    }

    static inline TestDictionary* dict_ = nullptr;
    static inline qint32 cpu_, lan_, http_, https_, tcpip_, htpc_, run_, cycles_, ram_;
    static inline QList<qint32> xs_;
    std::unique_ptr<Suggestions::Finder> finder_;
};

TEST_F(SuggestionsTest, PluralsAndPossessivesLeadToTheSingular) {
    const QList<qint32> bothCpus{cpu_, cycles_}; // in the result list's order
    EXPECT_EQ(Ids(QStringLiteral("cpus")), bothCpus);
    EXPECT_EQ(Ids(QStringLiteral("CPU's")), bothCpus);
    EXPECT_EQ(Ids(QStringLiteral("CPUS")), bothCpus);
    EXPECT_EQ(Ids(QStringLiteral("ＣＰＵｓ")), bothCpus) << "full-width letters read as letters";
    EXPECT_EQ(Ids(QStringLiteral("LANs")).value(0), lan_);

    const QList<Suggestion> s = finder_->For({QStringLiteral("cpus"), QString(), 0});
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0], (Suggestion{cpu_, QStringLiteral("CPU"),
                                QStringLiteral("Central Processing Unit"), QString()}));
}

TEST_F(SuggestionsTest, JapaneseTermsAndReadingsLeadToTheirEntries) {
    for (const char* typed : {"シーピーユー", "しーぴーゆー", "ｼｰﾋﾟｰﾕｰ", "中央処理装置",
                              "ちゅうおうしょりそうち", "チュウオウショリソウチ"})
        EXPECT_EQ(Ids(QString::fromUtf8(typed)), QList<qint32>{cpu_}) << typed;
    // A bold word followed by text is no terms line: CPU (Cycles) is not offered.
    // Two entries read ラン: the one named more often by related words first.
    EXPECT_EQ(Ids(QStringLiteral("ラン")), (QList<qint32>{lan_, run_}));
    // Typed into the spelled-out field, the same.
    EXPECT_EQ(IdsOf(finder_->For({QString(), QStringLiteral("こうないつうしんもう"), 0})),
              QList<qint32>{lan_});
    EXPECT_TRUE(Ids(QStringLiteral("構内")).isEmpty()) << "a term is matched whole";
}

TEST_F(SuggestionsTest, TheFullTextIndexAddsEntriesAfterTheTerms) {
    QStringList asked;
    finder_->SetTextSearch([&](const QString& text, int limit) {
        asked << text;
        EXPECT_GT(limit, 0);
        // An index finds the word in CPU's terms and in Cycles' text, and in an unknown entry.
        return text == QStringLiteral("中央処理装置") ? QList<qint32>{cpu_, cycles_, 99999}
                                                      : QList<qint32>{};
    });
    EXPECT_EQ(Ids(QStringLiteral("中央処理装置")), (QList<qint32>{cpu_, cycles_}));
    EXPECT_TRUE(Ids(QStringLiteral("htpp")).contains(http_));
    EXPECT_EQ(asked, QStringList{QStringLiteral("中央処理装置")})
        << "only Japanese text is asked of the index";
}

TEST_F(SuggestionsTest, TheSpelledOutFormTypedAsTheKeyIsMatchedWholeIgnoringCase) {
    EXPECT_EQ(Ids(QStringLiteral("central processing unit")), QList<qint32>{cpu_});
    EXPECT_EQ(Ids(QStringLiteral("LOCAL AREA NETWORK")), QList<qint32>{lan_});
    EXPECT_TRUE(Ids(QStringLiteral("central processing")).isEmpty());
}

TEST_F(SuggestionsTest, KeysOneEditAwayAreRankedByTheLinksThatNameThem) {
    // Replaced: HTTP (three links) before HTPC (one).
    EXPECT_EQ(Ids(QStringLiteral("htpp")), (QList<qint32>{http_, htpc_}));
    // Swapped, deleted, inserted.
    EXPECT_EQ(Ids(QStringLiteral("TPC/IP")), QList<qint32>{tcpip_});
    EXPECT_EQ(Ids(QStringLiteral("httpsx")), QList<qint32>{https_});
    EXPECT_EQ(Ids(QStringLiteral("HTP")), (QList<qint32>{http_, htpc_}));
    // No more than eight, the one named by a link first.
    const QList<qint32> q = Ids(QStringLiteral("Q"));
    ASSERT_EQ(q.size(), Suggestions::kMostSuggestions);
    EXPECT_EQ(q.first(), xs_[7]);
    // Nothing one edit away.
    EXPECT_TRUE(Ids(QStringLiteral("zzzz")).isEmpty());
}

TEST_F(SuggestionsTest, OtherCategoriesComeLastMarkedWithTheirShortName) {
    // CPU exists, but not among the general entries: both senses, marked.
    QList<Suggestion> s = finder_->For({QStringLiteral("cpu"), QString(), 3});
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0].otherCategory, QStringLiteral("HW"));
    EXPECT_EQ(s[1].otherCategory, QStringLiteral("NW"));

    // Within the network category: its own CPU unmarked and first, the hardware one after it.
    s = finder_->For({QStringLiteral("cpus"), QString(), 2});
    ASSERT_EQ(IdsOf(s), (QList<qint32>{cycles_, cpu_}));
    EXPECT_TRUE(s[0].otherCategory.isEmpty());
    EXPECT_EQ(s[1].otherCategory, QStringLiteral("HW"));

    // HTPP among the hardware entries: HTPC first, though HTTP is named more often.
    EXPECT_EQ(Ids(QStringLiteral("htpp"), 1), (QList<qint32>{htpc_, http_}));

    // A category without a short name is marked with its name.
    s = finder_->For({QStringLiteral("runs"), QString(), 1});
    ASSERT_EQ(IdsOf(s), QList<qint32>{run_});
    EXPECT_EQ(s[0].otherCategory, QStringLiteral("一般"));

    // A spelled-out form found nowhere else gets nothing; one found elsewhere is offered.
    s = finder_->For({QString(), QStringLiteral("random access memory"), 2});
    ASSERT_EQ(IdsOf(s), QList<qint32>{ram_});
    EXPECT_EQ(s[0].otherCategory, QStringLiteral("HW"));
}

TEST_F(SuggestionsTest, WildcardAndEmptySearchesGetNone) {
    EXPECT_TRUE(Ids(QStringLiteral("htp*")).isEmpty());
    EXPECT_TRUE(Ids(QStringLiteral("?pus")).isEmpty());
    EXPECT_TRUE(finder_->For({QStringLiteral("cpus"), QStringLiteral("cent*"), 0}).isEmpty());
    EXPECT_TRUE(finder_->For({QString(), QString(), 2}).isEmpty());
    EXPECT_FALSE(Suggestions::Applies({QString(), QString(), 1}));
    EXPECT_TRUE(Suggestions::Applies({QStringLiteral("cpus"), QString(), 0}));
}

TEST_F(SuggestionsTest, HostileTextIsOnlyEverAValue) {
    const QByteArray before = FileDigest(dict_->Path());
    for (const QString& typed :
         {QStringLiteral("' OR 1=1 --"), QStringLiteral("'); DROP TABLE AbbrTB; --"),
          QStringLiteral("\\B\\J1 x\\j"), QStringLiteral("%_[]"), QString(4000, u'W'),
          QString(4000, u'漢'), QStringLiteral("😀s")}) {
        EXPECT_TRUE(Ids(typed).isEmpty()) << qPrintable(typed.left(20));
    }
    EXPECT_FALSE(Ids(QStringLiteral("LAN")).isEmpty()) << "the tables are all still there";
    EXPECT_EQ(FileDigest(dict_->Path()), before);
}

TEST(SuggestionTermKeyTest, FoldsWidthKanaAndCase) {
    EXPECT_EQ(Suggestions::TermKey(u"シーピーユー"), QStringLiteral("しーぴーゆー"));
    EXPECT_EQ(Suggestions::TermKey(u"ｼｰﾋﾟｰﾕｰ"), QStringLiteral("しーぴーゆー"));
    EXPECT_EQ(Suggestions::TermKey(u"ＣＰＵ"), QStringLiteral("cpu"));
    EXPECT_EQ(Suggestions::TermKey(u"中央"), QStringLiteral("中央"));
}

} // namespace
