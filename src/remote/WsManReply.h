#pragma once
#include "platform/Management.h"

#include <QDeadlineTimer>

#include <cstddef>
#include <string>
#include <vector>

namespace vorlu {

// What one reply may hold. The depth of a WMI reply is below 10; an item
// has a few dozen properties.
inline constexpr int MaxReplyDepth = 64;
inline constexpr std::size_t MaxReplyItems = 5000;
inline constexpr std::size_t MaxItemProperties = 512;

// An Enumerate, Pull or Release response.
struct EnumerationPage {
    std::vector<WmiRow> items;
    std::string context; // the newest EnumerationContext; empty when the reply holds none
    bool endOfSequence = false;
};

// The parts of a SOAP fault an administrator can act on.
struct WsManFault {
    std::string code;      // s:Code/s:Value, e.g. "s:Receiver"
    std::string subcode;   // s:Subcode/s:Value
    std::string reason;    // s:Reason/s:Text
    std::string wsmanCode; // WSManFault Code, decimal
    std::string message;   // WSManFault Message, with any provider message inside
};

// Reads a reply. Items of both shapes (a class element, or an XmlFragment of
// the properties asked for) become rows, their children matched by local
// name; a boolean property's true/false read "True"/"False", xsi:nil no
// value. A fault throws WmiError with faultText; so does a reply that is not
// well-formed, holds a document type or an entity, is nested deeper than
// MaxReplyDepth, holds more than MaxReplyItems or is still being read when
// the deadline passes.
EnumerationPage readEnumerationReply(const std::string& xml, const QDeadlineTimer& deadline = QDeadlineTimer::Forever);

// "Access is denied. (0x80070005)"; the reason and subcode when the fault
// has no WSManFault message.
std::string faultText(const WsManFault& fault);

} // namespace vorlu
