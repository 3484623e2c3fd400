#include "tools/EdictFile.h"

#include "tools/EucJpDecoder.h"

#include <QFile>

namespace {

// The first lines of a file, as far as they can be judged: the sniff stops at a line that is
// longer than any entry.
QList<QByteArray> FirstLines(const QByteArray& head, int count) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (lines.size() < count && start < head.size()) {
        const qsizetype end = head.indexOf('\n', start);
        if (end < 0) {
            lines.append(head.mid(start));
            break;
        }
        lines.append(head.mid(start, end - start));
        start = end + 1;
    }
    return lines;
}

enum class FirstLine { Foreign, Header, Entry };

// What a line says about the file: its header, an entry, or something else. A tab never
// appears in these lists and always in a dictd index.
FirstLine Judge(const QByteArray& raw, EucJpDecoder* decoder, QString* text) {
    QByteArray line = raw;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.contains('\t') || line.size() > EdictFile::kLongestLine ||
        !decoder->Decode(line, text))
        return FirstLine::Foreign;
    EdictEntry entry;
    switch (ParseEdictLine(*text, &entry)) {
    case EdictParse::Header:
        return FirstLine::Header;
    case EdictParse::Ok:
        return FirstLine::Entry;
    case EdictParse::NotAnEntry:
        break;
    }
    return FirstLine::Foreign;
}

} // namespace

QString EdictFile::KindName(Kind kind) {
    return kind == Kind::Edict ? QStringLiteral("EDICT") : QStringLiteral("COMPDIC");
}

bool EdictFile::IsEdictForm(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    EucJpDecoder decoder;
    const QList<QByteArray> lines = FirstLines(file.read(4 * kLongestLine), 4);
    // The first line decides; a damaged first line of COMPDIC is outweighed by the next ones.
    int entries = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text;
        const FirstLine judged = Judge(lines.at(i), &decoder, &text);
        if (judged == FirstLine::Header && i == 0)
            return true;
        if (judged == FirstLine::Entry)
            ++entries;
    }
    return entries * 2 > lines.size();
}

std::unique_ptr<EdictFile> EdictFile::Open(const QString& path, QString* error) {
    std::unique_ptr<EdictFile> edict(new EdictFile);
    edict->path_ = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return nullptr;
    }
    edict->bytes_ = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return nullptr;
    }
    EucJpDecoder decoder;
    if (!decoder.Ok()) {
        *error =
            QStringLiteral("%1: cannot read EUC-JP text: ICU has no converter for it").arg(path);
        return nullptr;
    }
    const QList<QByteArray> first = FirstLines(edict->bytes_.left(kLongestLine + 1), 1);
    QString text;
    if (!first.isEmpty() && Judge(first.first(), &decoder, &text) == FirstLine::Header)
        edict->kind_ = text.contains(QLatin1String("COMPDIC"), Qt::CaseInsensitive) ? Kind::Compdic
                                                                                    : Kind::Edict;
    else
        edict->kind_ = Kind::Compdic;
    return edict;
}

void EdictFile::Read(const std::function<void(const EdictEntry&)>& visit,
                     const Progress& progress) {
    skipped_ = Skipped();
    EucJpDecoder decoder;
    const qint64 total = bytes_.size();
    auto count = [](int* counter, int* first, int line) {
        if ((*counter)++ == 0)
            *first = line;
    };
    EdictEntry entry;
    QString text;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes_.size()) {
        qsizetype end = bytes_.indexOf('\n', start);
        if (end < 0)
            end = bytes_.size();
        ++lineNumber;
        QByteArrayView line(bytes_.constData() + start, end - start);
        start = end + 1;
        if ((lineNumber & 0xFFF) == 0)
            progress(qMin<qint64>(start, total), total);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (line.size() > kLongestLine) {
            count(&skipped_.tooLong, &skipped_.firstTooLong, lineNumber);
            continue;
        }
        if (!decoder.Decode(line, &text)) {
            count(&skipped_.notEucJp, &skipped_.firstNotEucJp, lineNumber);
            continue;
        }
        switch (ParseEdictLine(text, &entry)) {
        case EdictParse::Ok:
            visit(entry);
            break;
        case EdictParse::Header:
            if (lineNumber != 1)
                count(&skipped_.notAnEntry, &skipped_.firstNotAnEntry, lineNumber);
            break;
        case EdictParse::NotAnEntry:
            count(&skipped_.notAnEntry, &skipped_.firstNotAnEntry, lineNumber);
            break;
        }
    }
    progress(total, total);
}
