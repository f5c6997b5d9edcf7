#include "remote/HttpResponse.h"

#include "platform/Management.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cctype>

namespace vorlu {

namespace {

std::string trimmed(std::string_view text)
{
    std::size_t from = 0, to = text.size();
    while (from < to && (text[from] == ' ' || text[from] == '\t'))
        ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t' || text[to - 1] == '\r'))
        --to;
    return std::string(text.substr(from, to - from));
}

// The challenges of one header value: split at commas outside quotes; a
// piece that is "name=value" is a parameter of the challenge before it.
std::vector<std::string> challenges(const std::string& value)
{
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (char c : value) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            pieces.push_back(trimmed(piece));
            piece.clear();
        } else {
            piece.push_back(c);
        }
    }
    pieces.push_back(trimmed(piece));
    std::vector<std::string> out;
    for (const std::string& p : pieces) {
        if (p.empty())
            continue;
        const std::size_t blank = p.find(' ');
        const std::size_t equals = p.find('=');
        // A token68 ("Negotiate abc==") has its '=' after the blank; a parameter before it.
        if (equals != std::string::npos && (blank == std::string::npos || equals < blank))
            continue;
        out.push_back(p);
    }
    return out;
}

} // namespace

std::optional<std::string> HttpResponse::header(const std::string& name) const
{
    for (const auto& [key, value] : headers)
        if (equalsIgnoringCase(key, name))
            return value;
    return std::nullopt;
}

std::vector<std::string> HttpResponse::headerValues(const std::string& name) const
{
    std::vector<std::string> out;
    for (const auto& [key, value] : headers)
        if (equalsIgnoringCase(key, name))
            out.push_back(value);
    return out;
}

bool HttpResponse::closesConnection() const
{
    const std::string connection = lowerAscii(header("Connection").value_or(""));
    if (http10)
        return connection.find("keep-alive") == std::string::npos;
    return connection.find("close") != std::string::npos;
}

HttpResponse parseResponseHead(const std::string& head, const std::string& subject)
{
    HttpResponse r;
    std::size_t at = head.find("\r\n");
    const std::string statusLine = head.substr(0, at);
    // "HTTP/1.1 200 OK"
    if (statusLine.size() < 12 || statusLine.compare(0, 7, "HTTP/1.") != 0 || statusLine[8] != ' ' ||
        !std::isdigit(static_cast<unsigned char>(statusLine[9])) ||
        !std::isdigit(static_cast<unsigned char>(statusLine[10])) ||
        !std::isdigit(static_cast<unsigned char>(statusLine[11])) || (statusLine.size() > 12 && statusLine[12] != ' '))
        throw WmiError(subject + " is not HTTP (it begins \"" + statusLine.substr(0, 40) + "\")");
    r.http10 = statusLine[7] == '0';
    r.status = std::stoi(statusLine.substr(9, 3));
    r.reason = trimmed(statusLine.size() > 12 ? statusLine.substr(13) : "");
    while (at != std::string::npos) {
        const std::size_t from = at + 2;
        at = head.find("\r\n", from);
        const std::string line = head.substr(from, at == std::string::npos ? std::string::npos : at - from);
        if (line.empty())
            continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            throw WmiError(subject + " has a malformed HTTP header line");
        r.headers.emplace_back(line.substr(0, colon), trimmed(std::string_view(line).substr(colon + 1)));
    }
    return r;
}

std::optional<std::size_t> parseContentLength(const std::string& value)
{
    // Twelve digits are far above every cap; more could overflow.
    if (value.empty() || value.size() > 12 ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoull(value));
}

std::optional<std::size_t> parseChunkSize(const std::string& line, std::size_t limit)
{
    const std::string size = trimmed(line.substr(0, line.find(';')));
    if (size.empty() || size.size() > 8)
        return std::nullopt;
    std::size_t value = 0;
    for (char c : size) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : lowerAscii(c) - 'a' + 10;
        value = value * 16 + static_cast<std::size_t>(digit);
    }
    if (value > limit)
        return std::nullopt;
    return value;
}

std::vector<std::string> offeredSchemes(const HttpResponse& response)
{
    std::vector<std::string> out;
    for (const std::string& value : response.headerValues("WWW-Authenticate"))
        for (const std::string& c : challenges(value))
            out.push_back(c.substr(0, c.find(' ')));
    return out;
}

std::optional<std::string> challengeToken(const HttpResponse& response, const std::string& scheme)
{
    for (const std::string& value : response.headerValues("WWW-Authenticate"))
        for (const std::string& c : challenges(value)) {
            const std::size_t blank = c.find(' ');
            if (blank != std::string::npos && equalsIgnoringCase(c.substr(0, blank), scheme))
                return trimmed(std::string_view(c).substr(blank + 1));
        }
    return std::nullopt;
}

} // namespace vorlu
