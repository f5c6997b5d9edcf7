#pragma once
#include "platform/UserInterfaceServices.h"

#include <string>
#include <vector>

namespace vorlu {

// Test double: remembers the addresses it was asked to open.
class RecordingWebOpener : public WebOpener {
public:
    bool open(const std::string& url) override
    {
        urls_.push_back(url);
        return opens_;
    }
    // Whether a browser takes the address.
    void setOpens(bool opens) { opens_ = opens; }
    const std::vector<std::string>& urls() const { return urls_; }

private:
    std::vector<std::string> urls_;
    bool opens_ = true;
};

} // namespace vorlu
