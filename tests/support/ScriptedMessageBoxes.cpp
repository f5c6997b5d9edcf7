#include "support/ScriptedMessageBoxes.h"

namespace vorlu {

void ScriptedMessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon)
{
    record(Box{text, title, icon, 0, false});
}

bool ScriptedMessageBoxes::askYesNo(const std::string& text, const std::string& title, MessageIcon icon)
{
    bool yes = false;
    {
        std::lock_guard lock(mutex_);
        if (!answers_.empty()) {
            yes = answers_.front();
            answers_.pop_front();
        }
    }
    record(Box{text, title, icon, 0, true});
    return yes;
}

void ScriptedMessageBoxes::answer(std::initializer_list<bool> yes)
{
    std::lock_guard lock(mutex_);
    answers_.insert(answers_.end(), yes.begin(), yes.end());
}

void ScriptedMessageBoxes::record(Box box)
{
    std::function<void(const Box&)> handler;
    {
        std::lock_guard lock(mutex_);
        box.beepsBefore = beeps_;
        boxes_.push_back(box);
        log_.push_back("box:" + box.text);
        handler = handler_;
    }
    // Outside the lock: the handler may look at this object again.
    if (handler)
        handler(box);
}

void ScriptedMessageBoxes::beep()
{
    std::lock_guard lock(mutex_);
    ++beeps_;
    log_.push_back("beep");
}

std::vector<ScriptedMessageBoxes::Box> ScriptedMessageBoxes::boxes() const
{
    std::lock_guard lock(mutex_);
    return boxes_;
}

int ScriptedMessageBoxes::beeps() const
{
    std::lock_guard lock(mutex_);
    return beeps_;
}

std::vector<std::string> ScriptedMessageBoxes::log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

void ScriptedMessageBoxes::clear()
{
    std::lock_guard lock(mutex_);
    boxes_.clear();
    beeps_ = 0;
    log_.clear();
}

void ScriptedMessageBoxes::onShow(std::function<void(const Box&)> handler)
{
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

} // namespace vorlu
