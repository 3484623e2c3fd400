#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/EdictFile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Debian's dict-vera, dict-foldoc and edict, where they are installed (scripts/run-large installs
// them).
const QString kVera = QStringLiteral("/usr/share/dictd/vera.index");
const QString kFoldoc = QStringLiteral("/usr/share/dictd/foldoc.index");
const QString kEdict = QStringLiteral("/usr/share/edict/edict");
const QString kCompdic = QStringLiteral("/usr/share/edict/compdic");

// Writes what the import merged and opens it as the program opens a dictionary: without a
// message, with the categories a large dictionary has.
void WriteAndOpen(DictdImport& import, const QString& path) {
    QString error;
    ASSERT_TRUE(WriteDictionary(import.Build(), path, &error, [](qint64, qint64) {}))
        << qPrintable(error);
    MessageRecorder recorder;
    RecordingList categories;
    ASSERT_GE(OpenForTest(path, &categories), 10);
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// Reads the two dictd packages into the import, as tessarine-dictd does first.
void ReadVeraAndFoldoc(DictdImport& import) {
    QString error;
    auto vera = DictdDatabase::Open(kVera, &error);
    ASSERT_TRUE(vera) << qPrintable(error);
    auto foldoc = DictdDatabase::Open(kFoldoc, &error);
    ASSERT_TRUE(foldoc) << qPrintable(error);
    EXPECT_EQ(vera->DatabaseKind(), DictdDatabase::Kind::Vera);
    EXPECT_EQ(foldoc->DatabaseKind(), DictdDatabase::Kind::Foldoc);
    const auto quiet = [](qint64, qint64) {};
    ASSERT_TRUE(import.ReadVera(*vera, quiet, &error)) << qPrintable(error);
    ASSERT_TRUE(import.ReadFoldoc(*foldoc, quiet, &error)) << qPrintable(error);
}

TEST(RealPackagesTest, BuildsALargeDictionaryThatFindsCpu) {
    if (!QFile::exists(kVera) || !QFile::exists(kFoldoc))
        GTEST_SKIP() << "dict-vera and dict-foldoc are not installed";
    DictdImport import;
    ASSERT_NO_FATAL_FAILURE(ReadVeraAndFoldoc(import));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_NO_FATAL_FAILURE(WriteAndOpen(import, path));
    auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT count(*) AS n FROM AbbrTB"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_GE(rs->Integer("n"), 10000);
    EXPECT_GT(import.Stats().withArticle, 1000);
    EXPECT_GT(import.Stats().relatedWords, 1000);

    RecordingList results;
    ASSERT_GE(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, results), 1);
    qint32 cpu = 0;
    for (const auto& item : results.items) {
        if (item.text == QStringLiteral("CPU\tCentral Processing Unit"))
            cpu = item.data;
    }
    ASSERT_GT(cpu, 0) << qPrintable(results.Texts().join(QLatin1Char('|')));
    QString abbr;
    QString url;
    const QString shown = ShownEntryText(cpu, abbr, url);
    EXPECT_TRUE(shown.startsWith(QLatin1String("\\HCentral Processing Unit [HW]\\h")))
        << qPrintable(shown.left(200));
    EXPECT_TRUE(shown.contains(QLatin1String("\\J"))) << "the article's references are links";
    TestDb().Close();
}

// The entries and related words of the dictionary that is open, read once for the checks below.
struct BuiltEntries {
    struct Entry {
        QString abbr;
        QString letter;
        QString hyperText;
        QString description;
    };
    QHash<qint32, Entry> entries;
    QHash<QString, qint32> byName; // abbreviation, tab, expansion
    QHash<qint32, QList<QPair<QString, qint32>>> related;

    static BuiltEntries Read() {
        BuiltEntries built;
        for (auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB"));
             rs && !rs->Eof(); rs->MoveNext()) {
            const qint32 id = qint32(rs->Integer("AbbrID"));
            built.entries.insert(id, {rs->Text("Abbr"), rs->Text("Letter"), rs->Text("HyperText"),
                                      rs->Text("Description")});
            built.byName.insert(rs->Text("Abbr") + u'\t' + rs->Text("Letter"), id);
        }
        for (auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM LinkTB"));
             rs && !rs->Eof(); rs->MoveNext())
            built.related[qint32(rs->Integer("AbbrID"))].append(
                {rs->Text("Word"), qint32(rs->Integer("RefID"))});
        return built;
    }
    qint32 Named(const QString& abbr, const QString& letter) const {
        return byName.value(abbr + u'\t' + letter);
    }
    // "ABBR | Letter" of each entry the reference as written leads to from entry `from`: its
    // links in the description and the related words written that way.
    QStringList Targets(qint32 from, const QString& reference) const {
        static const QRegularExpression link(QStringLiteral(R"(\\J(\d+) ((?:[^\\]|\\\\)*?)\\j)"));
        QStringList targets;
        auto add = [&](qint32 id) {
            const Entry e = entries.value(id);
            targets << e.abbr + QStringLiteral(" | ") + e.letter;
        };
        for (const QRegularExpressionMatch& m : link.globalMatch(entries.value(from).hyperText)) {
            if (m.captured(2).replace(QLatin1String("\\\\"), QLatin1String("\\")) == reference)
                add(m.captured(1).toInt());
        }
        for (const auto& [word, id] : related.value(from)) {
            if (word == reference)
                add(id);
        }
        return targets;
    }
};

struct LabelledShare {
    int resolved = 0;
    int all = 0;
    QStringList misses;
};

// How many of the labelled references lead to the sense a reader takes them to mean.
LabelledShare MeasureLabels(const BuiltEntries& built) {
    LabelledShare share;
    QFile file(QStringLiteral(TESSARINE_TOOLS_TESTDATA "/reference-labels.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        QSet<QString> intended;
        for (qsizetype i = 3; i + 1 < f.size(); i += 2)
            intended.insert(f.at(i) + QStringLiteral(" | ") + f.at(i + 1));
        const qint32 from = f.size() >= 5 ? built.Named(f.at(0), f.at(1)) : 0;
        const QStringList targets = from > 0 ? built.Targets(from, f.at(2)) : QStringList();
        const bool right = !targets.isEmpty() &&
                           std::all_of(targets.cbegin(), targets.cend(),
                                       [&](const QString& t) { return intended.contains(t); });
        ++share.all;
        share.resolved += right ? 1 : 0;
        if (!right)
            share.misses << f.value(0) + QStringLiteral(": ") + f.value(2) +
                                QStringLiteral(" -> ") + targets.join(QStringLiteral(", "));
    }
    return share;
}

// What a reader must not see in a description: the encyclopaedia's braces around a reference,
// an address in parentheses without its words, a line wrapped inside a sentence, an indent.
QStringList LayoutFaults(const BuiltEntries& built) {
    static const QRegularExpression brace(
        QStringLiteral(R"((?<![\w\\])\{[A-Za-z(][^{}:|=;<>\r\n]*(\}|\r?$))"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression bareAddress(
        QStringLiteral(R"((^|\n|\()[ \t]*\((https?|ftp)://)"));
    static const QRegularExpression indent(QStringLiteral(R"((^|\n)[ \t]+\S)"));
    static const QRegularExpression proseEnd(QStringLiteral(R"([A-Za-z,]$)"));
    static const QRegularExpression startsLower(QStringLiteral("^[a-z]"));
    QStringList faults;
    for (auto it = built.entries.cbegin(); it != built.entries.cend(); ++it) {
        const QString& text = it->description;
        const QString name = it->abbr + QStringLiteral(": ");
        if (const auto m = brace.match(text); m.hasMatch())
            faults << name + m.captured(0);
        if (bareAddress.match(text).hasMatch())
            faults << name + QStringLiteral("an address alone in parentheses");
        if (indent.match(text).hasMatch())
            faults << name + QStringLiteral("an indented line");
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QString& line = lines.at(i);
            const qsizetype words = std::count_if(
                line.cbegin(), line.cend(), [](QChar c) { return c.isLetter() || c == u' '; });
            if (line.size() >= 45 && words * 10 >= line.size() * 9 &&
                proseEnd.match(line).hasMatch() && lines.at(i + 1).indexOf(startsLower) == 0)
                faults << name + QStringLiteral("wrapped after \"") + line.right(30) + u'"';
        }
    }
    return faults;
}

// The faults a reader found in the first build, each as its referring entry and reference.
void ExpectTheReportedReferencesRight(const BuiltEntries& built) {
    const struct {
        const char* from[2];
        const char* reference;
        const char* to;
    } cases[] = {
        {{"HTTPS", "HyperText Transfer Protocol [SSL] Secured"},
         "SSL",
         "SSL | Secure Socket Layer"},
        {{"A/D", "Analog-to-Digital"}, "D/A", "D/A | Digital-to-Analog"},
        {{"ABR", "Available Bit Rate"}, "ATM", "ATM | Asynchronous Transfer Mode"},
        {{"ABR", "Available Bit Rate"}, "CBR", "CBR | Constant Bit Rate"},
        {{"AAL", "ATM Adaption Layer"}, "ATM", "ATM | Asynchronous Transfer Mode"},
        {{"ACSE", "Association Control Service Element"},
         "OSI",
         "OSI | Open Systems Interconnection"},
        {{"BUP", "Buffer Underrun Protection"}, "CD", "CD | Compact Disc"},
    };
    for (const auto& c : cases) {
        const qint32 from = built.Named(QString::fromUtf8(c.from[0]), QString::fromUtf8(c.from[1]));
        const QStringList targets = built.Targets(from, QString::fromUtf8(c.reference));
        EXPECT_FALSE(targets.isEmpty()) << c.from[0] << " " << c.reference;
        for (const QString& target : targets)
            EXPECT_EQ(target, QString::fromUtf8(c.to)) << c.from[0];
    }
    const QString cpu =
        built.entries
            .value(built.Named(QStringLiteral("CPU"), QStringLiteral("Central Processing "
                                                                     "Unit")))
            .description;
    EXPECT_TRUE(cpu.contains(QStringLiteral(
        "List of processors (http://lldn.timesys.com/complete_list_of_processors).")));
}

// All four packages: the Japanese terms, every reference to the sense it means, and every
// article laid out for reading.
TEST(RealPackagesTest, TheFourPackagesMakeADictionaryThatReadsRight) {
    for (const QString& path : {kVera, kFoldoc, kEdict, kCompdic}) {
        if (!QFile::exists(path))
            GTEST_SKIP() << "dict-vera, dict-foldoc and edict are not all installed";
    }
    ASSERT_TRUE(EdictFile::IsEdictForm(kEdict));
    ASSERT_TRUE(EdictFile::IsEdictForm(kCompdic));
    QString error;
    auto edict = EdictFile::Open(kEdict, &error);
    auto compdic = EdictFile::Open(kCompdic, &error);
    ASSERT_TRUE(edict && compdic) << qPrintable(error);
    EXPECT_EQ(edict->FileKind(), EdictFile::Kind::Edict);
    EXPECT_EQ(compdic->FileKind(), EdictFile::Kind::Compdic);

    DictdImport import;
    ASSERT_NO_FATAL_FAILURE(ReadVeraAndFoldoc(import));
    const auto quiet = [](qint64, qint64) {};
    import.ReadWordList(*compdic, quiet);
    import.ReadWordList(*edict, quiet);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_NO_FATAL_FAILURE(WriteAndOpen(import, path));
    const ImportStats& s = import.Stats();
    EXPECT_GT(s.wordListEntries, 250000);
    EXPECT_GE(s.japaneseEntries, 600);
    EXPECT_GT(s.headwordEntries, 0);
    // The packaged lists are sound: hardly a line is left out.
    for (const auto& [list, skipped] : s.wordListSkips)
        EXPECT_LT(skipped.notAnEntry + skipped.notEucJp + skipped.tooLong, 10) << qPrintable(list);
    auto rs =
        Recordset::Open(TestDb().Db(), QStringLiteral("SELECT count(*) AS n FROM AbbrTB WHERE "
                                                      "substr(HyperText, 1, 2) = '\\B'"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_GE(rs->Integer("n"), 600);

    RecordingList results;
    ASSERT_GE(TestDb().SearchEntries(QStringLiteral("cpu"),
                                     QStringLiteral("central processing unit"), 0, results),
              1);
    QString abbr;
    QString url;
    const QString shown = ShownEntryText(results.items.first().data, abbr, url);
    EXPECT_TRUE(shown.startsWith(QStringLiteral(
        "\\HCentral Processing Unit [HW]\\h\\B中央処理装置\\b（ちゅうおうしょりそうち）")))
        << qPrintable(shown.left(200));

    const BuiltEntries built = BuiltEntries::Read();
    const LabelledShare share = MeasureLabels(built);
    std::printf("%d of %d labelled references (%.1f %%) lead to the sense they mean\n",
                share.resolved, share.all, 100.0 * share.resolved / qMax(1, share.all));
    EXPECT_GE(share.resolved * 100, share.all * 95) << qPrintable(share.misses.join(u'\n'));
    const QStringList faults = LayoutFaults(built);
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults, the first:\n"
                                  << qPrintable(faults.mid(0, 20).join(u'\n'));
    ExpectTheReportedReferencesRight(built);
    EXPECT_GT(s.termEntries, 1000);
    EXPECT_GT(s.resolvedByEvidence, 1000);
    TestDb().Close();
}

} // namespace
