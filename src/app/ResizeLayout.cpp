#include "app/ResizeLayout.h"

#include <algorithm>
#include <cmath>

namespace vorlu {

namespace {

// Narrower than designed, the model view gives up width down to this, so the
// detail panel, laid out for its designed size, keeps every field in view.
constexpr int MinModelWidth = 160;
// Trees of a few lines below the panel.
constexpr int MinTreeHeight = 100;

} // namespace

WorkAreaRects layoutWorkArea(const WorkAreaRects& d, QSize designedClient, QSize client)
{
    const int modelRight = d.model.left() + d.model.width();
    const int slack = std::max(d.model.width() - MinModelWidth, 0);
    const int narrower = designedClient.width() - client.width();
    const int shift = std::clamp(narrower, 0, slack);
    // Wider than designed, every edge scales; narrower, the edges right of the model move left by what the
    // model gives up, and only below that does everything scale.
    const int rest = designedClient.width() - shift;
    const double sx = narrower < 0 ? double(client.width()) / std::max(designedClient.width(), 1)
                                   : double(client.width()) / std::max(rest, 1);
    auto edge = [&](int x) {
        const int moved = narrower > 0 && x >= modelRight ? x - shift : x;
        return static_cast<int>(std::lround(moved * sx));
    };
    auto columns = [&](const QRect& r, int top, int bottom) {
        const int left = edge(r.left());
        const int right = edge(r.left() + r.width());
        return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    };
    const int statusTop = client.height() - d.statusBar.height();
    const int dy = statusTop - d.statusBar.top();
    auto bottomOf = [](const QRect& r) { return r.top() + r.height(); };

    WorkAreaRects out;
    out.statusBar = QRect(0, statusTop, client.width(), d.statusBar.height());
    out.model = columns(d.model, d.model.top(), bottomOf(d.model) + dy);
    out.grids = columns(d.grids, d.grids.top(), bottomOf(d.grids) + dy);
    // The panel's contents are laid out for its designed height: it keeps it while the trees keep a few
    // lines, and gives up height only in a window lower than the minimum.
    const int treeGap = d.nodeTree.top() - bottomOf(d.detail);
    const int room = std::max(statusTop - d.detail.top() - treeGap - MinTreeHeight, 0);
    const int detailHeight = std::min(d.detail.height(), room);
    out.detail = columns(d.detail, d.detail.top(), d.detail.top() + detailHeight);
    const int treeTop = bottomOf(out.detail) + treeGap;
    out.nodeTree = columns(d.nodeTree, treeTop, std::max(bottomOf(d.nodeTree) + dy, treeTop));
    out.hardwareTree = columns(d.hardwareTree, treeTop + (d.hardwareTree.top() - d.nodeTree.top()),
                               std::max(bottomOf(d.hardwareTree) + dy, treeTop));
    return out;
}

QSize minimumClientSize(const WorkAreaRects& d, QSize designedClient)
{
    // The model at its narrowest; the panel at its designed size with trees of a few lines below it.
    const int width = designedClient.width() - std::max(d.model.width() - MinModelWidth, 0);
    const int treeGap = d.nodeTree.top() - (d.detail.top() + d.detail.height());
    const int height = d.detail.top() + d.detail.height() + treeGap + MinTreeHeight + d.statusBar.height();
    return QSize(width, height);
}

} // namespace vorlu
