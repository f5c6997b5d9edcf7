#pragma once
#include "platform/CdromDevices.h"

#include <cerrno>
#include <linux/cdrom.h>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// Answers for device nodes set by the test; a node nobody set is absent
// (ENOENT), as a drive whose node udev never made. Records what was asked.
class FakeCdromDevices : public vorlu::CdromDevices {
public:
    void set(const std::string& devicePath, vorlu::CdromAnswer answer)
    {
        std::lock_guard lock(mutex_);
        answers_[devicePath] = answer;
    }

    vorlu::CdromAnswer driveStatus(const std::string& devicePath) override
    {
        std::lock_guard lock(mutex_);
        asked_.push_back(devicePath);
        const auto it = answers_.find(devicePath);
        if (it == answers_.end())
            return {vorlu::CdromAnswer::Outcome::OpenFailed, ENOENT};
        return it->second;
    }

    std::vector<std::string> asked() const
    {
        std::lock_guard lock(mutex_);
        return asked_;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, vorlu::CdromAnswer> answers_;
    std::vector<std::string> asked_;
};
