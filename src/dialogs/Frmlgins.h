#pragma once
#include "dialogs/LoginBoxes.h"

#include <QDialog>
#include <memory>
#include <string>

class QLineEdit;
class QTableWidget;

namespace vorlu {

// "Logins": every node's login in Grid1 (row 0 the headers, row i node i),
// with boxes to edit the one clicked. The buttons are handed on. The close
// box unloads it: the next showing fills the grid again, while OK and Cancel
// keep the grid as it was.
class Frmlgins : public QDialog {
    Q_OBJECT
public:
    static constexpr int Columns = 5;

    explicit Frmlgins(QWidget* parent = nullptr);

    bool loaded() const { return loaded_; }
    void setLoaded() { loaded_ = true; }

    void clearGrid(int rows);
    void setCell(int row, int column, const std::string& text);
    std::string cell(int row, int column) const;
    int rowCount() const;
    void setColumnWidthTwips(int column, int twips);

    const LoginBoxes& boxes() const { return *boxes_; }
    QLineEdit* nameBox() const { return name_; }
    QTableWidget* grid() const { return grid_; }
    QPushButton* updateButton() const { return update_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void rowClicked(int row);
    void updatePressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTableWidget* grid_;
    std::unique_ptr<LoginBoxes> boxes_;
    QLineEdit* name_;
    QPushButton* update_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool loaded_ = false;
};

} // namespace vorlu
