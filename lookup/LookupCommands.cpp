#include "lookup/LookupCommands.h"

#include "data/DbAccess.h"
#include "data/Strings.h"
#include "fulltext/FullTextService.h"
#include "fulltext/IndexFiles.h"
#include "lookup/ResultPrinter.h"
#include "lookup/TextPieces.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace LookupCommands {
namespace {

using namespace LookupOptions;

int Outcome(qsizetype found) {
    return found > 0 ? kFound : kNothingFound;
}

// The known categories, after the message that names the unknown one.
int UnknownCategory(const QString& name, const QList<LookupDictionary::Category>& categories) {
    Complain(QStringLiteral("unknown category '%1'; the dictionary's categories are "
                            "(number, name, short name):")
                 .arg(name));
    std::fputs(LookupDictionary::CategoryLines(categories).toUtf8().constData(), stderr);
    return kUsageError;
}

// Shows how far the index has come on a terminal, where the line can be overwritten; a log or a
// pipe gets nothing.
class BuildProgressLine {
public:
    BuildProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~BuildProgressLine() { End(); }
    void Show(int percent) {
        if (!terminal_)
            return;
        std::fprintf(stderr, "\rtessarine-lookup: building the full-text index... %3d%%", percent);
        std::fflush(stderr);
        shown_ = true;
    }
    void End() {
        if (shown_)
            std::fputc('\n', stderr);
        shown_ = false;
    }

private:
    bool terminal_;
    bool shown_ = false;
};

// Reads one input to its end, printing what it finds as it goes; false when it cannot be read.
bool AnnotateInput(QFile& input, const QString& name, TextAbbreviations::Finder& finder, bool json,
                   QList<TextAbbreviations::Found>& all, LookupOutput& out) {
    TextPieces pieces(&input);
    QString piece;
    for (;;) {
        switch (pieces.Next(&piece)) {
        case TextPieces::Status::Piece: {
            const QList<TextAbbreviations::Found> found = finder.Add(piece);
            all += found;
            if (!json)
                ResultPrinter::PrintFoundLines(found, out);
            if (out.Closed())
                return true;
            break;
        }
        case TextPieces::Status::End:
            return true;
        case TextPieces::Status::Binary:
            Complain(QStringLiteral("%1: binary data, not text; not read further").arg(name));
            return false;
        case TextPieces::Status::ReadError:
            Complain(QStringLiteral("%1: %2").arg(name, input.errorString()));
            return false;
        }
    }
}

bool OpenInput(QFile& input, const QString& name) {
    if (QFileInfo(name).isDir()) {
        Complain(QStringLiteral("%1: is a directory").arg(name));
        return false;
    }
    input.setFileName(name);
    if (!input.open(QIODevice::ReadOnly)) {
        Complain(QStringLiteral("%1: %2").arg(name, input.errorString()));
        return false;
    }
    return true;
}

} // namespace

void Complain(const QString& text) {
    std::fprintf(stderr, "tessarine-lookup: %s\n", qUtf8Printable(text));
}

int Run(const Options& options, const LookupDictionary::Opened& dictionary, LookupOutput& out) {
    const QList<LookupDictionary::Category>& categories = dictionary.categories;
    switch (options.mode) {
    case Mode::FullText:
        return FullText(options, dictionary, out);
    case Mode::Annotate:
        return Annotate(options, dictionary.db, out);
    case Mode::Categories:
        out.Write(LookupDictionary::CategoryLines(categories));
        return Outcome(categories.size());
    default:
        return Search(options, dictionary, out);
    }
}

int Search(const Options& options, const LookupDictionary::Opened& dictionary, LookupOutput& out) {
    const QList<LookupDictionary::Category>& categories = dictionary.categories;
    qint32 category = 0;
    if (!options.category.isEmpty()) {
        category = LookupDictionary::ResolveCategory(categories, options.category);
        if (category == 0)
            return UnknownCategory(options.category, categories);
    }
    // The fields as the window's search command reads them.
    const QString key = Strings::TrimSpaces(options.key);
    const QString letter = Strings::TrimSpaces(options.letter);
    if (key.isEmpty() && letter.isEmpty() && category == 0) {
        Complain(QStringLiteral("nothing to search for: the KEY is empty"));
        return kUsageError;
    }
    StoringSink results;
    dictionary.db.SearchEntries(key, letter, qint16(category), results);
    ResultPrinter::PrintResults(results.items, options.format, dictionary, out);
    // The window finds nothing here either; a user at a terminal is told why.
    if (results.items.isEmpty() && Strings::NormalizeKey(key).isEmpty() && letter.isEmpty() &&
        category == 0)
        Complain(QStringLiteral("'%1' has no letters or digits to search for").arg(key.left(40)));
    return Outcome(results.items.size());
}

int FullText(const Options& options, const LookupDictionary::Opened& dictionary,
             LookupOutput& out) {
    FullTextService service(
        WorkerDictionary::Of(dictionary.db.Path(), dictionary.db.Db(), dictionary.db.OpenedFile()),
        IndexFiles::UserCacheDirectory());
    QEventLoop loop;
    BuildProgressLine progress;
    QList<StoringSink::Item> results;
    int status = kNothingFound;
    QObject::connect(&service, &FullTextService::BuildProgress, &loop,
                     [&](int percent) { progress.Show(percent); });
    QObject::connect(&service, &FullTextService::Ready, &loop, [&] { progress.End(); });
    QObject::connect(&service, &FullTextService::Unavailable, &loop, [&](const QString& message) {
        progress.End();
        Complain(message);
        status = kDictionaryUnusable;
        loop.quit();
    });
    QObject::connect(&service, &FullTextService::HitsFound, &loop,
                     [&](quint64, const QList<FullTextHit>& hits) {
                         if (hits.isEmpty()) // a retry after a rebuild starts over
                             results.clear();
                         for (const FullTextHit& hit : hits)
                             results.append({hit.abbr + QLatin1Char('\t') + hit.letter, hit.id});
                     });
    QObject::connect(&service, &FullTextService::SearchRejected, &loop,
                     [&](quint64, const QString& message) {
                         Complain(message);
                         status = kUsageError;
                         loop.quit();
                     });
    QObject::connect(&service, &FullTextService::SearchFinished, &loop, [&] {
        ResultPrinter::PrintResults(results, options.format, dictionary, out);
        status = Outcome(results.size());
        loop.quit();
    });
    service.Start();
    service.Search(options.terms.join(QLatin1Char(' ')));
    loop.exec();
    return status;
}

int Annotate(const Options& options, const DbAccess::Dictionary& db, LookupOutput& out) {
    TextAbbreviations::Finder finder(db.Db());
    const bool json = options.format == Format::Json;
    QList<TextAbbreviations::Found> all;
    bool unreadable = false;
    // "-", or no file at all, is the standard input.
    const QStringList names =
        options.files.isEmpty() ? QStringList{QStringLiteral("-")} : options.files;
    for (const QString& name : names) {
        QFile input;
        const bool standardInput = name == QLatin1String("-");
        if (standardInput ? !input.open(STDIN_FILENO, QIODevice::ReadOnly)
                          : !OpenInput(input, name)) {
            unreadable = true;
            continue;
        }
        unreadable |= !AnnotateInput(input, standardInput ? QStringLiteral("stdin") : name, finder,
                                     json, all, out);
        if (out.Closed())
            break;
    }
    if (json)
        ResultPrinter::PrintFoundJson(all, out);
    return unreadable ? kUsageError : Outcome(all.size());
}

} // namespace LookupCommands
