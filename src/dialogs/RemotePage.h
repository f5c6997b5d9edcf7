#pragma once
#include "platform/RemoteTransport.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace vorlu {

// The settings dialog's page of the transport to remote nodes. Its controls
// act on the transport at once and say so through changed().
class RemotePage : public QWidget {
    Q_OBJECT
public:
    // Asked for a CA file, starting from the current one; empty: nothing chosen.
    using FileChooser = std::function<QString(QWidget* parent, const QString& current)>;

    RemotePage(RemoteTransport& transport, QWidget* parent = nullptr);

    // Shows transport in the controls without acting on it.
    void fill(const RemoteTransport& transport);
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    QRadioButton* httpButton() const { return http_; }
    QRadioButton* httpsButton() const { return https_; }
    QSpinBox* portBox() const { return port_; }
    QCheckBox* certificateBox() const { return verify_; }
    QLineEdit* caFileBox() const { return caFile_; }
    QToolButton* caFileButton() const { return browse_; }
    QCheckBox* clearTextBasicBox() const { return basic_; }
    QLabel* clearTextWarning() const { return warning_; }
    QSpinBox* connectLimitBox() const { return connectLimit_; }
    QSpinBox* queryLimitBox() const { return queryLimit_; }
    QLineEdit* domainBox() const { return domain_; }
    QLineEdit* domainControllerBox() const { return controller_; }
    QSpinBox* nodesAtOnceBox() const { return nodesAtOnce_; }

signals:
    void changed();

private:
    void schemeChosen(bool https);
    void chooseCaFile();
    // Greys out what the scheme shown does not use.
    void showScheme(bool https);

    RemoteTransport& transport_;
    FileChooser chooseFile_;
    QRadioButton* http_ = nullptr;
    QRadioButton* https_ = nullptr;
    QSpinBox* port_ = nullptr;
    QCheckBox* verify_ = nullptr;
    QLineEdit* caFile_ = nullptr;
    QToolButton* browse_ = nullptr;
    QCheckBox* basic_ = nullptr;
    QLabel* warning_ = nullptr;
    QSpinBox* connectLimit_ = nullptr;
    QSpinBox* nodesAtOnce_ = nullptr;
    QSpinBox* queryLimit_ = nullptr;
    QLineEdit* domain_ = nullptr;
    QLineEdit* controller_ = nullptr;
};

} // namespace vorlu
