#include "fulltext/EntryText.h"

#include "data/DbAccess.h"
#include "data/Strings.h"
#include "entryview/DrawnText.h"
#include "fulltext/TextFold.h"

namespace EntryText {

QString DrawnDescription(const QString& hyperText) {
    return HyperText::DrawnText(
        Strings::CutToCodePageBytes(hyperText, DbAccess::kDescriptionBytes));
}

std::string IndexText(const DictionaryRows::Entry& entry) {
    std::string text;
    text.reserve(size_t(entry.abbr.size() + entry.letter.size()) +
                 size_t(entry.hyperText.size()) * 3 + 8);
    TextFold::AppendIndexText(entry.abbr, text);
    text += '\n';
    TextFold::AppendIndexText(entry.letter, text);
    text += '\n';
    const size_t drawnStart = text.size();
    TextFold::AppendIndexText(DrawnDescription(entry.hyperText), text);
    const std::string_view drawn = std::string_view(text).substr(drawnStart);

    std::string plain;
    TextFold::AppendIndexText(entry.description, plain);
    auto trimmed = [](std::string_view s) {
        while (!s.empty() && s.front() == '\n')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == '\n')
            s.remove_suffix(1);
        return s;
    };
    if (trimmed(plain) != trimmed(drawn)) {
        text += '\n';
        text += plain;
    }
    // Two line feeds at the end make every character, the last ones included, the beginning of
    // a trigram, so that the index's vocabulary can lead to a term of one or two characters.
    text += "\n\n";
    return text;
}

} // namespace EntryText
