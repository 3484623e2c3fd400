#include "export/DictdWriter.h"

#include "export/ArticleText.h"
#include "export/BufferedFile.h"
#include "export/HeadwordText.h"

#include <cstring>

namespace {

// dictd compares the bytes of the headword field, as `sort -t '\t' -k 1,1` ordered them in the
// C locale.
int ByteOrder(QByteArrayView a, QByteArrayView b) {
    const int c = std::memcmp(a.data(), b.data(), std::size_t(qMin(a.size(), b.size())));
    if (c != 0)
        return c;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

const QLatin1String kHeaderIndent("     ");

} // namespace

QStringList DictdWriter::FileNames(const QString& name) {
    return {name + QLatin1String(".dict.dz"), name + QLatin1String(".index")};
}

QStringList DictdWriter::StaleNames(const QString& name) {
    return {name + QLatin1String(".dict")};
}

DictdWriter::DictdWriter(StagedFiles& files, const QString& name, ExportStats& stats)
    : files_(files), name_(name), stats_(stats),
      text_(files.ScratchPath(name + QLatin1String(".dict.body"))) {}

bool DictdWriter::Begin() {
    if (!text_.Begin())
        return Fail(text_.ErrorText());
    return true;
}

bool DictdWriter::AddArticle(const QStringList& headwords, const QByteArray& text) {
    const qint64 offset = text_.Size();
    if (!text_.Write(text))
        return Fail(text_.ErrorText());
    stats_.textBytes += text.size();
    QList<QByteArray> lines;
    for (const QString& word : headwords) {
        const QByteArray headword = HeadwordText::DictdHeadword(word);
        if (headword.isEmpty() || lines.contains(headword))
            continue;
        lines << headword;
        if (!index_.Add(headword, quint32(offset), quint32(text.size())))
            return Fail(QStringLiteral("too many headwords for one index"));
    }
    return true;
}

bool DictdWriter::Add(ExportEntry entry) {
    const qint64 before = index_.Size();
    if (!AddArticle(QStringList{entry.abbr} + entry.LookupWords(), ArticleText::Article(entry)))
        return false;
    stats_.entriesWritten += 1;
    stats_.articles += 1;
    stats_.headwords += 1;
    stats_.synonyms += index_.Size() - before - 1;
    return true;
}

bool DictdWriter::AddHeaderEntries(const DictionaryInfo& info) {
    auto entry = [](const char* headword, const QStringList& lines) {
        QByteArray text = QByteArray(headword) + '\n';
        for (const QString& line : lines)
            text += (line.isEmpty() ? QString() : kHeaderIndent + line).toUtf8() + '\n';
        return text;
    };
    QStringList infoLines;
    for (const QString& paragraph : info.paragraphs) {
        if (!infoLines.isEmpty())
            infoLines << QString();
        infoLines << paragraph.split(QLatin1Char('\n'));
    }
    const std::pair<const char*, QStringList> headers[] = {
        {"00-database-utf8", {}},
        {"00-database-allchars", {}},
        {"00-database-short", {HeadwordText::Clean(info.bookName)}},
        {"00-database-url", {QStringLiteral("https://tessarine.jp/")}},
        {"00-database-info", infoLines},
    };
    for (const auto& [headword, lines] : headers) {
        if (!AddArticle({QLatin1String(headword)}, entry(headword, lines)))
            return false;
    }
    return true;
}

bool DictdWriter::Finish(const DictionaryInfo& info) {
    if (!AddHeaderEntries(info))
        return false;
    const QString dictName = name_ + QLatin1String(".dict.dz");
    if (!text_.Finish(files_.TempPath(dictName)))
        return Fail(text_.ErrorText());
    stats_.files.append({dictName, text_.CompressedSize()});
    return WriteIndex();
}

bool DictdWriter::WriteIndex() {
    index_.Sort(ByteOrder);
    const QString name = name_ + QLatin1String(".index");
    BufferedFile file(files_.TempPath(name));
    if (!file.Open())
        return Fail(file.ErrorText());
    for (const WordList::Item& item : index_.Items()) {
        file.Write(index_.Word(item));
        file.Write("\t");
        file.Write(HeadwordText::DictdNumber(item.first));
        file.Write("\t");
        file.Write(HeadwordText::DictdNumber(item.second));
        file.Write("\n");
    }
    if (!file.Close())
        return Fail(file.ErrorText());
    stats_.files.append({name, file.Size()});
    return true;
}
