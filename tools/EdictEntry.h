#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// One line of the EDRDG's Japanese-English word lists (EDICT and the computing glossary COMPDIC),
// decoded:
//
//   中央処理装置 [ちゅうおうしょりそうち] /(n) (comp) central processing unit/CPU/
//   〆 [しめ] /(n) (1) tie up/bind/(n) (2) sum/total amount/(P)/
//
// The headword, its reading in square brackets (none when the headword is kana), then the English
// glosses between slashes. Tags in parentheses at the start of a gloss give the part of speech,
// the field ("comp") and usage notes; a number in parentheses starts a further sense; a last
// gloss "(P)" marks a common word.
struct EdictSense {
    QStringList tags;    // as written, without the sense number: "n", "comp", "abbr"
    QStringList glosses; // without the tags
    bool Computing() const { return tags.contains(QLatin1String("comp")); }
};

struct EdictEntry {
    QString headword;
    QString reading; // empty when the headword is its own reading
    QList<EdictSense> senses;
    bool common = false; // "(P)"
};

// Which of the lists an entry comes from; COMPDIC, the computing glossary, ranks first.
enum class EdictSource { Compdic, Edict };

enum class EdictParse {
    Ok,
    Header,    // the file's own first line, "？？？ /EDICT, ... /", which names the list
    NotAnEntry // not in the form HEADWORD [READING] /GLOSS/.../
};

EdictParse ParseEdictLine(QStringView line, EdictEntry* entry);

// Whether a parenthesised word at the start of a gloss is one of the lists' tags rather than the
// start of the gloss itself ("(computer) virus").
bool IsEdictTag(QStringView word);
