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
// moves; otherwise the columns keep their shares of the width, the detail
// panel keeps its height while there is room for it, the trees, the model
// view and the grids take the rest of the height, and the status bar sits at
// the bottom. Neighbours never overlap and nothing leaves the client area.
WorkAreaRects layoutWorkArea(const WorkAreaRects& designed, QSize designedClient, QSize client);

// The smallest client size at which the layout still holds every control.
QSize minimumClientSize(const WorkAreaRects& designed);

} // namespace vorlu
