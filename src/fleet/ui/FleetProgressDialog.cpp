#include "fleet/ui/FleetProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlu {

FleetProgressDialog::FleetProgressDialog(QWidget* parent)
    : QDialog(parent), counts_(new QLabel(this)), current_(new QLabel(this)), failures_(new QLabel(this)),
      bar_(new QProgressBar(this))
{
    setWindowTitle("Diagnose All Nodes");
    auto* layout = new QVBoxLayout(this);
    auto* cancel = new QPushButton("Cancel", this);
    for (QWidget* w : {static_cast<QWidget*>(counts_), static_cast<QWidget*>(bar_), static_cast<QWidget*>(current_),
                       static_cast<QWidget*>(failures_), static_cast<QWidget*>(cancel)})
        layout->addWidget(w);
    connect(cancel, &QPushButton::clicked, this, &FleetProgressDialog::reject);
    setMinimumWidth(360);
}

void FleetProgressDialog::showProgress(std::function<void()> cancel)
{
    cancel_ = std::move(cancel);
    setProgress({});
    show();
}

void FleetProgressDialog::setProgress(const FleetProgress& p)
{
    counts_->setText(QString("Nodes done: %1 / %2").arg(p.done).arg(p.total));
    bar_->setRange(0, static_cast<int>(std::max<std::size_t>(p.total, 1)));
    bar_->setValue(static_cast<int>(p.done));
    current_->setText("Working on: " + QString::fromStdString(p.currentNode));
    failures_->setText(QString("Failures: %1").arg(p.failures));
}

void FleetProgressDialog::reject()
{
    // The window stays until the nodes under way have ended, within moments.
    if (cancel_)
        cancel_();
    current_->setText("Cancelling the nodes under way...");
}

} // namespace vorlu
