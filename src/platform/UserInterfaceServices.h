#pragma once
#include <string>

namespace vorlu {

enum class MessageIcon { None, Question, Error, Warning, Information };

// Message boxes: every box the program shows goes through here so that tests
// can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An OK box; an empty title means the program's own title.
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
    // A box with the buttons Yes and No; true for Yes. One that cannot ask
    // answers No, which leaves everything as it was.
    virtual bool askYesNo(const std::string& text, const std::string& title, MessageIcon icon)
    {
        (void)text;
        (void)title;
        (void)icon;
        return false;
    }
    virtual void beep() = 0;
};

// Ending the program at once.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram(int status) = 0;
};

// Ending the program and starting it again with the same arguments, as the
// first network scan and the settings' Reset ask the user to do. The new run
// starts once this one has left its event loop, so it finds the files written.
class ProgramRestart {
public:
    virtual ~ProgramRestart() = default;
    virtual void restartProgram() = 0;
};

// Opening a web address in the user's browser. False when no browser could
// take it, so the caller can show the page another way.
class WebOpener {
public:
    virtual ~WebOpener() = default;
    virtual bool open(const std::string& url) = 0;
};

} // namespace vorlu
