#include "tools/DictdCommand.h"

#include "base/ToolArguments.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/DictdSummary.h"
#include "tools/EdictFile.h"
#include "tools/ProgressLine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QString kProgram = QStringLiteral("tessarine-dictd");

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

ToolCommandLine DictdCommandLine() {
    ToolCommandLine commandLine(kProgram, QStringLiteral("-o OUTPUT INPUT..."));
    commandLine.Describe(QStringLiteral(
        "Builds a dictionary file (ABBR.MDB) from the dictd databases of VERA and FOLDOC,\n"
        "with the Japanese terms of the EDICT and COMPDIC word lists where given.\n"
        "Each INPUT is a dictd .index file with its .dict.dz or .dict beside it, or a word list\n"
        "in EDICT form (EUC-JP, such as /usr/share/edict/edict and /usr/share/edict/compdic).\n"
        "  -o, --output=OUTPUT  the dictionary file to write\n"
        "  --uncertain=FILE     also write the links that no evidence decided to FILE\n"
        "  -h, --help           print this help;  --version  print the version\n"));
    commandLine.Option(QCommandLineOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("the dictionary file to write"), QStringLiteral("OUTPUT")));
    commandLine.Option(QCommandLineOption(QStringLiteral("uncertain"),
                                          QStringLiteral("a report of the uncertain links"),
                                          QStringLiteral("FILE")));
    return commandLine;
}

struct Request {
    QString output;
    QString uncertain; // empty for no report
    QStringList inputs;
};

// What the parser leaves to the program: one output with a name, one report at most, an input.
std::optional<int> Check(const ToolCommandLine& commandLine, const ToolArguments& parsed,
                         std::FILE* err, Request* request) {
    const QStringList outputs = parsed.values.value(QStringLiteral("o"));
    const QStringList reports = parsed.values.value(QStringLiteral("uncertain"));
    if (outputs.isEmpty())
        return commandLine.UsageError(QStringLiteral("no output file given (-o OUTPUT)"), err);
    if (outputs.size() > 1)
        return commandLine.UsageError(QStringLiteral("only one output file can be given"), err);
    if (outputs.first().isEmpty())
        return commandLine.UsageError(QStringLiteral("the output file name is empty"), err);
    if (reports.size() > 1 || (!reports.isEmpty() && reports.first().isEmpty()))
        return commandLine.UsageError(QStringLiteral("--uncertain takes one file name"), err);
    if (parsed.operands.isEmpty())
        return commandLine.UsageError(
            QStringLiteral("no input given (a dictd index or a word list)"), err);
    *request = {outputs.first(), reports.value(0), parsed.operands};
    return std::nullopt;
}

int Failure(std::FILE* err, const QString& message) {
    Print(err, QStringLiteral("%1: %2\n").arg(kProgram, message));
    Print(err, QStringLiteral("%1: no dictionary written\n").arg(kProgram));
    return 1;
}

// The inputs, told apart by their content.
struct Inputs {
    std::vector<std::unique_ptr<DictdDatabase>> databases;
    std::vector<std::unique_ptr<EdictFile>> wordLists;
    DictdDatabase* vera = nullptr;
    DictdDatabase* foldoc = nullptr;
    EdictFile* edict = nullptr;
    EdictFile* compdic = nullptr;
};

bool OpenWordList(const QString& path, Inputs* inputs, QString* error) {
    std::unique_ptr<EdictFile> list = EdictFile::Open(path, error);
    if (!list)
        return false;
    const bool isEdict = list->FileKind() == EdictFile::Kind::Edict;
    EdictFile*& slot = isEdict ? inputs->edict : inputs->compdic;
    if (slot) {
        *error = QStringLiteral("%1 and %2 are both the %3 word list%4")
                     .arg(slot->Path(), path, EdictFile::KindName(list->FileKind()),
                          isEdict ? QString()
                                  : QStringLiteral(" (a list without EDICT's header line is "
                                                   "taken for it)"));
        return false;
    }
    slot = list.get();
    inputs->wordLists.push_back(std::move(list));
    return true;
}

bool OpenDatabase(const QString& path, Inputs* inputs, QString* error) {
    std::unique_ptr<DictdDatabase> db = DictdDatabase::Open(path, error);
    if (!db)
        return false;
    const DictdDatabase::Kind kind = db->DatabaseKind();
    if (kind == DictdDatabase::Kind::Unknown) {
        *error = QStringLiteral("%1: neither the VERA nor the FOLDOC database (it calls itself "
                                "\"%2\")")
                     .arg(path, db->ShortName());
        return false;
    }
    DictdDatabase*& slot = kind == DictdDatabase::Kind::Vera ? inputs->vera : inputs->foldoc;
    if (slot) {
        *error = QStringLiteral("%1 and %2 are both the %3 database")
                     .arg(slot->IndexPath(), path,
                          kind == DictdDatabase::Kind::Vera ? QStringLiteral("VERA")
                                                            : QStringLiteral("FOLDOC"));
        return false;
    }
    slot = db.get();
    inputs->databases.push_back(std::move(db));
    return true;
}

bool OpenInputs(const QStringList& paths, Inputs* inputs, QString* error) {
    for (const QString& path : paths) {
        const bool opened = EdictFile::IsEdictForm(path) ? OpenWordList(path, inputs, error)
                                                         : OpenDatabase(path, inputs, error);
        if (!opened)
            return false;
    }
    return true;
}

DictdImport::Progress Showing(ProgressLine& progress, const QString& verb, const QString& path) {
    const QString label = verb + QLatin1Char(' ') + QFileInfo(path).fileName();
    return [&progress, label](qint64 done, qint64 total) { progress.Show(label, done, total); };
}

// The databases, then the word lists, COMPDIC first.
bool ReadInputs(Inputs& inputs, DictdImport& import, ProgressLine& progress, QString* error) {
    const QString reading = QStringLiteral("reading");
    if (inputs.vera &&
        !import.ReadVera(*inputs.vera, Showing(progress, reading, inputs.vera->IndexPath()), error))
        return false;
    if (inputs.foldoc &&
        !import.ReadFoldoc(*inputs.foldoc, Showing(progress, reading, inputs.foldoc->IndexPath()),
                           error))
        return false;
    for (EdictFile* list : {inputs.compdic, inputs.edict}) {
        if (list)
            import.ReadWordList(*list, Showing(progress, reading, list->Path()));
    }
    return true;
}

bool WriteUncertainReport(const QString& path, const QList<UncertainLink>& links, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(UncertainLinksText(links).toUtf8()) < 0 ||
        !file.commit()) {
        *error = QStringLiteral("%1: cannot write the report of uncertain links: %2")
                     .arg(path, file.errorString());
        return false;
    }
    return true;
}

// Reads, merges and writes; the dictionary appears only when all of it has been written.
int Build(const Request& request, std::FILE* out, std::FILE* err) {
    if (QFileInfo(request.output).isDir())
        return Failure(
            err, QStringLiteral("%1 is a directory; give the file to write").arg(request.output));
    QElapsedTimer timer;
    timer.start();
    Inputs inputs;
    DictdImport import;
    ProgressLine progress(err);
    QString error;
    if (!OpenInputs(request.inputs, &inputs, &error) ||
        !ReadInputs(inputs, import, progress, &error)) {
        progress.Finish();
        return Failure(err, error);
    }
    const DictionaryContent dictionary = import.Build();
    progress.Finish();
    // The program refuses a dictionary without entries, so such a build is a failed one.
    const QString sources = request.inputs.join(QLatin1String(", "));
    if (dictionary.entries.isEmpty())
        return Failure(err, QStringLiteral("no entries: found no abbreviation with its expansion "
                                           "in %1 (the VERA database gives most of them)")
                                .arg(sources));
    if (dictionary.categories.isEmpty())
        return Failure(
            err, QStringLiteral("no categories: the entries of %1 belong to none").arg(sources));
    if ((!request.uncertain.isEmpty() &&
         !WriteUncertainReport(request.uncertain, import.UncertainLinks(), &error)) ||
        !WriteDictionary(dictionary, request.output, &error,
                         Showing(progress, QStringLiteral("writing"), request.output))) {
        progress.Finish();
        return Failure(err, error);
    }
    progress.Finish();
    Print(out, DictdSummary(request.output, import.Stats(), timer.elapsed()));
    return 0;
}

} // namespace

int RunDictd(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    const ToolCommandLine commandLine = DictdCommandLine();
    ToolArguments parsed;
    if (const std::optional<int> status = commandLine.Handle(arguments, out, err, &parsed))
        return *status;
    Request request;
    if (const std::optional<int> status = Check(commandLine, parsed, err, &request))
        return *status;
    return Build(request, out, err);
}
