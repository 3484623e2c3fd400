#pragma once

#include <QString>
#include <QStringList>

// The program's command line in the usual GNU form: options may stand anywhere, long options may
// be shortened to any unique beginning, "--" ends the options, and an option's required argument
// is the next word whatever it looks like. Qt's QCommandLineParser reads it, before any
// QApplication exists: reading it needs neither a window nor a display.
namespace CommandLine {

enum class Action { Run, ShowHelp, ShowVersion, Fail };

// What the start hands over to be looked up, by the copy that runs or by this one.
enum class Lookup {
    None,
    Text,      // --lookup TEXT
    Selection, // --selection: the desktop's primary selection, or else the clipboard
};

struct Request {
    Action action = Action::Run;
    // The dictionary named with -d FILE, --dictionary=FILE or as the only operand; empty when
    // the start names none and the one beside the program is meant.
    QString dictionary;
    Lookup lookup = Lookup::None;
    QString lookupText; // the TEXT of --lookup
    // One line saying what is wrong, when action is Fail.
    QString error;
};

// Exit status of a start whose command line is wrong.
inline constexpr int kUsageError = 2;

// `arguments` are the words after the program's name.
Request Parse(const QStringList& arguments);

// The short usage that follows an error on stderr.
QString UsageText();
// The full text of --help.
QString HelpText();
// The first line of --version: the command, the product and the version.
QString VersionLine();

} // namespace CommandLine
