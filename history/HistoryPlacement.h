#pragma once

#include <QtGlobal>

// Where the history window opens beside the main window. All values are outer window sizes
// and positions in twips.
namespace HistoryPlacement {

struct MainWindow {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    qint32 clientHeight = 0; // below the title and menu bars
    bool maximized = false;
    bool normal = true; // neither minimised nor maximised
};

struct Result {
    qint32 left = 0;
    qint32 top = 0;
    qint32 height = 0;
};

// ownWidth and ownHeight: the history window's outer size with its list at full size.
Result Place(const MainWindow& main, qint32 screenWidth, qint32 ownWidth, qint32 ownHeight);

} // namespace HistoryPlacement
