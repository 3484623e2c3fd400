#include "export/StarDictWriter.h"

#include "data/TextCollation.h"
#include "export/ArticleHtml.h"
#include "export/BufferedFile.h"
#include "export/HeadwordText.h"

#include <QDate>
#include <QtEndian>

namespace {

void PutBigEndian32(BufferedFile& file, quint32 value) {
    const quint32 big = qToBigEndian(value);
    file.Write(QByteArrayView(reinterpret_cast<const char*>(&big), 4));
}

// An .ifo value is one line.
QString OneLine(const QString& text) {
    return HeadwordText::Clean(text);
}

} // namespace

QStringList StarDictWriter::FileNames(const QString& name) {
    return {name + QLatin1String(".dict.dz"), name + QLatin1String(".syn"),
            name + QLatin1String(".idx"), name + QLatin1String(".ifo")};
}

QStringList StarDictWriter::StaleNames(const QString& name) {
    return {name + QLatin1String(".dict"), name + QLatin1String(".idx.gz"),
            name + QLatin1String(".idx.oft"), name + QLatin1String(".syn.oft")};
}

StarDictWriter::StarDictWriter(StagedFiles& files, const QString& name, ExportStats& stats)
    : files_(files), name_(name), stats_(stats),
      text_(files.ScratchPath(name + QLatin1String(".dict.body"))) {}

QString StarDictWriter::File(const char* extension) const {
    return name_ + QLatin1String(extension);
}

bool StarDictWriter::Begin() {
    if (!text_.Begin())
        return Fail(text_.ErrorText());
    return true;
}

bool StarDictWriter::Add(ExportEntry entry) {
    if (!run_.empty() && TextCollation::Compare(run_.front().abbr, entry.abbr) != 0 && !FlushRun())
        return false;
    run_.push_back(std::move(entry));
    return true;
}

bool StarDictWriter::FlushRun() {
    // The spellings in the order they first come, each with its entries in listing order.
    while (!run_.empty()) {
        const QString abbr = run_.front().abbr;
        std::vector<ExportEntry> senses;
        std::vector<ExportEntry> rest;
        for (ExportEntry& e : run_)
            (e.abbr == abbr ? senses : rest).push_back(std::move(e));
        run_ = std::move(rest);
        if (!WriteArticle(senses))
            return false;
    }
    return true;
}

bool StarDictWriter::WriteArticle(const std::vector<ExportEntry>& senses) {
    const QByteArray headword = senses.front().abbr.toUtf8();
    if (headword.size() > HeadwordText::kStarDictLongest) {
        stats_.headwordTooLong += qint64(senses.size());
        return true;
    }
    const QByteArray html = ArticleHtml::Article(senses);
    const qint64 offset = text_.Size();
    if (offset + html.size() > qint64(0xFFFFFFFF))
        return Fail(QStringLiteral("the articles outgrow the 4 GB that StarDict's 32-bit offsets "
                                   "reach"));
    if (!text_.Write(html))
        return Fail(text_.ErrorText());
    const quint32 number = quint32(articles_.Size());
    if (!articles_.Add(headword, quint32(offset), quint32(html.size())))
        return Fail(QStringLiteral("too many headwords for one index"));
    stats_.articles += 1;
    stats_.entriesWritten += qint64(senses.size());
    stats_.textBytes += html.size();

    QStringList words;
    for (const ExportEntry& sense : senses) {
        for (const QString& word : sense.LookupWords()) {
            if (!words.contains(word))
                words << word;
        }
    }
    for (const QString& word : words) {
        const QByteArray synonym = word.toUtf8();
        // StarDict finds the headword itself whatever the case of its ASCII letters.
        if (HeadwordText::StarDictSame(synonym, headword))
            continue;
        if (synonym.size() > HeadwordText::kStarDictLongest) {
            ++stats_.synonymsTooLong;
            continue;
        }
        if (!synonyms_.Add(synonym, number, 0))
            return Fail(QStringLiteral("too many synonyms for one index"));
    }
    return true;
}

bool StarDictWriter::Finish(const DictionaryInfo& info) {
    const QString dictName = File(".dict.dz");
    if (!text_.Finish(files_.TempPath(dictName)))
        return Fail(text_.ErrorText());
    stats_.files.append({dictName, text_.CompressedSize()});
    std::vector<quint32> positions;
    return WriteIndex(positions) && WriteSynonyms(positions) && WriteInfo(info);
}

bool StarDictWriter::WriteIndex(std::vector<quint32>& positions) {
    articles_.Sort(HeadwordText::StarDictCompare);
    positions.assign(std::size_t(articles_.Size()), 0);
    BufferedFile idx(files_.TempPath(File(".idx")));
    if (!idx.Open())
        return Fail(idx.ErrorText());
    quint32 position = 0;
    for (const WordList::Item& item : articles_.Items()) {
        positions[item.number] = position++;
        idx.Write(articles_.Word(item));
        idx.Write(QByteArrayView("\0", 1));
        PutBigEndian32(idx, item.first);
        PutBigEndian32(idx, item.second);
    }
    indexSize_ = idx.Size();
    if (!idx.Close())
        return Fail(idx.ErrorText());
    stats_.headwords = articles_.Size();
    stats_.files.append({File(".idx"), indexSize_});
    return true;
}

bool StarDictWriter::WriteSynonyms(const std::vector<quint32>& positions) {
    const QString name = File(".syn");
    if (synonyms_.Size() == 0) {
        files_.Drop(name);
        return true;
    }
    for (WordList::Item& item : synonyms_.Items())
        item.first = positions[item.first];
    // Equal synonyms in the order of their articles, each pair once.
    std::sort(synonyms_.Items().begin(), synonyms_.Items().end(),
              [this](const WordList::Item& a, const WordList::Item& b) {
                  const int c = HeadwordText::StarDictCompare(synonyms_.Word(a), synonyms_.Word(b));
                  return c != 0 ? c < 0 : a.first < b.first;
              });
    BufferedFile syn(files_.TempPath(name));
    if (!syn.Open())
        return Fail(syn.ErrorText());
    const WordList::Item* previous = nullptr;
    for (const WordList::Item& item : synonyms_.Items()) {
        if (previous && previous->first == item.first &&
            synonyms_.Word(*previous) == synonyms_.Word(item))
            continue;
        previous = &item;
        syn.Write(synonyms_.Word(item));
        syn.Write(QByteArrayView("\0", 1));
        PutBigEndian32(syn, item.first);
        ++stats_.synonyms;
    }
    if (!syn.Close())
        return Fail(syn.ErrorText());
    stats_.files.append({name, syn.Size()});
    return true;
}

bool StarDictWriter::WriteInfo(const DictionaryInfo& info) {
    QStringList paragraphs;
    for (const QString& paragraph : info.paragraphs)
        paragraphs << ArticleHtml::Escaped(paragraph).replace(QLatin1Char('\n'),
                                                              QLatin1String("<br>"));
    QString ifo = QStringLiteral("StarDict's dict ifo file\nversion=2.4.2\n");
    ifo += QStringLiteral("bookname=%1\n").arg(OneLine(info.bookName));
    ifo += QStringLiteral("wordcount=%1\n").arg(articles_.Size());
    if (stats_.synonyms > 0)
        ifo += QStringLiteral("synwordcount=%1\n").arg(stats_.synonyms);
    ifo += QStringLiteral("idxfilesize=%1\n").arg(indexSize_);
    ifo += QStringLiteral("sametypesequence=h\n");
    ifo += QStringLiteral("date=%1\n")
               .arg(QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));
    ifo +=
        QStringLiteral("description=%1\n").arg(OneLine(paragraphs.join(QLatin1String("<br><br>"))));
    const QString name = File(".ifo");
    BufferedFile file(files_.TempPath(name));
    if (!file.Open())
        return Fail(file.ErrorText());
    file.Write(ifo.toUtf8());
    if (!file.Close())
        return Fail(file.ErrorText());
    stats_.files.append({name, file.Size()});
    return true;
}
