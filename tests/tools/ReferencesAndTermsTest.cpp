#include "BuiltDictionaryTest.h"
#include "DictdFiles.h"
#include "QStringPrinter.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Abbreviations with several senses, the articles the encyclopaedia links them to, and the
// articles its references name that no acronym has: merged as the tool merges them.
class ReferencesAndTermsTest : public BuiltDictionaryTest<ReferencesAndTermsTest> {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        DictdWriter vera = DictdWriter::Vera();
        vera.AddVera(QStringLiteral("ATM"), QStringLiteral("Asynchronous Transfer Mode (ATM)"));
        vera.AddVera(QStringLiteral("ATM"), QStringLiteral("At The Moment (slang, Usenet, IRC)"));
        vera.AddVera(QStringLiteral("ATM"), QStringLiteral("Automatic Teller Machine"));
        vera.AddVera(QStringLiteral("ABR"), QStringLiteral("Available Bit Rate (ATM, CBR, VBR)"));
        vera.AddVera(QStringLiteral("CBR"), QStringLiteral("Constant Bit Rate (ATM, VBR, ABR)"));
        vera.AddVera(QStringLiteral("SSL"), QStringLiteral("Secure Socket Layer (cryptography)"));
        vera.AddVera(QStringLiteral("HTTPS"),
                     QStringLiteral("HyperText Transfer Protocol [SSL] Secured (HTTP, SSL)"));
        vera.AddVera(QStringLiteral("WWW"), QStringLiteral("World Wide Web"));
        vera.AddVera(QStringLiteral("WWW"), QStringLiteral("World Wide Waiting (slang)"));
        vera.AddVera(QStringLiteral("MB"), QStringLiteral("MegaByte"));
        // An expansion that the list does not know, with a remark that names an article.
        vera.AddVera(QStringLiteral("PROS"), QStringLiteral("??? [protocol]"));
        AddArticles(DictdWriter::Foldoc(), vera);
    }

    static void AddArticles(DictdWriter foldoc, const DictdWriter& vera) {
        foldoc.AddFoldoc({QStringLiteral("Asynchronous Transfer Mode"), QStringLiteral("ATMP")},
                         {QStringLiteral("<networking> (ATM) A network {protocol} that sends"),
                          QStringLiteral("fixed {cells} at a constant or available bit rate."),
                          QString(), QStringLiteral("{ATM acronyms"),
                          QStringLiteral("(http://atmforum.com/acronym.html)}.")});
        foldoc.AddFoldoc({QStringLiteral("ATM")},
                         {QStringLiteral("1. <communications> {Asynchronous Transfer Mode}."),
                          QString(), QStringLiteral("2. Automatic Teller Machine."), QString(),
                          QStringLiteral("3. <chat> At the moment.")});
        foldoc.AddFoldoc({QStringLiteral("case based reasoning"), QStringLiteral("CBR")},
                         {QStringLiteral("<artificial intelligence> (CBR) Problem solving from "
                                         "earlier cases.")});
        foldoc.AddFoldoc({QStringLiteral("Syntax/Semantic Language"), QStringLiteral("S/SL")},
                         {QStringLiteral("<language> (S/SL) A language for parsers.")});
        foldoc.AddFoldoc({QStringLiteral("Secure Sockets Layer")},
                         {QStringLiteral("<protocol> (SSL) A {protocol} for secure traffic.")});
        foldoc.AddFoldoc({QStringLiteral("protocol")},
                         {QStringLiteral("<networking> Rules for talking over a {network}; the "),
                          QStringLiteral("{World-Wide Web} has its own.")});
        foldoc.AddFoldoc({QStringLiteral("network")},
                         {QStringLiteral("<networking> Computers joined, as on the {WWW}."),
                          QString(), QStringLiteral("See also {protocol}, {MB}.")});
        foldoc.AddFoldoc({QStringLiteral("cell")},
                         {QStringLiteral("<networking> A {packet} of fixed size.")});
        foldoc.Add({QStringLiteral("World-Wide Web")},
                   QStringLiteral("World-Wide Web\n\n   <web> (WWW) A {hypertext} system.  This "
                                  "dictionary is at\n{(http://foldoc.org/)}.\n\n"));
        foldoc.AddFoldoc({QStringLiteral("WWW")}, {QStringLiteral("{World-Wide Web}")});
        foldoc.AddFoldoc({QStringLiteral("MB")}, {QStringLiteral("<unit> {megabytes}.")});
        foldoc.AddFoldoc({QStringLiteral("megabyte")},
                         {QStringLiteral("<unit> (MB) A million {bytes}.")});

        MergeAndWrite(vera.Write(dir_->path(), QStringLiteral("vera")),
                      foldoc.Write(dir_->path(), QStringLiteral("foldoc")));
    }

    static QString Link(qint32 target, const char* text) {
        return QStringLiteral("\\J%1 %2\\j").arg(target).arg(QLatin1String(text));
    }
};

TEST_F(ReferencesAndTermsTest, EachReferenceLeadsToTheSenseItsTextMeans) {
    const qint32 transfer = Id("ATM", "Asynchronous Transfer Mode");
    const qint32 constant = Id("CBR", "Constant Bit Rate");
    const qint32 abr = Id("ABR", "Available Bit Rate");
    ASSERT_GT(transfer * constant * abr, 0);
    EXPECT_NE(Id("CBR", "case based reasoning"), 0);
    // The acronym list's own words, each leading to the sense its neighbours share.
    EXPECT_EQ(Column(abr, "HyperText"), QStringLiteral("Available Bit Rate (%1, %2, VBR)")
                                            .arg(Link(transfer, "ATM"), Link(constant, "CBR")));
    EXPECT_EQ(Related(abr), (QStringList{QStringLiteral("ATM=%1").arg(transfer),
                                         QStringLiteral("CBR=%1").arg(constant)}));
    // SSL is SSL, never S/SL; the article "Secure Sockets Layer" describes it.
    const qint32 ssl = Id("SSL", "Secure Socket Layer");
    const qint32 https = Id("HTTPS", "HyperText Transfer Protocol [SSL] Secured");
    EXPECT_TRUE(Column(https, "HyperText").contains(Link(ssl, "SSL")))
        << qPrintable(Column(https, "HyperText"));
    EXPECT_TRUE(Column(ssl, "HyperText").startsWith(QLatin1String("<protocol> (SSL)")));
    // "{WWW}" names an article that only refers to "World-Wide Web": that entry.
    const qint32 network = Id("network", "");
    EXPECT_TRUE(Column(network, "HyperText").contains(Link(Id("WWW", "World Wide Web"), "WWW")))
        << qPrintable(Column(network, "HyperText"));

    const ImportStats& s = import_->Stats();
    EXPECT_GT(s.resolvedExactly, 0);
    EXPECT_GE(s.resolvedByEvidence, 2);
    EXPECT_EQ(import_->UncertainLinks().size(), s.resolvedUncertain);
}

TEST_F(ReferencesAndTermsTest, ArticlesTheEntriesReferToBecomeTerms) {
    const qint32 protocol = Id("protocol", "");
    const qint32 network = Id("network", "");
    const qint32 cell = Id("cell", "");
    ASSERT_GT(protocol * network * cell, 0) << "referred to directly or through another term";
    EXPECT_EQ(TestDb().CategoryShortNames().value(Column(protocol, "CategoryID").toInt()),
              QStringLiteral("TERM"));
    EXPECT_TRUE(categoryList_.Texts().contains(QStringLiteral("用語")));
    EXPECT_EQ(Column(protocol, "URL"), QStringLiteral("https://foldoc.org/protocol"));
    EXPECT_EQ(Column(Id("PROS", "??? [protocol]"), "HyperText"), QString());
    EXPECT_TRUE(Column(Id("ATM", "Asynchronous Transfer Mode"), "HyperText")
                    .contains(Link(protocol, "protocol") + QLatin1String(" that sends fixed ") +
                              Link(cell, "cells")));
    // Related words are written as the article writes them.
    EXPECT_EQ(Related(network), (QStringList{QStringLiteral("MB=%1").arg(Id("MB", "MegaByte")),
                                             QStringLiteral("protocol=%1").arg(protocol)}));
    // No term for a list of an abbreviation's senses, an article titled with an abbreviation
    // that has entries, or an article that only refers to another.
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("ATM"), QString(), 0, list), 3);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("MB"), QString(), 0, list), 1);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("WWW"), QString(), 0, list), 2);
    EXPECT_EQ(import_->Stats().termEntries, 3) << "hypertext, packet and bytes are no articles";
}

TEST_F(ReferencesAndTermsTest, WebLinksKeepTheirAddressesAndNoBraceRemains) {
    const QString atm = Column(Id("ATM", "Asynchronous Transfer Mode"), "HyperText");
    EXPECT_TRUE(atm.endsWith(QLatin1String("\\FATM acronyms (http://atmforum.com/acronym.html).")))
        << qPrintable(atm);
    const QString www = Column(Id("WWW", "World Wide Web"), "Description");
    EXPECT_TRUE(www.endsWith(QLatin1String("This dictionary is at http://foldoc.org/.")))
        << qPrintable(www);
    auto rs =
        Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB ORDER BY AbbrID"));
    for (; rs && !rs->Eof(); rs->MoveNext()) {
        const QString text = rs->Text("HyperText");
        EXPECT_FALSE(text.contains(QLatin1Char('{')) || text.contains(QLatin1Char('}')))
            << qPrintable(text);
        EXPECT_FALSE(text.contains(QLatin1String("\n "))) << qPrintable(text);
    }
}

} // namespace
