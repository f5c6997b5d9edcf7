#pragma once
#include "platform/UserInterfaceServices.h"

#include <functional>
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
        // What the user saw; the order of beeps is checked through log().
        bool operator==(const Box& other) const
        {
            return text == other.text && title == other.title && icon == other.icon;
        }
    };

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
    void beep() override;

    std::vector<Box> boxes() const;
    int beeps() const;
    // Boxes and beeps in the order they came: "box:<text>" or "beep".
    std::vector<std::string> log() const;
    void clear();
    // Called with each box as it is shown, e.g. to look at the state the
    // program is in at that moment.
    void onShow(std::function<void(const Box&)> handler);

private:
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    int beeps_ = 0;
    std::vector<std::string> log_;
    std::function<void(const Box&)> handler_;
};

} // namespace vorlu
