#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The dictionary a random-use run works on, and what the run knows about it without asking the
// window: every entry's abbreviation and web address, read straight from the file.
struct UseDictionary {
    struct Facts {
        QString abbr;
        QString url;
    };

    QString dir;  // the folder with ABBR.MDB, as the window is started on it
    QString path; // the file itself
    QHash<qint32, Facts> entries;
    QStringList abbreviations; // in id order, for typing keys that find something

    // Writes a dictionary made for random use into `dir`: references that wrap, lead nowhere or
    // point at entries without a record, descriptions long enough to scroll, addresses a browser
    // opens and addresses it must not, keys that share a normal form, and Japanese text.
    static bool Make(const QString& dir, QString* error);

    // Reads the dictionary in `dir`; false with `error` when it cannot be read.
    static bool Read(const QString& dir, UseDictionary* into, QString* error);

    // The file's bytes, to hold them unchanged.
    QByteArray Digest() const;
};
