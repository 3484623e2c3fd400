// The manual pages and the desktop's metadata as a user meets them: every option a program takes
// is in both of its manual pages and no other, and their Japanese follows the style sheet.
#include "HelpSources.h"

#include <QDirIterator>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const char* const kPrograms[] = {"tessarine", "tessarine-dictd", "tessarine-lookup",
                                 "tessarine-export"};

QString ManPage(const char* program, bool japanese) {
    return ReadTextFile(SourcePath(QStringLiteral("man/%1%2.1")
                                       .arg(japanese ? QStringLiteral("ja/") : QString())
                                       .arg(QLatin1String(program))));
}

QString HelpOutput(const char* program) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSARINE_BIN_DIR "/") + QLatin1String(program),
                  {QStringLiteral("--help")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every option named in a text: "-d", "--dictionary", never a word with a hyphen inside it
// (tessarine-lookup, Wi-Fi) or "--" alone.
QSet<QString> OptionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[A-Za-z][A-Za-z0-9-]*)"));
    QSet<QString> options;
    for (const QRegularExpressionMatch& match : option.globalMatch(text))
        options.insert(match.captured(1));
    return options;
}

// A man page's text with roff's escapes for hyphens and fonts taken out.
QString Plain(QString roff) {
    static const QRegularExpression font(QStringLiteral("\\\\f[BIRP]"));
    roff.remove(font);
    return roff.replace(QStringLiteral("\\-"), QStringLiteral("-"))
        .replace(QStringLiteral("\\(aq"), QStringLiteral("'"));
}

// The lines of the section `.SH name` (any of the names), up to the next section.
QStringList Section(const QString& roff, const QStringList& names) {
    QStringList lines;
    bool inside = false;
    for (const QString& line : roff.split(u'\n')) {
        if (line.startsWith(QStringLiteral(".SH "))) {
            inside = names.contains(line.mid(4).trimmed().remove(u'"'));
            continue;
        }
        if (inside)
            lines << line;
    }
    return lines;
}

// The options a man page describes: the tags of the paragraphs of its OPTIONS section.
QSet<QString> DescribedOptions(const QString& roff) {
    const QStringList lines =
        Section(roff, {QStringLiteral("OPTIONS"), QStringLiteral("オプション")});
    QSet<QString> options;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral(".TP")))
            options.unite(OptionsIn(Plain(lines[i + 1])));
    return options;
}

QSet<QString> SynopsisOptions(const QString& roff) {
    return OptionsIn(
        Plain(Section(roff, {QStringLiteral("SYNOPSIS"), QStringLiteral("書式")}).join(u'\n')));
}

QString Listed(const QSet<QString>& options) {
    QStringList sorted(options.begin(), options.end());
    sorted.sort();
    return sorted.join(u' ');
}

TEST(ManPages, EachDescribesExactlyTheOptionsItsProgramTakes) {
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        const QSet<QString> taken = OptionsIn(HelpOutput(program));
        ASSERT_TRUE(taken.contains(QStringLiteral("--help"))) << "no --help output";
        for (const bool japanese : {false, true}) {
            SCOPED_TRACE(japanese ? "Japanese" : "English");
            const QString roff = ManPage(program, japanese);
            ASSERT_FALSE(roff.isEmpty());
            EXPECT_EQ(Listed(DescribedOptions(roff)).toStdString(), Listed(taken).toStdString());
            const QSet<QString> synopsis = SynopsisOptions(roff);
            EXPECT_EQ(Listed(synopsis - taken).toStdString(), "") << "in the synopsis only";
        }
    }
}

TEST(ManPages, TheOptionReaderSeesTagsButNotWordsWithHyphens) {
    const QString roff = QStringLiteral(".SH OPTIONS\n.TP\n.BI \\-d \" FILE\\fR, \" "
                                        "\\-\\-dictionary= FILE\nUse \\-\\-other in text.\n"
                                        ".TP\n.B tessarine\\-lookup\n.SH EXIT STATUS\n.TP\n"
                                        ".B \\-\\-late\n");
    EXPECT_EQ(Listed(DescribedOptions(roff)).toStdString(), "--dictionary -d");
    EXPECT_EQ(Listed(OptionsIn(QStringLiteral("Wi-Fi, -- and -x, --yes=1"))).toStdString(),
              "--yes -x");
}

TEST(JapaneseTexts, ManPagesFollowTheStyleSheet) {
    const StyleSheet style = ReadStyleSheet();
    ASSERT_FALSE(style.avoided.isEmpty());
    for (const char* program : kPrograms)
        EXPECT_EQ(Found(AvoidedTermsIn(style, Plain(ManPage(program, true)))), "") << program;
}

TEST(JapaneseTexts, TheReadmeFollowsTheStyleSheet) {
    const StyleSheet style = ReadStyleSheet();
    const QString readme = ReadTextFile(SourcePath(QStringLiteral("README.md")));
    // The README is written in English; it quotes the window's Japanese and a few terms.
    ASSERT_TRUE(readme.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{9fff}]"))));
    EXPECT_EQ(Found(AvoidedTermsIn(style, readme)), "");
}

TEST(JapaneseTexts, MenuEntryAndSoftwareCentreTextsFollowTheStyleSheet) {
    const StyleSheet style = ReadStyleSheet();
    // The search keywords are left out on purpose: they list the spellings people type.
    const QString desktop =
        ReadTextFile(SourcePath(QStringLiteral("packaging/jp.tessarine.tessarine.desktop")));
    ASSERT_FALSE(desktop.isEmpty());
    int japanese = 0;
    for (const QString& line : desktop.split(u'\n')) {
        if (!line.contains(QStringLiteral("[ja]=")) || line.startsWith(QStringLiteral("Keywords")))
            continue;
        ++japanese;
        EXPECT_EQ(Found(AvoidedTermsIn(style, line)), "") << qPrintable(line);
    }
    EXPECT_GE(japanese, 3);

    QXmlStreamReader xml(
        ReadTextFile(SourcePath(QStringLiteral("packaging/jp.tessarine.tessarine.metainfo.xml"))));
    int texts = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() == QStringLiteral("keyword") ||
            xml.attributes().value(QStringLiteral("xml:lang")) != QStringLiteral("ja"))
            continue;
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        ++texts;
        EXPECT_EQ(Found(AvoidedTermsIn(style, text)), "") << qPrintable(text);
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_GE(texts, 10);
}

// The string literals of a C++ source that hold Japanese: the program's own messages and
// captions, and the screen's fixed texts (which the style sheet lists to be kept as they are).
QStringList JapaneseLiterals(const QString& source) {
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\\n]|\\\\.)*)\""));
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    QStringList found;
    for (const QString& line : source.split(u'\n')) {
        if (line.trimmed().startsWith(QStringLiteral("//")))
            continue;
        for (const QRegularExpressionMatch& match : literal.globalMatch(line))
            if (match.captured(1).contains(japanese))
                found << match.captured(1);
    }
    return found;
}

TEST(JapaneseTexts, TheProgramsOwnMessagesFollowTheStyleSheet) {
    const StyleSheet style = ReadStyleSheet();
    int literals = 0;
    for (const char* folder : {"app", "auxiliary", "base", "commands", "data", "entryview",
                               "export", "fulltext", "history", "lookup", "search", "tools"}) {
        QDirIterator files(SourcePath(QLatin1String(folder)),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            for (const QString& text : JapaneseLiterals(ReadTextFile(file))) {
                ++literals;
                EXPECT_EQ(Found(AvoidedTermsIn(style, text)), "")
                    << qPrintable(file) << ": " << qPrintable(text);
            }
        }
    }
    EXPECT_GT(literals, 100);
    // The reader of literals finds them, and the screen's own texts pass as they stand.
    EXPECT_EQ(JapaneseLiterals(QStringLiteral("f(\"a\\\"b\", \"既に\");")),
              QStringList{QStringLiteral("既に")});
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("ブラウザで次ぎの URL を開きます\\r\\n"))),
              "");
}

} // namespace
