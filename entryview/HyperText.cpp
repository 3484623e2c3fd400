#include "entryview/HyperText.h"

#include "entryview/ReadableColors.h"

#include <algorithm>
#include <limits>

namespace HyperText {

namespace {

// Region bounds are 16-bit, so nothing is drawn where its rectangle could not be recorded.
constexpr qint32 MaxCoordinate = std::numeric_limits<qint16>::max();

qint16 toCoordinate(qint64 twips) {
    return qint16(std::clamp<qint64>(twips, std::numeric_limits<qint16>::min(), MaxCoordinate));
}

bool isAsciiLetterOrDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

bool isWordStart(QChar c) {
    return isAsciiLetterOrDigit(c) || c == u'-' || c == u'/';
}

bool isWordContinuation(QChar c) {
    return isWordStart(c) || c == u'<' || c == u'>';
}

// The ideographic comma and full stop, which must not begin a line.
bool isLineStartForbidden(const QString& piece) {
    return piece.size() == 1 && (piece[0] == QChar(0x3001) || piece[0] == QChar(0x3002));
}

// Characters outside the Basic Multilingual Plane are two UTF-16 units; they are placed, carried
// and dropped as one character so that a line break never splits them into unprintable halves.
qsizetype characterLengthAt(const QString& text, qsizetype i) {
    if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

qsizetype lastCharacterLength(const QString& text) {
    const qsizetype n = text.size();
    if (n >= 2 && text[n - 1].isLowSurrogate() && text[n - 2].isHighSurrogate())
        return 2;
    return 1;
}

// One rendering: the state lives exactly as long as the call.
class DescriptionRenderer {
public:
    DescriptionRenderer(DrawSurface& surface, const QString& text, LinkRegions& regions,
                        ReadingText* reading)
        : surface_(surface), text_(text), regions_(regions), reading_(reading) {}

    qint16 render(const DisplayFont& font);

private:
    void setUp(const DisplayFont& font);
    // Handles the code after the backslash at `backslashAt`; returns where reading goes on.
    qsizetype applyCode(qsizetype backslashAt);
    qsizetype gatherWord(qsizetype start, QString& word);
    void place(const QString& piece);
    void printPending();
    void readWrappedSpace();
    void newLine(qint32 advance);
    // A new line that also ends a paragraph, which the reading text marks with a line feed.
    void endParagraph(qint32 advance);
    void setLink(qint32 number);

    DrawSurface& surface_;
    const QString& text_;
    LinkRegions& regions_;
    ReadingText* reading_; // filled as the text is drawn, when asked for

    qint16 regionCount_ = 0;
    qint32 linkNumber_ = 0;
    qint16 lineHeight_ = 0;
    qint16 margin_ = 0;
    qint16 usableWidth_ = 0;
    RgbColor windowText_;
    RgbColor linkColor_ = LinkColor;
    RgbColor brokenLinkColor_ = BrokenLinkColor;
    QString pending_;
    // Kept wider than the 16 bits a line could need so that an absurdly wide character cannot make
    // it wrap around.
    qint64 usedWidth_ = 0;
    bool finished_ = false; // \f, or the bottom of the recordable area was reached
    // The line began at a wrap and has had only spaces so far: those are not drawn.
    bool atWrap_ = false;
    qsizetype wordEnd_ = 0; // end of the word being cut into pieces
};

qint16 DescriptionRenderer::render(const DisplayFont& font) {
    surface_.Cls();
    regions_.clear();
    regions_.reserve(11);
    if (reading_)
        reading_->clear();
    if (text_.isEmpty())
        return 0;

    setUp(font);
    const qsizetype n = text_.size();
    qsizetype i = 0;
    while (i < n && !finished_) {
        const QChar c = text_[i];
        if (c == u'\n') {
            printPending();
            endParagraph(lineHeight_ + margin_);
            ++i;
        } else if (c.unicode() < 32) {
            ++i; // carriage returns, tabs and other controls leave no trace
        } else if (c == u'\\') {
            i = applyCode(i);
        } else if (isWordStart(c)) {
            QString word;
            i = gatherWord(i, word);
            place(word);
        } else {
            const qsizetype length = characterLengthAt(text_, i);
            place(text_.mid(i, length));
            i += length;
        }
    }

    // A link left open at the end still gets its rectangle: its text is drawn blue and underlined,
    // so it must be clickable too. An empty remainder adds no zero-width rectangle.
    if (!pending_.isEmpty())
        printPending();
    return regionCount_;
}

void DescriptionRenderer::setUp(const DisplayFont& font) {
    surface_.SetFontName(font.name);
    surface_.SetFontSize(font.size);
    surface_.SetFontBold(false);
    // Italic and underline are reset as well: a description that left them switched on must not
    // change how the next entry looks.
    surface_.SetFontItalic(false);
    surface_.SetFontUnderline(false);
    windowText_ = surface_.WindowTextColor();
    surface_.SetForeColor(windowText_);
    // On a dark background pure blue and red are hard to read; a light one keeps them exactly.
    const RgbColor background = surface_.BackgroundColor();
    linkColor_ = ReadableOn(LinkColor, background);
    brokenLinkColor_ = ReadableOn(BrokenLinkColor, background);

    lineHeight_ = toCoordinate(std::max(surface_.TextHeight(QStringLiteral(" ")), 0));
    margin_ = qint16(lineHeight_ / 10);
    // Lines end within the 16-bit range of the region bounds even in a very wide box; such lines
    // are far too long to read anyway.
    const qint64 widest = MaxCoordinate - 2 * qint64(margin_);
    usableWidth_ =
        qint16(std::clamp<qint64>(qint64(surface_.ScaleWidth()) - 2 * margin_, 0, widest));

    surface_.SetCurrentX(margin_);
    surface_.SetCurrentY(margin_);
    if (margin_ + lineHeight_ > MaxCoordinate)
        finished_ = true; // a font this large leaves no line whose rectangle could be recorded
}

qsizetype DescriptionRenderer::applyCode(qsizetype backslashAt) {
    const qsizetype codeAt = backslashAt + 1;
    if (codeAt >= text_.size())
        return codeAt; // a backslash at the very end is dropped
    const QChar code = text_[codeAt];
    qsizetype next = codeAt + characterLengthAt(text_, codeAt);
    switch (code.unicode()) {
    case u'\\':
        place(QStringLiteral("\\"));
        return next;
    case u'J': {
        printPending();
        qsizetype position = codeAt;
        const qint32 number = ReadLinkNumber(text_, position, text_.size());
        if (position != codeAt) // digits were read; the character after them is the separator
            next =
                position < text_.size() ? position + characterLengthAt(text_, position) : position;
        setLink(number);
        return next;
    }
    case u'j':
        printPending();
        surface_.SetForeColor(windowText_);
        surface_.SetFontUnderline(false);
        linkNumber_ = 0;
        return next;
    case u'H':
        printPending();
        surface_.SetForeColor(windowText_);
        surface_.SetFontBold(true);
        return next;
    case u'h':
        printPending();
        surface_.SetForeColor(windowText_);
        surface_.SetFontBold(false);
        endParagraph(lineHeight_ + lineHeight_ / 2 + margin_);
        return next;
    case u'F':
        printPending();
        surface_.SetForeColor(windowText_);
        surface_.SetFontBold(false);
        endParagraph(lineHeight_ / 2 + margin_);
        return next;
    case u'f':
        printPending();
        finished_ = true;
        return next;
    case u'B':
    case u'b':
        printPending();
        surface_.SetFontBold(code == u'B');
        return next;
    case u'I':
    case u'i':
        printPending();
        surface_.SetFontItalic(code == u'I');
        return next;
    case u'U':
    case u'u':
        printPending();
        surface_.SetFontUnderline(code == u'U');
        return next;
    default:
        return next; // unknown codes vanish without breaking the run
    }
}

void DescriptionRenderer::setLink(qint32 number) {
    if (number > 0) {
        surface_.SetForeColor(linkColor_);
        surface_.SetFontUnderline(true);
        linkNumber_ = number;
    } else {
        // Red shows the author a reference that leads nowhere; it is not clickable.
        surface_.SetForeColor(brokenLinkColor_);
        linkNumber_ = 0;
    }
}

qsizetype DescriptionRenderer::gatherWord(qsizetype start, QString& word) {
    // The end of the word is found once; the pieces of a word wider than a line reuse it.
    if (start >= wordEnd_) {
        wordEnd_ = start + 1;
        while (wordEnd_ < text_.size() && isWordContinuation(text_[wordEnd_]))
            ++wordEnd_;
    }
    // A word wider than a whole line is cut into pieces that each fill at most one line; the
    // first character is taken even when it alone is wider.
    const qsizetype fitting =
        surface_.FittingLength(text_, start, wordEnd_ - start, qint32(usableWidth_));
    const qsizetype length = std::max<qsizetype>(1, fitting);
    word = text_.mid(start, length);
    return start + length;
}

void DescriptionRenderer::place(const QString& piece) {
    // Spaces that fall at a wrap would indent the next line: they are left out of the drawing,
    // but the reader still hears the words apart.
    const bool space = piece.size() == 1 && piece[0] == u' ';
    if (space && atWrap_) {
        readWrappedSpace();
        return;
    }
    atWrap_ = false;
    const qint32 width = surface_.TextWidth(piece);
    // A line with nothing on it yet takes whatever comes, even if it is too wide: breaking first
    // would only add an empty line.
    if (usedWidth_ == 0 || usedWidth_ + width <= usableWidth_) {
        pending_ += piece;
        usedWidth_ += width;
        return;
    }

    QString carried = piece;
    // The ideographic comma and full stop never begin a line: the character before them comes
    // along. When that character was already drawn (a style code ended the run), the punctuation
    // moves alone, since drawn text cannot be taken back.
    if (isLineStartForbidden(piece) && !pending_.isEmpty()) {
        const qsizetype length = lastCharacterLength(pending_);
        carried.prepend(pending_.right(length));
        pending_.chop(length);
    }
    printPending();
    newLine(lineHeight_ + margin_);
    if (finished_)
        return;
    if (space) {
        atWrap_ = true;
        readWrappedSpace();
        return;
    }
    pending_ = carried;
    usedWidth_ = surface_.TextWidth(carried);
}

// A space left out at a wrap is still read between the words; inside a link it belongs to the
// link's text, whose two lines then read as one.
void DescriptionRenderer::readWrappedSpace() {
    if (!reading_)
        return;
    const qsizetype end = reading_->text.size();
    reading_->text += u' ';
    if (linkNumber_ > 0 && !reading_->regionSpans.empty() &&
        reading_->regionSpans.back().end == end)
        reading_->regionSpans.back().end = end + 1;
}

void DescriptionRenderer::printPending() {
    if (!reading_) {
        PrintRun(surface_, pending_, lineHeight_, regions_, regionCount_, linkNumber_);
        pending_.clear();
        return;
    }
    const qsizetype start = reading_->text.size();
    if (!pending_.isEmpty()) {
        reading_->printStarts.push_back(start);
        reading_->text += pending_;
        reading_->contentHeight =
            std::max<qint32>(reading_->contentHeight, surface_.CurrentY() + lineHeight_ + margin_);
    }
    const qint16 regionsBefore = regionCount_;
    PrintRun(surface_, pending_, lineHeight_, regions_, regionCount_, linkNumber_);
    if (regionCount_ != regionsBefore)
        reading_->regionSpans.push_back({start, reading_->text.size()});
    pending_.clear();
}

void DescriptionRenderer::newLine(qint32 advance) {
    const qint64 y = qint64(surface_.CurrentY()) + advance;
    // Below this line a rectangle's bottom would not fit 16 bits; that is far below any visible
    // part of the box, so the rest of a very long description is simply left out.
    if (y + lineHeight_ > MaxCoordinate) {
        finished_ = true;
        return;
    }
    surface_.SetCurrentX(margin_);
    surface_.SetCurrentY(qint32(y));
    usedWidth_ = 0;
    atWrap_ = false;
}

void DescriptionRenderer::endParagraph(qint32 advance) {
    newLine(advance);
    if (reading_ && !finished_)
        reading_->text += u'\n';
}

} // namespace

qint16 RenderDescription(DrawSurface& surface, const QString& text, LinkRegions& regions,
                         const DisplayFont& font, ReadingText* reading) {
    DescriptionRenderer renderer(surface, text, regions, reading);
    return renderer.render(font);
}

qint32 ReadLinkNumber(const QString& text, qsizetype& position, qsizetype length) {
    length = std::min(length, text.size());
    if (position < 0 || position >= length)
        return 0;
    qsizetype i = position + 1;
    qint64 value = 0;
    bool overflow = false;
    while (i < length && text[i] >= u'0' && text[i] <= u'9') {
        if (!overflow) {
            value = value * 10 + (text[i].unicode() - u'0');
            overflow = value > std::numeric_limits<qint32>::max();
        }
        ++i;
    }
    if (i == position + 1)
        return 0;
    position = i;
    return overflow ? 0 : qint32(value);
}

void PrintRun(DrawSurface& surface, const QString& run, qint16 lineHeight, LinkRegions& regions,
              qint16& regionCount, qint32 linkNumber) {
    const qint32 width = run.isEmpty() ? 0 : surface.TextWidth(run);
    if (linkNumber > 0 && regionCount >= 0 && regionCount < MaxLinkRegions) {
        const qint64 x = surface.CurrentX();
        const qint64 y = surface.CurrentY();
        regions.resize(std::size_t(regionCount));
        regions.push_back(LinkRegion{linkNumber, toCoordinate(x), toCoordinate(y),
                                     toCoordinate(x + width), toCoordinate(y + lineHeight)});
        ++regionCount;
    }
    if (!run.isEmpty())
        surface.Print(run);
}

} // namespace HyperText
