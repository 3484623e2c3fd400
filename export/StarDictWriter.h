#pragma once

#include "export/DictZipWriter.h"
#include "export/FormatWriter.h"
#include "export/StagedFiles.h"
#include "export/WordList.h"

#include <vector>

// A StarDict dictionary (format 2.4.2): NAME.ifo, NAME.idx, NAME.syn and NAME.dict.dz. One
// HTML article per abbreviation holds every entry that shares it; the index is sorted as StarDict
// compares words and points into the text with 32-bit offsets; the synonyms lead to the article
// from every other way a reader may type it.
class StarDictWriter : public FormatWriter {
public:
    static QStringList FileNames(const QString& name);
    // Files of an earlier export that readers would take instead of or beside the new ones: an
    // uncompressed text or compressed index, and their offset caches.
    static QStringList StaleNames(const QString& name);

    StarDictWriter(StagedFiles& files, const QString& name, ExportStats& stats);

    bool Begin() override;
    bool Add(ExportEntry entry) override;
    bool EndEntries() override { return FlushRun(); }
    bool Finish(const DictionaryInfo& info) override;

private:
    bool FlushRun();
    bool WriteArticle(const std::vector<ExportEntry>& senses);
    bool WriteIndex(std::vector<quint32>& positions);
    bool WriteSynonyms(const std::vector<quint32>& positions);
    bool WriteInfo(const DictionaryInfo& info);
    QString File(const char* extension) const;

    StagedFiles& files_;
    QString name_;
    ExportStats& stats_;
    DictZipWriter text_;
    // Entries whose abbreviations sort as one (CPU, Cpu); each spelling becomes one article.
    std::vector<ExportEntry> run_;
    WordList articles_; // headword, offset and size of the article
    WordList synonyms_; // synonym, the article's number in the order written
    qint64 indexSize_ = 0;
};
