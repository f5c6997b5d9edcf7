#include "inventory/ui/InventoryWidgets.h"
#include "platform/ui/Twips.h"

#include "network/ui/FrmCon.h"

#include <QLabel>
#include <algorithm>

namespace vorlu {

void FrmConProgress::setCaption(const std::string& caption)
{
    dialog_.setWindowTitle(QString::fromStdString(caption));
}

void FrmConProgress::showDialog()
{
    dialog_.show();
    dialog_.raise();
}

void FrmConProgress::hideDialog() { dialog_.hide(); }
void FrmConProgress::setStatus(const std::string& text) { dialog_.setStatus(text); }
void FrmConProgress::setDetail(const std::string& text) { dialog_.setDetail(text); }

void FrmConProgress::setBarFraction(double filled)
{
    // The full bar spans the dialog as designed; it never widens it.
    constexpr double FullBarTwips = 8460;
    const int px = Twips{static_cast<double>(dialog_.logicalDpiX())}.px(filled * FullBarTwips);
    dialog_.setBarWidth(std::min(px, std::max(0, dialog_.width() - 24)));
}

void FrmConProgress::setBusyPointer(bool busy)
{
    if (busy)
        dialog_.setCursor(Qt::WaitCursor);
    else
        dialog_.unsetCursor();
}

void MainWindowInventoryView::setBusyPointer(bool busy)
{
    if (busy)
        window_.setCursor(Qt::WaitCursor);
    else
        window_.unsetCursor();
}

void MainWindowInventoryView::setStatusMessage(const std::string& text)
{
    message_.setText(QString::fromStdString(text));
    message_.setToolTip(message_.text());
}

} // namespace vorlu
