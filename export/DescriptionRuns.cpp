#include "export/DescriptionRuns.h"

#include "entryview/HyperText.h"
#include "export/HeadwordText.h"

namespace DescriptionRuns {
namespace {

// Collects runs: the style lives in the run being filled, which is handed over whenever the
// style or the link changes.
class RunBuilder {
public:
    Description& Result() {
        Flush();
        return description_;
    }
    void Append(QChar c) { current_.text += c; }
    // Ends the current run and gives the next one the changed style.
    Run& Next() {
        Flush();
        return current_;
    }
    void LineBreak() {
        Flush();
        description_.runs.push_back(Run{Run::Kind::LineBreak, {}, false, false, false, 0});
    }
    void Cleaned() { description_.cleaned = true; }

private:
    void Flush() {
        if (current_.text.isEmpty())
            return;
        description_.runs.push_back(current_);
        current_.text.clear();
    }

    Description description_;
    Run current_;
};

// Acts on the code letter at `at` (after a backslash); returns the index of the last character
// it consumed, or -1 for \f, which ends the description.
qsizetype ApplyCode(const QString& markup, qsizetype at, RunBuilder& builder) {
    const QChar code = markup[at];
    switch (code.unicode()) {
    case u'\\':
        builder.Append(code);
        return at;
    case u'J': {
        qsizetype position = at;
        const qint32 number = HyperText::ReadLinkNumber(markup, position, markup.size());
        // With digits, the character after them is the separator, which is never shown.
        if (position != at) {
            at = position;
            if (at + 1 < markup.size() && markup[at].isHighSurrogate() &&
                markup[at + 1].isLowSurrogate())
                ++at;
        }
        builder.Next().link = number > 0 ? number : 0;
        return at;
    }
    case u'j': {
        Run& next = builder.Next();
        next.link = 0;
        next.underline = false;
        return at;
    }
    case u'H':
        builder.Next().bold = true;
        return at;
    case u'h':
    case u'F':
        builder.Next().bold = false;
        builder.LineBreak();
        return at;
    case u'f':
        return -1;
    case u'B':
    case u'b':
        builder.Next().bold = code == u'B';
        return at;
    case u'I':
    case u'i':
        builder.Next().italic = code == u'I';
        return at;
    case u'U':
    case u'u':
        builder.Next().underline = code == u'U';
        return at;
    default:
        // An unknown code vanishes whole, also when its letter takes two units.
        if (code.isHighSurrogate() && at + 1 < markup.size() && markup[at + 1].isLowSurrogate())
            ++at;
        return at;
    }
}

} // namespace

Description Read(const QString& markup) {
    RunBuilder builder;
    const qsizetype n = markup.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = markup[i];
        if (c == u'\n') {
            builder.LineBreak();
        } else if (c.unicode() < 0x20 || HeadwordText::IsStrayControl(c.unicode())) {
            if (HeadwordText::IsStrayControl(c.unicode()))
                builder.Cleaned();
        } else if (c != u'\\') {
            builder.Append(c);
        } else {
            if (++i >= n)
                break; // a backslash at the very end is dropped
            i = ApplyCode(markup, i, builder);
            if (i < 0)
                break;
        }
    }
    return std::move(builder.Result());
}

} // namespace DescriptionRuns
