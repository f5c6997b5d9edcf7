#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorlu {

// No answer of a management service comes near this; a node sending more is
// broken or hostile, and its answer must not fill the memory.
inline constexpr std::size_t MaxReplyBytes = 4 * 1024 * 1024;
inline constexpr std::size_t MaxReplyHeadBytes = 64 * 1024;

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpResponse {
    int status = 0;
    std::string reason;
    bool http10 = false;
    HttpHeaders headers;
    std::string body;

    // The first header of that name (matched without regard to case).
    std::optional<std::string> header(const std::string& name) const;
    // Every header of that name, in order.
    std::vector<std::string> headerValues(const std::string& name) const;
    // The connection ends after this answer.
    bool closesConnection() const;
};

// Status line and headers of an answer, up to the blank line (not included);
// throws WmiError, its text beginning with subject, when they are not HTTP/1.x.
HttpResponse parseResponseHead(const std::string& head, const std::string& subject = "the node's answer");

// A Content-Length value; nullopt when it is not a plain decimal number.
std::optional<std::size_t> parseContentLength(const std::string& value);

// The size of a chunk from its line ("1a2b;ext"); nullopt when the line is
// not a hexadecimal size or exceeds limit.
std::optional<std::size_t> parseChunkSize(const std::string& line, std::size_t limit);

// The schemes a 401 offers, in order: the first token of each challenge of
// the WWW-Authenticate headers.
std::vector<std::string> offeredSchemes(const HttpResponse& response);

// The token after "scheme " in a WWW-Authenticate header, nullopt when no
// challenge of that scheme carries one.
std::optional<std::string> challengeToken(const HttpResponse& response, const std::string& scheme);

} // namespace vorlu
