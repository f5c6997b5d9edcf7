#include "network/Sockets.h"
#include "platform/Log.h"

#include "network/NetworkTexts.h"

#include <exception>

namespace vorlu {

std::uint8_t LoByte(std::uint16_t word) { return static_cast<std::uint8_t>(word & 0xFFu); }

// A plain shift: dividing the signed word would give 0 for words such as
// 0xFF01, whose high byte is 255.
std::uint8_t HiByte(std::uint16_t word) { return static_cast<std::uint8_t>((word >> 8) & 0xFFu); }

void StartSockets(SocketLayer& sockets, MessageBoxes& boxes, RepaintPace& pace)
{
    try {
        const SocketStartup answer = sockets.startup(RequestedSocketVersion);
        if (answer.error != 0) {
            boxes.show("Winsock.dll is not responding.", "", MessageIcon::None);
            return;
        }
        const int lo = LoByte(answer.version);
        const int hi = HiByte(answer.version);
        if (lo < 1 || (lo == 1 && hi < 1)) {
            boxes.show("Windows Sockets version " + std::to_string(lo) + "." + std::to_string(hi)
                           + " is not supported by winsock.dll ",
                       "", MessageIcon::None);
        } else if (answer.maxSockets < MinimumSockets) {
            boxes.show("This application requires a minimum of " + std::to_string(MinimumSockets)
                           + " supported sockets.",
                       "", MessageIcon::None);
        }
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "starting the socket layer failed: %s", e.what());
        pace.yield();
        boxes.show(NodeListFailedText, MessageTitle, MessageIcon::Question);
    }
}

std::string DottedAddress(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        text += std::to_string(b);
        text += '.';
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

Lookup LookupHost(SocketLayer& sockets, const std::string& name)
{
    Lookup lookup;
    try {
        auto bytes = sockets.resolve(name);
        if (!bytes) {
            lookup.kind = Lookup::Kind::Unknown;
        } else if (bytes->empty()) {
            lookup.kind = Lookup::Kind::Failure;
        } else {
            lookup.kind = Lookup::Kind::Address;
            lookup.bytes = std::move(*bytes);
        }
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "resolving a name failed: %s", e.what());
        lookup.kind = Lookup::Kind::Failure;
    } catch (...) {
        qCWarning(lcNetwork, "resolving a name failed for an unknown reason");
        lookup.kind = Lookup::Kind::Failure;
    }
    return lookup;
}

std::string ApplyLookup(const Lookup& lookup, ScanListView& view, MessageBoxes& boxes, RepaintPace& pace)
{
    switch (lookup.kind) {
    case Lookup::Kind::Address:
        return DottedAddress(lookup.bytes);
    case Lookup::Kind::Unknown:
        view.setStatus(CantResolveText);
        return {};
    case Lookup::Kind::Failure:
        break;
    }
    pace.yield();
    boxes.show(CantResolveText, MessageTitle, MessageIcon::Question);
    return {};
}

std::string ResolveAddress(const std::string& name, SocketLayer& sockets, ScanListView& view, MessageBoxes& boxes,
                           RepaintPace& pace)
{
    return ApplyLookup(LookupHost(sockets, name), view, boxes, pace);
}

} // namespace vorlu
