#include "app/ResizeLayout.h"

#include <algorithm>
#include <cmath>

namespace vorlu {

namespace {

// The detail panel never takes more than this share of the work area's height.
constexpr double DetailShare = 0.45;

} // namespace

WorkAreaRects layoutWorkArea(const WorkAreaRects& d, QSize designedClient, QSize client)
{
    const double sx = designedClient.width() > 0 ? double(client.width()) / designedClient.width() : 1.0;
    // Edges scale with the width, so neighbours keep their order and gaps.
    auto columns = [sx](const QRect& r, int top, int bottom) {
        const int left = static_cast<int>(std::lround(r.left() * sx));
        const int right = static_cast<int>(std::lround((r.left() + r.width()) * sx));
        return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    };
    const int statusTop = client.height() - d.statusBar.height();
    const int dy = statusTop - d.statusBar.top();
    auto bottomOf = [](const QRect& r) { return r.top() + r.height(); };

    WorkAreaRects out;
    out.statusBar = QRect(0, statusTop, client.width(), d.statusBar.height());
    out.model = columns(d.model, d.model.top(), bottomOf(d.model) + dy);
    out.grids = columns(d.grids, d.grids.top(), bottomOf(d.grids) + dy);
    // The panel's contents are laid out for its designed height; it gives up
    // height only when the window is too low to hold it and trees of some size.
    const int room = std::max(statusTop - d.detail.top(), 0);
    const int detailHeight =
        dy >= 0 ? d.detail.height() : std::min(d.detail.height(), static_cast<int>(room * DetailShare));
    out.detail = columns(d.detail, d.detail.top(), d.detail.top() + detailHeight);
    const int treeGap = d.nodeTree.top() - bottomOf(d.detail);
    const int treeTop = bottomOf(out.detail) + treeGap;
    out.nodeTree = columns(d.nodeTree, treeTop, std::max(bottomOf(d.nodeTree) + dy, treeTop));
    out.hardwareTree = columns(d.hardwareTree, treeTop + (d.hardwareTree.top() - d.nodeTree.top()),
                               std::max(bottomOf(d.hardwareTree) + dy, treeTop));
    return out;
}

QSize minimumClientSize(const WorkAreaRects& d)
{
    // Room for the bars, a detail panel of some height and trees of a few lines.
    const int height = d.detail.top() + 120 + 100 + d.statusBar.height();
    return QSize(std::max(560, d.grids.left() * 4), height);
}

} // namespace vorlu
