// The main window's layout at sizes other than the designed one.
#include "app/MainWindow.h"

#include "app/ResizeLayout.h"

#include <QLabel>

#include <algorithm>
#include <QTableWidget>
#include <QTreeWidget>

namespace vorlu {

void Frmmain::captureDesign()
{
    designedRects_ = std::make_unique<WorkAreaRects>(WorkAreaRects{picGR_->geometry(), picture3_->geometry(),
                                                                   treeView1_->geometry(), trView1_->geometry(),
                                                                   grids_[0]->geometry(), picture2_->geometry()});
    designedClient_ = size();
    // The counters of the command bar must stay in view too.
    const QSize work = minimumClientSize(*designedRects_, designedClient_);
    const QLabel* red = counters_[2];
    const int counters = red->mapTo(this, QPoint(red->width(), 0)).x();
    setMinimumSize(std::max(work.width(), counters + 8), work.height());
}

void Frmmain::applyResizeLayout()
{
    if (!designedRects_)
        return;
    const WorkAreaRects r = layoutWorkArea(*designedRects_, designedClient_, size());
    picGR_->setGeometry(r.model);
    picture3_->setGeometry(r.detail);
    treeView1_->setGeometry(r.nodeTree);
    trView1_->setGeometry(r.hardwareTree);
    for (QTableWidget* g : grids_)
        g->setGeometry(r.grids);
    picture2_->setGeometry(r.statusBar);
}

} // namespace vorlu
