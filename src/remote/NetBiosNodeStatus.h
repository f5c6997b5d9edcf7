#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

inline constexpr std::uint16_t NetBiosNamePort = 137;

// A NetBIOS node status request for the wildcard name "*": what a computer
// answers with the table of its own names.
std::vector<std::uint8_t> nodeStatusRequest(std::uint16_t transactionId);

// The computer's own name from a node status answer: the first unique
// (not group) name of suffix 0x00, blanks at its end removed. Nothing, with
// the reason in problem, for an answer that is not one to this request or
// does not hold such a name; every length in the packet is checked against
// its bytes first.
std::optional<std::string> readNodeStatusName(const std::uint8_t* data, std::size_t size,
                                              std::uint16_t transactionId, std::string* problem = nullptr);

// Asks the computer at address (host byte order) for its name over UDP 137,
// waiting at most timeoutMs; nothing when it does not answer with one.
std::optional<std::string> queryNetBiosName(std::uint32_t address, int timeoutMs,
                                            std::uint16_t port = NetBiosNamePort);

} // namespace vorlu
