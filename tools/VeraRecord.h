#pragma once

#include <QString>
#include <QStringList>

// One entry of the acronym database, as its text reads:
//
//   3GIP
//          3rd Generation . Internet Protocol (org., IP, GPRS, WLAN,
//   mobile-systems), "3G.IP"
//
// The first line is the acronym in capitals without punctuation; the paragraph below it is the
// expansion, then in parentheses what the acronym belongs to (other acronyms, makers, subjects),
// then in quotes the acronym as it is really written.
struct VeraRecord {
    QString abbr;      // as written: the quoted spelling where there is one
    QString key;       // the search key of abbr
    QString expansion; // without the parenthesised list and the spelling
    QStringList tags;  // the parenthesised list, in order
};

enum class VeraParse { Ok, NoAbbreviation, NoExpansion };

VeraParse ParseVeraRecord(const QString& text, VeraRecord* record);

// The search key of an abbreviation: its normal form without the wildcard characters, which a
// stored key never holds.
QString EntryKeyOf(const QString& abbr);
