#include "nodes/TransportSettings.h"

#include "nodes/TextLines.h"

#include <charconv>

namespace vorlu {

namespace {

// Plain decimal digits only: a sign, a fraction or trailing text is no setting.
bool readWhole(const std::string& line, int min, int max, int& out)
{
    int v = 0;
    const char* end = line.data() + line.size();
    const auto res = std::from_chars(line.data(), end, v);
    if (line.empty() || line.front() == '-' || res.ec != std::errc() || res.ptr != end || v < min || v > max)
        return false;
    out = v;
    return true;
}

void readSwitch(const std::string& line, bool& out)
{
    if (line == "1")
        out = true;
    else if (line == "0")
        out = false;
}

} // namespace

void setScheme(RemoteTransport& t, bool https)
{
    const int from = t.https ? DefaultHttpsPort : DefaultHttpPort;
    if (t.port == from)
        t.port = https ? DefaultHttpsPort : DefaultHttpPort;
    t.https = https;
}

void readTransportLines(LineReader& reader, RemoteTransport& t)
{
    std::string line;
    if (!reader.next(line))
        return;
    if (line == "https")
        setScheme(t, true);
    else if (line == "http")
        setScheme(t, false);
    if (!reader.next(line))
        return;
    readWhole(line, MinPort, MaxPort, t.port);
    if (!reader.next(line))
        return;
    readSwitch(line, t.verifyCertificate);
    if (!reader.next(line))
        return;
    readSwitch(line, t.allowClearTextBasic);
    if (!reader.next(line))
        return;
    t.caFile = line;
    if (!reader.next(line))
        return;
    readWhole(line, MinConnectTimeoutMs, MaxConnectTimeoutMs, t.connectTimeoutMs);
    if (!reader.next(line))
        return;
    readWhole(line, MinQueryTimeoutMs, MaxQueryTimeoutMs, t.queryTimeoutMs);
    if (!reader.next(line))
        return;
    t.domain = line;
    if (!reader.next(line))
        return;
    t.domainController = line;
    if (!reader.next(line))
        return;
    readWhole(line, MinNodesAtOnce, MaxNodesAtOnce, t.nodesAtOnce);
}

void appendTransportLines(std::string& out, const RemoteTransport& t)
{
    appendLine(out, t.https ? "https" : "http");
    appendLine(out, std::to_string(t.port));
    appendLine(out, t.verifyCertificate ? "1" : "0");
    appendLine(out, t.allowClearTextBasic ? "1" : "0");
    appendLine(out, t.caFile);
    appendLine(out, std::to_string(t.connectTimeoutMs));
    appendLine(out, std::to_string(t.queryTimeoutMs));
    appendLine(out, t.domain);
    appendLine(out, t.domainController);
    appendLine(out, std::to_string(t.nodesAtOnce));
}

} // namespace vorlu
