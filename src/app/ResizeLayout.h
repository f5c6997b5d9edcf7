#pragma once
#include <QRect>
#include <QSize>

namespace vorlu {

// The work area of the main window as it was laid out at its designed client
// size: the model view, the detail panel, the two trees, the grids (which
// cover the area) and the status bar at the bottom.
struct WorkAreaRects {
    QRect model, detail, nodeTree, hardwareTree, grids, statusBar;
};

// The same controls for another client size. At the designed size nothing
// moves. Wider, the columns keep their shares of the width; narrower, the
// model view gives up width first, so the detail panel keeps its designed
// size and every field in it. The detail panel keeps its height while the
// trees below it keep a few lines; the trees, the model view and the grids
// take the rest of the height, and the status bar sits at the bottom.
// Neighbours never overlap and nothing leaves the client area.
WorkAreaRects layoutWorkArea(const WorkAreaRects& designed, QSize designedClient, QSize client);

// The smallest client size at which the detail panel keeps its designed size.
QSize minimumClientSize(const WorkAreaRects& designed, QSize designedClient);

} // namespace vorlu
