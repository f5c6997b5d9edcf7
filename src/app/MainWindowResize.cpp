// The main window's layout at sizes other than the designed one.
#include "app/MainWindow.h"

#include "app/ResizeLayout.h"

#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>

namespace vorlu {

void Frmmain::captureDesign()
{
    designedRects_ = std::make_unique<WorkAreaRects>(WorkAreaRects{picGR_->geometry(), picture3_->geometry(),
                                                                   treeView1_->geometry(), trView1_->geometry(),
                                                                   grids_[0]->geometry(), picture2_->geometry()});
    designedClient_ = size();
    setMinimumSize(minimumClientSize(*designedRects_));
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
