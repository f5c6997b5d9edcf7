#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace vorlu {

// The name an address is known by (reverse DNS and the like). Called from
// several threads at once.
class ReverseNames {
public:
    virtual ~ReverseNames() = default;
    // The full name, or nothing when the address has none.
    virtual std::optional<std::string> nameOf(std::uint32_t address) = 0;
};

// This machine's resolver: its hosts file, then the reverse zone of DNS.
class SystemReverseNames : public ReverseNames {
public:
    std::optional<std::string> nameOf(std::uint32_t address) override;
};

// A file in the hosts format ("address name [aliases]", # comments): for a
// network whose DNS has no reverse zone. Asks fallback for what it lacks.
class HostsFileNames : public ReverseNames {
public:
    // Nothing, with the reason, when the file cannot be read or is not in
    // that format.
    static std::unique_ptr<HostsFileNames> load(const std::filesystem::path& file, std::string& error,
                                                std::unique_ptr<ReverseNames> fallback = nullptr);
    std::optional<std::string> nameOf(std::uint32_t address) override;

private:
    std::unordered_map<std::uint32_t, std::string> names_;
    std::unique_ptr<ReverseNames> fallback_;
};

// The computer name in a full name: its first label in capitals, as Windows
// shows computer names ("srv-files.lab.example" gives "SRV-FILES").
std::string computerNameOf(const std::string& fullName);

} // namespace vorlu
