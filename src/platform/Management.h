#pragma once
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vorlu {

// Any failure of a connection or a query.
class WmiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One result row: properties by name (matched without regard to case); a
// property with no value reads as nullopt.
class WmiRow {
public:
    WmiRow() = default;
    explicit WmiRow(std::vector<std::pair<std::string, std::optional<std::string>>> props)
        : props_(std::move(props)) {}
    std::optional<std::string> property(const std::string& name) const;
    const std::vector<std::pair<std::string, std::optional<std::string>>>& properties() const { return props_; }
    std::vector<std::pair<std::string, std::optional<std::string>>>& properties() { return props_; }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> props_;
};

class WmiServices {
public:
    virtual ~WmiServices() = default;
    // Runs one query text with the service defaults; throws WmiError.
    virtual std::vector<WmiRow> execQuery(const std::string& query) = 0;
};

class WmiLocator {
public:
    virtual ~WmiLocator() = default;
    // Exactly server, namespace, user, password; an empty server is this
    // computer. Throws WmiError when the node cannot be reached or refuses.
    virtual std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                                       const std::string& user, const std::string& password) = 0;
};

class ManagementService {
public:
    virtual ~ManagementService() = default;
    virtual std::unique_ptr<WmiLocator> createLocator() = 0;
};

} // namespace vorlu
