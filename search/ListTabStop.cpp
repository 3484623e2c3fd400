#include "search/ListTabStop.h"

#include <algorithm>
#include <cmath>

int TabStopForBaseUnit(int baseUnit) {
    return int(std::nearbyint(baseUnit / 2.0)) * 14;
}

ResultColumns ResultColumnsFor(int tabStop, int widestAbbreviation, int gap, int listWidth) {
    const int needed = widestAbbreviation + gap;
    // The column never moves left of the stop, even in a list too narrow for half its width.
    const int column =
        needed <= tabStop ? tabStop : std::max(tabStop, std::min(needed, listWidth / 2));
    return {column, std::max(0, column - gap)};
}
