#include "entryview/DescriptionLinks.h"

#include <algorithm>

namespace HyperText {

namespace {

// Only paragraph ends lie between the parts of one link: a link stays open across them.
bool OnlyLineFeeds(const QString& text, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i) {
        if (text[i] != u'\n')
            return false;
    }
    return true;
}

} // namespace

DescriptionLinks::DescriptionLinks(const LinkRegions& regions, qint16 count,
                                   const ReadingText& reading) {
    const qsizetype usable =
        std::min({qsizetype(std::max<qint16>(count, 0)), qsizetype(regions.size()),
                  qsizetype(reading.regionSpans.size())});
    regions_.assign(regions.begin(), regions.begin() + usable);
    linkOfRegion_.assign(std::size_t(usable), -1);
    qsizetype previousEnd = -1;
    for (qsizetype i = 0; i < usable; ++i) {
        const TextSpan span = reading.regionSpans[std::size_t(i)];
        const LinkRegion& region = regions_[std::size_t(i)];
        if (span.length() <= 0 || span.end > reading.text.size())
            continue;
        const bool continues = !links_.empty() && links_.back().linkId == region.LinkId &&
                               previousEnd >= 0 && previousEnd <= span.start &&
                               OnlyLineFeeds(reading.text, previousEnd, span.start);
        if (!continues) {
            links_.push_back({region.LinkId, int(i), int(i), QString(), region.Top, region.Bottom});
        } else if (!links_.back().text.isEmpty() && previousEnd < span.start) {
            links_.back().text += u' '; // the parts of a link split by a paragraph end
        }
        DescriptionLink& link = links_.back();
        link.lastRegion = int(i);
        link.text += reading.text.mid(span.start, span.length());
        link.top = std::min<qint32>(link.top, region.Top);
        link.bottom = std::max<qint32>(link.bottom, region.Bottom);
        linkOfRegion_[std::size_t(i)] = LinkCount() - 1;
        visibleRegions_.push_back(int(i));
        previousEnd = span.end;
    }
}

int DescriptionLinks::LinkOfRegion(int region) const {
    if (region < 0 || region >= int(linkOfRegion_.size()))
        return -1;
    return linkOfRegion_[std::size_t(region)];
}

int DescriptionLinks::VisibleIndex(int region) const {
    const auto found = std::lower_bound(visibleRegions_.begin(), visibleRegions_.end(), region);
    if (found == visibleRegions_.end() || *found != region)
        return -1;
    return int(found - visibleRegions_.begin());
}

int DescriptionLinks::Step(int current, bool forward, qint32 viewTop, qint32 viewBottom) const {
    const int n = LinkCount();
    if (current >= 0 && current < n) {
        const int next = current + (forward ? 1 : -1);
        return next >= 0 && next < n ? next : -1;
    }
    if (forward) {
        for (int i = 0; i < n; ++i) {
            if (links_[std::size_t(i)].bottom > viewTop)
                return i;
        }
    } else {
        for (int i = n - 1; i >= 0; --i) {
            if (links_[std::size_t(i)].top < viewBottom)
                return i;
        }
    }
    return -1;
}

qint32 OffsetShowing(qint32 offset, qint32 viewHeight, qint32 top, qint32 bottom) {
    if (top < offset || bottom - top > viewHeight)
        return top;
    if (bottom > offset + viewHeight)
        return bottom - viewHeight;
    return offset;
}

} // namespace HyperText
