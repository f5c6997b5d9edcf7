#pragma once
#include <QDialog>
#include <string>

class QLabel;

namespace vorlu {

// "Statistics": how many nodes, and how many of them were scanned.
class FrmStats : public QDialog {
    Q_OBJECT
public:
    explicit FrmStats(QWidget* parent = nullptr);
    void setValues(const std::string& nodes, const std::string& scanned);
    std::string nodesValue() const;
    std::string scannedValue() const;

protected:
    // Escape closes it as its close box does: it has no other way to go.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* nodes_;
    QLabel* scanned_;
};

} // namespace vorlu
