// Reading the command line: every way of naming the dictionary, the options that end the start
// at once, and the one-line errors of a wrong command line.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

using CommandLine::Action;
using CommandLine::Parse;

namespace {
QStringList Words(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words)
        list << QString::fromUtf8(word);
    return list;
}

// The dictionary the words name; fails the test when they do not simply run.
QString Named(std::initializer_list<const char*> words) {
    const CommandLine::Request request = Parse(Words(words));
    EXPECT_EQ(request.action, Action::Run) << qPrintable(request.error);
    return request.dictionary;
}

// The one-line error of a wrong command line.
QString ErrorOf(std::initializer_list<const char*> words) {
    const CommandLine::Request request = Parse(Words(words));
    EXPECT_EQ(request.action, Action::Fail);
    EXPECT_FALSE(request.error.contains(u'\n'));
    return request.error;
}
} // namespace

TEST(CommandLine, NothingGivenRunsOnTheDictionaryBesideTheProgram) {
    const CommandLine::Request request = Parse({});
    EXPECT_EQ(request.action, Action::Run);
    EXPECT_TRUE(request.dictionary.isEmpty());
}

TEST(CommandLine, EveryGnuWayOfNamingTheDictionary) {
    EXPECT_EQ(Named({"-d", "a.mdb"}), "a.mdb");
    EXPECT_EQ(Named({"-da.mdb"}), "a.mdb");
    EXPECT_EQ(Named({"--dictionary", "a.mdb"}), "a.mdb");
    EXPECT_EQ(Named({"--dictionary=a.mdb"}), "a.mdb");
    EXPECT_EQ(Named({"--dict=a.mdb"}), "a.mdb") << "a unique beginning of a long option";
    EXPECT_EQ(Named({"--d", "a.mdb"}), "a.mdb");
    EXPECT_EQ(Named({"a.mdb"}), "a.mdb") << "the lone operand";
    EXPECT_EQ(Named({"--dictionary=x=y.mdb"}), "x=y.mdb") << "only the first '=' separates";
}

TEST(CommandLine, NamesKeepSpacesJapaneseAndLeadingDashes) {
    EXPECT_EQ(Named({"-d", "/tmp/my dict/辞書 一.mdb"}),
              QStringLiteral("/tmp/my dict/辞書 一.mdb"));
    EXPECT_EQ(Named({"--", "-odd.mdb"}), "-odd.mdb");
    EXPECT_EQ(Named({"--", "--help"}), "--help") << "after \"--\" nothing is an option";
    // A required argument is the next word, whatever it looks like.
    EXPECT_EQ(Named({"-d", "-odd.mdb"}), "-odd.mdb");
    EXPECT_EQ(Named({"--dictionary", "--version"}), "--version");
    EXPECT_EQ(Named({"-"}), "-") << "a lone dash is a name";
}

TEST(CommandLine, HelpAndVersionEndTheStartWhereverTheyStand) {
    EXPECT_EQ(Parse(Words({"--help"})).action, Action::ShowHelp);
    EXPECT_EQ(Parse(Words({"-h"})).action, Action::ShowHelp);
    EXPECT_EQ(Parse(Words({"--he"})).action, Action::ShowHelp);
    EXPECT_EQ(Parse(Words({"--version"})).action, Action::ShowVersion);
    EXPECT_EQ(Parse(Words({"--v"})).action, Action::ShowVersion);
    EXPECT_EQ(Parse(Words({"-d", "a.mdb", "--version"})).action, Action::ShowVersion);
    // Read in order, as getopt does: the first that settles the start wins.
    EXPECT_EQ(Parse(Words({"--help", "--bogus"})).action, Action::ShowHelp);
    EXPECT_EQ(Parse(Words({"--bogus", "--help"})).action, Action::Fail);
    EXPECT_EQ(Parse(Words({"--version", "--help"})).action, Action::ShowVersion);
}

TEST(CommandLine, WrongCommandLinesSayWhatIsWrongInOneLine) {
    EXPECT_EQ(ErrorOf({"--bogus"}), "tessarine: unrecognized option '--bogus'");
    EXPECT_EQ(ErrorOf({"--bogus=1"}), "tessarine: unrecognized option '--bogus=1'");
    EXPECT_EQ(ErrorOf({"-x"}), "tessarine: invalid option -- 'x'");
    EXPECT_EQ(ErrorOf({"-d"}), "tessarine: option requires an argument -- 'd'");
    EXPECT_EQ(ErrorOf({"--dictionary"}), "tessarine: option '--dictionary' requires an argument");
    EXPECT_EQ(ErrorOf({"--dic"}), "tessarine: option '--dictionary' requires an argument");
    EXPECT_EQ(ErrorOf({"--help=yes"}), "tessarine: option '--help' doesn't allow an argument");
    EXPECT_EQ(ErrorOf({"--=x"}), "tessarine: unrecognized option '--=x'");
    EXPECT_EQ(ErrorOf({"-d", ""}), "tessarine: the dictionary file name is empty");
    EXPECT_EQ(ErrorOf({"--dictionary="}), "tessarine: the dictionary file name is empty");
    EXPECT_EQ(ErrorOf({"-d", "a.mdb", "b.mdb"}),
              "tessarine: only one dictionary may be named; 'b.mdb' follows 'a.mdb'");
    EXPECT_EQ(ErrorOf({"a.mdb", "--", "b.mdb"}),
              "tessarine: only one dictionary may be named; 'b.mdb' follows 'a.mdb'");
}

// Qt's own options are not the program's: read as short options they made no sense ("-display
// :0" named the dictionary "isplay"). They are refused by name, with the environment variable
// that does the same where there is one.
TEST(CommandLine, QtsOwnOptionsAreRefusedByNameWithTheirEnvironmentVariable) {
    const QString notTaken = QStringLiteral("tessarine: '%1' is an option of Qt's, which this "
                                            "program does not take");
    const QString variable = notTaken + QStringLiteral("; set the environment variable %2 instead");
    EXPECT_EQ(ErrorOf({"-display", ":0"}), variable.arg("-display", "DISPLAY"));
    EXPECT_EQ(ErrorOf({"-platform", "xcb"}), variable.arg("-platform", "QT_QPA_PLATFORM"));
    EXPECT_EQ(ErrorOf({"--platform", "offscreen"}), variable.arg("--platform", "QT_QPA_PLATFORM"));
    EXPECT_EQ(ErrorOf({"-style=fusion"}), variable.arg("-style", "QT_STYLE_OVERRIDE"));
    EXPECT_EQ(ErrorOf({"a.mdb", "-platformtheme", "gtk3"}),
              variable.arg("-platformtheme", "QT_QPA_PLATFORMTHEME"));
    EXPECT_EQ(ErrorOf({"-reverse"}), notTaken.arg("-reverse"));
    EXPECT_EQ(ErrorOf({"-qwindowgeometry", "640x480"}), notTaken.arg("-qwindowgeometry"));
    // Only where a word is an option: as a name it is a name.
    EXPECT_EQ(Named({"-d", "-display"}), "-display");
    EXPECT_EQ(Named({"--", "-style"}), "-style");
    EXPECT_EQ(Named({"-dstyle.mdb"}), "style.mdb");
}

TEST(CommandLine, TextsNameTheProgramAndItsVersion) {
    EXPECT_TRUE(CommandLine::UsageText().startsWith(QStringLiteral("Usage: tessarine ")));
    EXPECT_TRUE(CommandLine::UsageText().contains(QStringLiteral("'tessarine --help'")));
    const QString help = CommandLine::HelpText();
    for (const char* option : {"-d, --dictionary=FILE", "-h, --help", "--version", "Exit status"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    EXPECT_EQ(CommandLine::VersionLine(),
              QStringLiteral("tessarine (Tessarine 2000) " TESSARINE_PROJECT_VERSION "\n"));
}

TEST(CommandLine, ATextToLookUpOrTheSelection) {
    const CommandLine::Request text = Parse(Words({"--lookup", "TCP/IP"}));
    EXPECT_EQ(text.action, Action::Run);
    EXPECT_EQ(text.lookup, CommandLine::Lookup::Text);
    EXPECT_EQ(text.lookupText, QStringLiteral("TCP/IP"));
    EXPECT_EQ(Parse(Words({"--lookup=中央処理装置"})).lookupText, QStringLiteral("中央処理装置"));
    EXPECT_EQ(Parse(Words({"--look", "--help"})).lookupText, QStringLiteral("--help"))
        << "the text is the next word whatever it looks like";
    EXPECT_EQ(Parse(Words({"--lookup", "The CPU talks\nto RAM."})).lookupText,
              QStringLiteral("The CPU talks\nto RAM."));

    const CommandLine::Request selection = Parse(Words({"-d", "a.mdb", "--selection"}));
    EXPECT_EQ(selection.action, Action::Run);
    EXPECT_EQ(selection.lookup, CommandLine::Lookup::Selection);
    EXPECT_EQ(selection.dictionary, QStringLiteral("a.mdb")) << "both combine with -d";
    EXPECT_EQ(Parse(Words({"--sel", "--selection"})).lookup, CommandLine::Lookup::Selection);
    EXPECT_EQ(Parse({}).lookup, CommandLine::Lookup::None);
}

TEST(CommandLine, ATextThatCannotBeLookedUpIsAOneLineError) {
    EXPECT_EQ(ErrorOf({"--lookup", ""}), "tessarine: the text to look up is empty");
    EXPECT_EQ(ErrorOf({"--lookup="}), "tessarine: the text to look up is empty");
    EXPECT_EQ(ErrorOf({"--lookup", " \t "}),
              "tessarine: the text to look up holds only white space");
    EXPECT_EQ(ErrorOf({"--lookup", "CPU\x1b[0m"}),
              "tessarine: the text to look up holds a control character");
    const QString limit(65536, u'A');
    EXPECT_EQ(Parse({QStringLiteral("--lookup"), limit}).lookupText, limit);
    EXPECT_EQ(ErrorOf({"--lookup", QString(65537, u'A').toUtf8().constData()}),
              "tessarine: the text to look up is longer than 65536 bytes");
    EXPECT_EQ(ErrorOf({"--lookup"}), "tessarine: option '--lookup' requires an argument");
    EXPECT_EQ(ErrorOf({"--lookup", "a", "--lookup", "b"}),
              "tessarine: only one text may be looked up");
    EXPECT_EQ(ErrorOf({"--lookup", "a", "--selection"}),
              "tessarine: --lookup and --selection cannot be used together");
    EXPECT_EQ(ErrorOf({"--selection", "--lookup", "a"}),
              "tessarine: --lookup and --selection cannot be used together");
    EXPECT_EQ(ErrorOf({"--selection=yes"}),
              "tessarine: option '--selection' doesn't allow an argument");
    EXPECT_TRUE(CommandLine::HelpText().contains(QStringLiteral("--lookup=TEXT")));
    EXPECT_TRUE(CommandLine::HelpText().contains(QStringLiteral("--selection")));
    EXPECT_TRUE(CommandLine::UsageText().contains(QStringLiteral("[--lookup TEXT | --selection]")));
}
