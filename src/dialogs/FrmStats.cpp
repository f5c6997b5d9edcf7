#include "dialogs/FrmStats.h"

#include "dialogs/DialogLook.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>

namespace vorlu {

FrmStats::FrmStats(QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmStats");
    setWindowTitle("Statistics");
    setModal(false);
    applyDialogLook(this);
    auto value = [this](const char* name) {
        auto* l = new QLabel(QStringLiteral("0"), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        // The blank before the node count stands for the sign; the digits line up.
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral(" 000000")));
        return l;
    };
    nodes_ = value("lblnodes");
    scanned_ = value("lblscanned");
    auto* form = new QFormLayout(this);
    form->setContentsMargins(24, 16, 48, 16);
    form->setHorizontalSpacing(16);
    form->addRow(QStringLiteral("Nodes:"), nodes_);
    form->addRow(QStringLiteral("Scanned:"), scanned_);
    setMinimumWidth(nodes_->fontMetrics().horizontalAdvance(QStringLiteral("Statistics")) * 3);
}

void FrmStats::setValues(const std::string& nodes, const std::string& scanned)
{
    nodes_->setText(QString::fromStdString(nodes));
    scanned_->setText(QString::fromStdString(scanned));
}

void FrmStats::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::string FrmStats::nodesValue() const { return nodes_->text().toStdString(); }

std::string FrmStats::scannedValue() const { return scanned_->text().toStdString(); }

} // namespace vorlu
