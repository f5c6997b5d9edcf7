#pragma once
#include "platform/UserInterfaceServices.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace vorlu {

// Message boxes as QMessageBox: the icon, one OK button and the title (the
// program's own title when none is given). Modal over the parent widget, if set.
class QtMessageBoxes : public MessageBoxes {
public:
    static constexpr const char* kProgramTitle = "Vorlu Optical";
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    // The main window exists only after the platform has been chosen.
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& title, MessageIcon icon) override;
    void beep() override;

private:
    int run(const std::string& text, const std::string& title, MessageIcon icon, int buttons);
    QPointer<QWidget> parent_;
};

// Leaves the application's event loop with the status.
class QtProgramEnd : public ProgramEnd {
public:
    void endProgram(int status) override;
};

// Remembers the request and leaves the event loop; relaunch() then starts
// the program again once the caller has left it.
class QtProgramRestart : public ProgramRestart {
public:
    QtProgramRestart(QString program, QStringList arguments)
        : program_(std::move(program)), arguments_(std::move(arguments))
    {
    }
    void restartProgram() override;
    bool requested() const { return requested_; }
    // Starts the new run, detached; false when it could not be started.
    bool relaunch() const;

private:
    QString program_;
    QStringList arguments_;
    bool requested_ = false;
};

// The desktop's browser; false when the desktop has none to hand a page to.
class QtWebOpener : public WebOpener {
public:
    bool open(const std::string& url) override;
};

} // namespace vorlu
