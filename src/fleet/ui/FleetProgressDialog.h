#pragma once
#include "fleet/FleetCommands.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace vorlu {

// The progress window of "Diagnose All Nodes": nodes done / total, the node
// being worked on, the failures so far and Cancel.
class FleetProgressDialog : public QDialog, public FleetProgressView {
public:
    explicit FleetProgressDialog(QWidget* parent);

    void showProgress(std::function<void()> cancel) override;
    void setProgress(const FleetProgress& progress) override;
    void hideProgress() override { hide(); }

protected:
    // Closing the window asks to stop, as Cancel does.
    void reject() override;

private:
    QLabel* counts_;
    QLabel* current_;
    QLabel* failures_;
    QProgressBar* bar_;
    std::function<void()> cancel_;
};

} // namespace vorlu
