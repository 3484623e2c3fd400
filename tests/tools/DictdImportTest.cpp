#include "tools/DictdImport.h"
#include "BuiltDictionaryTest.h"
#include "DictdFiles.h"
#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "data/Strings.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A small acronym list and encyclopaedia with one of each case the merge handles, written as
// dictzip files, merged, written and opened as the program opens a dictionary.
class DictdImportTest : public BuiltDictionaryTest<DictdImportTest> {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        DictdWriter vera = DictdWriter::Vera();
        vera.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
        vera.AddVera(QStringLiteral("ALU"), QStringLiteral("Arithmetic and Logic Unit (CPU)"));
        vera.AddVera(QStringLiteral("ALU"), QStringLiteral("Association of Lisp Users (org.)"));
        vera.AddVera(QStringLiteral("IP"), QStringLiteral("Intellectual Property"));
        vera.AddVera(QStringLiteral("IP"), QStringLiteral("Internet Protocol (RFC 791)"));
        vera.AddVera(QStringLiteral("IP"), QStringLiteral("Internet Protocol (RFC 791, TCP)"));
        vera.AddVera(QStringLiteral("TCP"),
                     QStringLiteral("Transmission Control Protocol (IP, Quillon)"));
        vera.AddVera(QStringLiteral("RAM"), QStringLiteral("Random Access Memory (RAM, IC)"));
        vera.AddVera(QStringLiteral("XYZ"), QString());
        vera.AddVera(QStringLiteral("WLAN"),
                     QStringLiteral("Wireless Local Area Network (mobile-systems)"));
        vera.AddVera(QStringLiteral("ZZTOP"), QStringLiteral("Zebra Zone Top"));
        vera.AddVera(QStringLiteral("PCIE"),
                     QStringLiteral("Peripheral Component Interconnect Express, \"PCIe\""));
        vera.AddVera(QStringLiteral("NVME"), QStringLiteral("Non-Volatile Memory Express (PCIe)"));
        vera.AddVera(QStringLiteral("BSL"), QStringLiteral("Back\\Slash Line (CPU)"));

        DictdWriter foldoc = DictdWriter::Foldoc();
        foldoc.AddFoldoc({QStringLiteral("central processing unit"), QStringLiteral("CPU"),
                          QStringLiteral("processor")},
                         {QStringLiteral("<architecture, processor> (CPU) The part of a computer"),
                          QStringLiteral("with the {arithmetic and logic unit} (ALU), {registers}"),
                          QStringLiteral("and the {RAM}.  Several {CPUs} may share it."), QString(),
                          QStringLiteral("See also {Internet Protocol}.")});
        foldoc.AddFoldoc({QStringLiteral("arithmetic and logic unit")},
                         {QStringLiteral("<processor> The part of the {central processing unit}"),
                          QStringLiteral("which does arithmetic in most {CPUs}.")});
        foldoc.AddFoldoc({QStringLiteral("ALU")},
                         {QStringLiteral("1. <processor> {Arithmetic and Logic Unit}."), QString(),
                          QStringLiteral("2. <body> {Association of Lisp Users}.")});
        foldoc.AddFoldoc({QStringLiteral("Internet Protocol"), QStringLiteral("IP")},
                         {QStringLiteral("<networking> (IP) The {network layer} for {TCP/IP}.")});
        foldoc.AddFoldoc(
            {QStringLiteral("Transmission Control Protocol"), QStringLiteral("TCP")},
            {QStringLiteral("<networking, protocol> (TCP) Runs over {IP}; a \\ stays.")});
        foldoc.AddFoldoc({QStringLiteral("TCP"), QStringLiteral("Transmission Control Protocol")},
                         {QStringLiteral("<networking> A second article on the same protocol.")});
        foldoc.AddFoldoc({QStringLiteral("intellectual property")},
                         {QStringLiteral("<legal> (IP) The ownership of ideas.")});
        foldoc.AddFoldoc({QStringLiteral("Domain Name System"), QStringLiteral("DNS")},
                         {QStringLiteral("<networking> The {Internet Protocol} name service.")});
        foldoc.AddFoldoc({QStringLiteral("gnome sort")},
                         {
                             QStringLiteral("<algorithm> A sort."),
                         },
                         {QStringLiteral("stupid sort")});
        QStringList longBody{QStringLiteral("<storage> (RAM) A memory.")};
        for (int p = 0; p < 60; ++p)
            longBody << QString()
                     << QStringLiteral("Paragraph %1 about memory that goes on and on "
                                       "for a good while, see {CPU}.")
                            .arg(p);
        foldoc.AddFoldoc({QStringLiteral("random access memory"), QStringLiteral("RAM")}, longBody);

        MergeAndWrite(vera.Write(dir_->path(), QStringLiteral("vera")),
                      foldoc.Write(dir_->path(), QStringLiteral("foldoc"),
                                   DictdWriter::Format::DictZip, 100));
    }

    QString ShortNameOf(qint32 id) {
        const int category = Column(id, "CategoryID").toInt();
        return TestDb().CategoryShortNames().value(category, QStringLiteral("<none>"));
    }
    qint64 Count(const char* sql) {
        auto rs = Recordset::Open(TestDb().Db(), QString::fromUtf8(sql));
        return rs && !rs->Eof() ? rs->Integer("n") : -1;
    }
};

TEST_F(DictdImportTest, OneEntryPerAbbreviationAndExpansion) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("ip"), QString(), 0, list), 2);
    EXPECT_EQ(list.Texts(), (QStringList{QStringLiteral("IP\tIntellectual Property"),
                                         QStringLiteral("IP\tInternet Protocol")}));
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("alu"), QString(), 0, list), 2);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("pci-e"), QString(), 0, list), 1);
    EXPECT_EQ(list.Texts(),
              QStringList{QStringLiteral("PCIe\tPeripheral Component Interconnect Express")});
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("Central Processing Unit"), 0, list),
              1);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("xyz"), QString(), 0, list), 0);

    const ImportStats& s = import_->Stats();
    EXPECT_EQ(s.veraEntries, 12);
    EXPECT_EQ(s.foldocEntries, 1);
    EXPECT_EQ(s.veraRepeated, 1);
    EXPECT_EQ(s.veraNoExpansion, 1);
    EXPECT_EQ(s.foldocUnrelated, 1);
    EXPECT_EQ(s.foldocSecond, 1);
    EXPECT_EQ(Count("SELECT count(*) AS n FROM AbbrTB"), 13);
    EXPECT_EQ(Count("SELECT count(*) AS n FROM AbbrTB WHERE AbbrKey NOT GLOB '[A-Z0-9]*' OR "
                    "AbbrKey GLOB '*[^A-Z0-9]*'"),
              0);
}

TEST_F(DictdImportTest, ArticlesDescribeTheirEntries) {
    const qint32 cpu = Id("CPU", "Central Processing Unit");
    const qint32 alu = Id("ALU", "Arithmetic and Logic Unit");
    const qint32 ram = Id("RAM", "Random Access Memory");
    QString abbr;
    QString url;
    const QString shown = ShownEntryText(cpu, abbr, url);
    EXPECT_EQ(abbr, QStringLiteral("CPU"));
    EXPECT_EQ(url, QStringLiteral("https://foldoc.org/central%20processing%20unit"));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("\\HCentral Processing Unit [HW]\\h<architecture, "
                                                "processor> (CPU) The part of a computer with the "
                                                "\\J%1 arithmetic and logic unit\\j (ALU), "
                                                "registers and the \\J%2 RAM\\j.")
                                     .arg(alu)
                                     .arg(ram)))
        << qPrintable(shown);
    // A plural names the entry of its singular; a reference to the entry itself stays text.
    const QString aluText = Column(alu, "HyperText");
    EXPECT_TRUE(aluText.contains(QStringLiteral("\\J%1 central processing unit\\j").arg(cpu)));
    EXPECT_TRUE(aluText.contains(QStringLiteral("most \\J%1 CPUs\\j.").arg(cpu)))
        << qPrintable(aluText);
    EXPECT_TRUE(shown.contains(QLatin1String("Several CPUs may")));
    const QString copy = TestDb().GetEntryCopyText(cpu);
    EXPECT_TRUE(copy.startsWith(QStringLiteral("CPU\r\nCentral Processing Unit\r\n<architecture, "
                                               "processor> (CPU) The part")))
        << qPrintable(copy);
    EXPECT_FALSE(copy.contains(QLatin1String("\\J")));

    // Backslashes are doubled in the markup and single in the plain text.
    const qint32 tcp = Id("TCP", "Transmission Control Protocol");
    EXPECT_TRUE(Column(tcp, "HyperText").contains(QLatin1String("a \\\\ stays.")));
    EXPECT_TRUE(Column(tcp, "Description").contains(QLatin1String("a \\ stays.")));
    EXPECT_TRUE(Column(tcp, "HyperText").contains(QLatin1String("Runs over \\J")));

    // Too long for the program: cut to what it shows, ending in an ellipsis.
    const QString long_ = Column(ram, "HyperText");
    EXPECT_EQ(Strings::CutToCodePageBytes(long_, DbAccess::kDescriptionBytes), long_);
    EXPECT_TRUE(long_.endsWith(QLatin1String("...")));
    EXPECT_EQ(import_->Stats().articlesCut, 1);
}

TEST_F(DictdImportTest, TheAbbreviationsArticleServesASenseItNames) {
    const qint32 lisp = Id("ALU", "Association of Lisp Users");
    EXPECT_TRUE(Column(lisp, "HyperText").startsWith(QLatin1String("1. <processor>")));
    // That article lists several senses, so its first subject does not decide the category.
    EXPECT_EQ(ShortNameOf(lisp), QStringLiteral("ORG"));
}

TEST_F(DictdImportTest, EntriesWithoutAnArticleShowTheListsLine) {
    const qint32 cpu = Id("CPU", "Central Processing Unit");
    const qint32 bsl = Id("BSL", "Back\\Slash Line");
    EXPECT_EQ(Column(bsl, "HyperText"),
              QStringLiteral("Back\\\\Slash Line (\\J%1 CPU\\j)").arg(cpu));
    EXPECT_EQ(Column(bsl, "Description"), QStringLiteral("Back\\Slash Line (CPU)"));
    const qint32 zz = Id("ZZTOP", "Zebra Zone Top");
    EXPECT_EQ(Column(zz, "HyperText"), QString());
    EXPECT_TRUE(Column(zz, "URL").isEmpty());
}

TEST_F(DictdImportTest, CategoriesFromSubjectsTagsOrTheGeneralOne) {
    EXPECT_EQ(ShortNameOf(Id("CPU", "Central Processing Unit")), QStringLiteral("HW"));
    EXPECT_EQ(ShortNameOf(Id("TCP", "Transmission Control Protocol")), QStringLiteral("NW"));
    EXPECT_EQ(ShortNameOf(Id("WLAN", "Wireless Local Area Network")), QStringLiteral("COMM"));
    EXPECT_EQ(ShortNameOf(Id("ZZTOP", "Zebra Zone Top")), QString());
    EXPECT_EQ(ShortNameOf(Id("BSL", "Back\\Slash Line")), QStringLiteral("HW"));
    // Only the categories in use are listed, each once, with its name.
    QStringList names = categoryList_.Texts();
    EXPECT_EQ(names.size(), categories_);
    EXPECT_TRUE(names.contains(QStringLiteral("一般")));
    EXPECT_TRUE(names.contains(QStringLiteral("ハードウェア")));
    EXPECT_FALSE(names.contains(QStringLiteral("単位")));
    EXPECT_EQ(Count("SELECT count(*) AS n FROM AbbrTB WHERE CategoryID NOT IN "
                    "(SELECT CategoryID FROM CategoryTB)"),
              0);
}

TEST_F(DictdImportTest, RelatedWordsLeadToEntries) {
    const qint32 cpu = Id("CPU", "Central Processing Unit");
    const qint32 ip = Id("IP", "Internet Protocol");
    const qint32 tcp = Id("TCP", "Transmission Control Protocol");
    // The acronym IP leads to the sense the encyclopaedia files under "IP", although an earlier
    // sense has an article too.
    EXPECT_FALSE(Column(Id("IP", "Intellectual Property"), "URL").isEmpty());
    EXPECT_EQ(Related(tcp), QStringList{QStringLiteral("IP=%1").arg(ip)});
    // Tags merged from a repeated record count too.
    EXPECT_EQ(Related(ip), QStringList{QStringLiteral("TCP=%1").arg(tcp)});
    EXPECT_EQ(Related(Id("ALU", "Arithmetic and Logic Unit")),
              QStringList{QStringLiteral("CPU=%1").arg(cpu)});
    // "See also" names the article's neighbours, as the article writes them.
    EXPECT_EQ(Related(cpu), QStringList{QStringLiteral("Internet Protocol=%1").arg(ip)});
    // A tag in mixed case names the entry spelt that way; an entry never lists itself.
    EXPECT_EQ(Related(Id("NVME", "Non-Volatile Memory Express")),
              QStringList{QStringLiteral("PCIe=%1").arg(Id("PCIe", "Peripheral Component "
                                                                   "Interconnect Express"))});
    EXPECT_TRUE(Related(Id("RAM", "Random Access Memory")).isEmpty());
    EXPECT_EQ(Count("SELECT count(*) AS n FROM LinkTB WHERE RefID NOT IN (SELECT AbbrID FROM "
                    "AbbrTB)"),
              0);
}

TEST_F(DictdImportTest, AbbreviationsOnlyTheEncyclopaediaKnows) {
    const qint32 dns = Id("DNS", "Domain Name System");
    EXPECT_EQ(ShortNameOf(dns), QStringLiteral("NW"));
    EXPECT_EQ(Column(dns, "HyperText"),
              QStringLiteral("<networking> The \\J%1 Internet Protocol\\j name service.")
                  .arg(Id("IP", "Internet Protocol")));
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("gnome sort"), 0, list), 0);
}

} // namespace
