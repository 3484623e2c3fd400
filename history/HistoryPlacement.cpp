#include "history/HistoryPlacement.h"

namespace HistoryPlacement {

Result Place(const MainWindow& main, qint32 screenWidth, qint32 ownWidth, qint32 ownHeight) {
    Result r;
    r.height = ownHeight;
    if (main.maximized) {
        // Inside the maximised window's right edge, below its title and menu bars.
        r.left = main.width - ownWidth;
        r.top = main.top + (main.height - main.clientHeight);
    } else {
        const float roomRight = float(screenWidth) - float(main.left) - float(main.width);
        if (roomRight > float(ownWidth))
            r.left = main.left + main.width;
        else if (main.left > ownWidth)
            r.left = main.left - ownWidth;
        else
            r.left = screenWidth - ownWidth;
        r.top = main.top;
    }
    if (main.normal)
        r.height = main.height;
    return r;
}

} // namespace HistoryPlacement
