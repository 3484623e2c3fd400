#pragma once

#include "export/ExportEntry.h"
#include "export/ExportJob.h"

#include <QString>

// Writes the entries of a dictionary, one at a time in the order of the result list, into the
// staged files of one format.
class FormatWriter {
public:
    virtual ~FormatWriter() = default;
    virtual bool Begin() = 0;
    virtual bool Add(ExportEntry entry) = 0;
    // Writes what it still holds of the entries, once all have been added.
    virtual bool EndEntries() { return true; }
    // Writes what remains: the index, the header articles, the description.
    virtual bool Finish(const DictionaryInfo& info) = 0;
    QString ErrorText() const { return error_; }

protected:
    bool Fail(const QString& what) {
        if (error_.isEmpty())
            error_ = what;
        return false;
    }

private:
    QString error_;
};
