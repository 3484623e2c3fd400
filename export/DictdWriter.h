#pragma once

#include "export/DictZipWriter.h"
#include "export/FormatWriter.h"
#include "export/StagedFiles.h"
#include "export/WordList.h"

// A dictd database as `dictfmt --utf8 --allchars` writes it: NAME.dict.dz, one plain-text article
// per entry, and NAME.index, whose lines give a headword in lower case and where its article
// lies, sorted by the bytes of the headword, as dictd searches a UTF-8 database in which every
// character counts. Every word that finds the entry (its abbreviation, key, spelled-out form and
// Japanese terms) has a line of its own; the header entries say what the database is.
class DictdWriter : public FormatWriter {
public:
    static QStringList FileNames(const QString& name);
    static QStringList StaleNames(const QString& name);

    DictdWriter(StagedFiles& files, const QString& name, ExportStats& stats);

    bool Begin() override;
    bool Add(ExportEntry entry) override;
    bool Finish(const DictionaryInfo& info) override;

private:
    bool AddArticle(const QStringList& headwords, const QByteArray& text);
    bool AddHeaderEntries(const DictionaryInfo& info);
    bool WriteIndex();

    StagedFiles& files_;
    QString name_;
    ExportStats& stats_;
    DictZipWriter text_;
    WordList index_; // headword, offset and length of the article
};
