#pragma once
#include "platform/UserInterfaceServices.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

namespace vorlu {

// Test double: records every box instead of showing it, and every beep.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Box {
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
        int beepsBefore = 0; // beeps sounded before this box, to check their order
        bool yesNo = false;  // asked with Yes and No
        // What the user saw; the order of beeps is checked through log().
        bool operator==(const Box& other) const
        {
            return text == other.text && title == other.title && icon == other.icon;
        }
    };

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& title, MessageIcon icon) override;
    void beep() override;
    // Answers for the next questions, in order; No once they run out.
    void answer(std::initializer_list<bool> yes);

    std::vector<Box> boxes() const;
    int beeps() const;
    // Boxes and beeps in the order they came: "box:<text>" or "beep".
    std::vector<std::string> log() const;
    void clear();
    // Called with each box as it is shown, e.g. to look at the state the
    // program is in at that moment.
    void onShow(std::function<void(const Box&)> handler);

private:
    void record(Box box);

    mutable std::mutex mutex_;
    std::deque<bool> answers_;
    std::vector<Box> boxes_;
    int beeps_ = 0;
    std::vector<std::string> log_;
    std::function<void(const Box&)> handler_;
};

} // namespace vorlu
