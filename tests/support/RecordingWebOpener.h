#pragma once
#include "platform/UserInterfaceServices.h"

#include <string>
#include <vector>

namespace vorlu {

// Test double: remembers the addresses it was asked to open.
class RecordingWebOpener : public WebOpener {
public:
    void open(const std::string& url) override { urls_.push_back(url); }
    const std::vector<std::string>& urls() const { return urls_; }

private:
    std::vector<std::string> urls_;
};

} // namespace vorlu
