// The abbreviations of running text: any bytes a selection, a pipe or a file can hold, read as
// UTF-8, split into words and looked up in a small dictionary; and the first Japanese term of a
// description in our markup.
//
// Whatever the text holds, every word is a piece of it as written, folded one character for one
// into ASCII letters, digits and joining characters, beginning with a letter or digit; it counts
// by the rule; and no entry is reported twice, each with a word that stands in the text.

#include "FuzzCheck.h"
#include "FuzzDictionary.h"
#include "data/Strings.h"
#include "search/TextAbbreviations.h"

#include <QSet>
#include <memory>

namespace {

// A dictionary with the kinds of keys the rule meets: plain, joined, two entries for one key.
bool FillDictionary(DictionaryWriter& writer) {
    if (!writer.AddCategory(1, QStringLiteral("一般"), QString()))
        return false;
    qint32 id = 0;
    for (const char* abbr : {"CPU", "TCP/IP", "Wi-Fi", "U.S.", "3G", "IoT", "DMA", "DMA", "OS"}) {
        const QString text = QString::fromLatin1(abbr);
        QString key;
        for (const QChar c : text) {
            if (c.isLetterOrNumber())
                key += c.toUpper();
        }
        ++id;
        if (!writer.AddEntry({id, key, text, QStringLiteral("Letter %1").arg(id), false, 1,
                              QStringLiteral("\\B用語%1\\b（ようご）").arg(id), text, QString()}))
            return false;
    }
    return true;
}

bool IsWordCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
           u == u'/' || u == u'-' || u == u'.' || u == u'&' || u == u'\'';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto dictionary = std::make_unique<FuzzDictionary>(FillDictionary);
    FUZZ_CHECK(dictionary->ok);
    // A selection is cut at 64 KiB; longer inputs add nothing but time.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                           qsizetype(std::min(size, size_t(1) << 16)));

    for (const TextAbbreviations::Word& word : TextAbbreviations::CountingWords(text)) {
        FUZZ_CHECK(!word.written.isEmpty() && text.contains(word.written));
        FUZZ_CHECK(word.folded.size() == word.written.size());
        for (const QChar c : word.folded)
            FUZZ_CHECK(IsWordCharacter(c));
        FUZZ_CHECK(word.folded.front().isLetterOrNumber());
        FUZZ_CHECK(TextAbbreviations::Counts(word.folded));
        const QString singular = Strings::Singular(word.folded);
        FUZZ_CHECK(singular.isEmpty() || word.folded.startsWith(singular));
    }

    QSet<qint32> ids;
    for (const TextAbbreviations::Found& found :
         TextAbbreviations::FindAll(dictionary->db.Db(), text)) {
        FUZZ_CHECK(!ids.contains(found.id));
        ids.insert(found.id);
        FUZZ_CHECK(text.contains(found.written));
        FUZZ_CHECK(found.japaneseTerm == QStringLiteral("用語%1").arg(found.id));
    }

    // The same bytes as a description: only one that begins in bold has a term.
    const QString term = TextAbbreviations::FirstJapaneseTerm(text);
    FUZZ_CHECK(term.isEmpty() || text.startsWith(u"\\B"));
    return 0;
}
