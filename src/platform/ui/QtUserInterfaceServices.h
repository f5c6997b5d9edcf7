#pragma once
#include "platform/UserInterfaceServices.h"

#include <QPointer>
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

class QtWebOpener : public WebOpener {
public:
    void open(const std::string& url) override;
};

} // namespace vorlu
