#pragma once
#include "nodes/Settings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace vorlu {

class RemotePage;

// "Settings": pages chosen by the headings on the left. The boxes act on the
// settings at once; "Clear" and "Reset" are handed to whoever runs them.
// OK and the close box only hide it, so its boxes keep their state.
class FrmConf : public QDialog {
    Q_OBJECT
public:
    static constexpr int PageCount = 6;
    static constexpr int RemotePageIndex = 5;

    explicit FrmConf(Settings& settings, QWidget* parent = nullptr);

    // What the settings reader pushes into the dialog: the label-mode boxes
    // it ticked, "Show Passwords", the namespace box and the transport page.
    void fill(const Settings& settings);

    void showPage(int page);
    int currentPage() const;

    QLabel* heading(int page) const { return headings_[static_cast<std::size_t>(page)]; }
    QCheckBox* labelBox(int box) const { return labelBoxes_[static_cast<std::size_t>(box)]; }
    QCheckBox* showPasswordsBox() const { return showPasswords_; }
    QCheckBox* keyringBox() const { return keyring_; }
    QLineEdit* namespaceBox() const { return namespace_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* resetButton() const { return reset_; }
    QPushButton* setButton() const { return set_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* okButton() const { return ok_; }
    RemotePage* remotePage() const { return remote_; }

signals:
    void clearRequested();
    void resetRequested();
    // The transport page changed the settings' transport.
    void transportChanged();
    // The user ticked or cleared "Keep passwords in the system keyring"; the
    // box shows the setting again once the passwords were moved (or not).
    void keyringRequested(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void labelBoxEvent(int box);

    Settings& settings_;
    std::array<QLabel*, PageCount> headings_{};
    QStackedWidget* pages_ = nullptr;
    std::array<QCheckBox*, 3> labelBoxes_{};
    QCheckBox* showPasswords_ = nullptr;
    QCheckBox* keyring_ = nullptr;
    QLineEdit* namespace_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* set_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* ok_ = nullptr;
    RemotePage* remote_ = nullptr;
};

} // namespace vorlu
