#pragma once

#include "entryview/LinkRegion.h"
#include "entryview/ReadingText.h"

#include <QString>
#include <QtGlobal>
#include <vector>

namespace HyperText {

// One reference as a reader meets it: the table's consecutive regions that lead to the same entry
// and whose texts follow one another (a wrapped link, or one with a style code inside).
struct DescriptionLink {
    qint32 linkId = 0;
    int firstRegion = 0; // indexes into the region table, both included
    int lastRegion = 0;
    QString text;   // what the reference says, its parts joined
    qint32 top = 0; // twips: the highest top and lowest bottom of its regions
    qint32 bottom = 0;
};

// The links of one drawn description, for the keyboard and for screen readers. Regions that drew
// nothing (zero width) belong to no link: there is nothing to see, read or press there.
class DescriptionLinks {
public:
    DescriptionLinks() = default;
    // The first `count` regions of `regions`, with their texts as `reading` recorded them.
    DescriptionLinks(const LinkRegions& regions, qint16 count, const ReadingText& reading);

    int LinkCount() const { return int(links_.size()); }
    const DescriptionLink& Link(int link) const { return links_[std::size_t(link)]; }
    // The regions that drew text, in table order.
    int VisibleRegionCount() const { return int(visibleRegions_.size()); }
    int VisibleRegion(int index) const { return visibleRegions_[std::size_t(index)]; }
    // Where a region stands among the visible ones; -1 for one that drew nothing.
    int VisibleIndex(int region) const;
    const LinkRegion& Region(int region) const { return regions_[std::size_t(region)]; }
    // The link a region belongs to; -1 for a region that drew nothing or is out of range.
    int LinkOfRegion(int region) const;

    // The link that moving forward (or back) from `current` reaches, -1 when there is none that
    // way. From no link (-1) it is the first link not wholly above the view (backwards: the last
    // one not wholly below it), so that the reader lands near what is on view.
    int Step(int current, bool forward, qint32 viewTop, qint32 viewBottom) const;

private:
    LinkRegions regions_;
    std::vector<DescriptionLink> links_;
    std::vector<int> visibleRegions_;
    std::vector<int> linkOfRegion_;
};

// The scroll offset that brings [top, bottom) into a view of `viewHeight` now scrolled to
// `offset`: unchanged when it is in view already, else moved just far enough; a stretch taller
// than the view shows its top. Any unit, as long as all arguments share it.
qint32 OffsetShowing(qint32 offset, qint32 viewHeight, qint32 top, qint32 bottom);

} // namespace HyperText
