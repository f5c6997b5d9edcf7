#pragma once
#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QTableWidget;
class QPushButton;

namespace vorlu {

// The one progress window: status line, node grid and progress bar. It never
// blocks the main window; OK and the close box both run the OK handler.
class FrmCon : public QDialog {
    Q_OBJECT
public:
    explicit FrmCon(QWidget* parent = nullptr);

    void setStatus(const std::string& text);
    std::string status() const;
    // The line under the status that says why a node was refused; empty hides it.
    void setDetail(const std::string& text);
    std::string detail() const;
    // Grid rows count from 0, the fixed header row; data rows start at 1.
    void clearGrid();
    int appendRow();
    void setRowCount(int rows);
    int rowCount() const;
    void setCell(int row, int column, const std::string& text);
    std::string cell(int row, int column) const;
    void setColumnWidthTwips(int column, int twips);
    void setBarWidth(int pixels);
    int barWidth() const;
    // "done of total" beside the bar, which fills that share of the dialog's width.
    void setProgress(std::size_t done, std::size_t total);
    std::string progressText() const;
    // Cancel: hides the dialog and tells onCancel.
    void cancel();

    std::function<void()> onOk;     // ScanListOk
    std::function<void()> onCancel; // after the dialog has been hidden

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* status_;
    QLabel* detail_;
    QTableWidget* grid_;
    QLabel* bar_;
    QLabel* count_;
    int barWidth_ = 0;
};

} // namespace vorlu
