#include "network/ServerList.h"
#include "platform/Log.h"

#include "network/NetworkErrors.h"
#include "network/NetworkTexts.h"

#include <exception>

namespace vorlu {

ServerList EnumerateServers(ServerEnumerator& enumerator, MessageBoxes& boxes, RepaintPace& pace,
                            std::uint32_t typeMask)
{
    ServerList list;
    try {
        EnumerationAnswer answer = enumerator.enumerateServers(typeMask);
        if (answer.code != 0 && answer.code != ServerEnumerator::kMoreData) {
            list.errorCode = answer.code;
            ShowNetworkError(boxes, answer.code);
            return list;
        }
        list.names = std::move(answer.names);
        list.success = !list.names.empty();
    } catch (const EnumerationFailure&) {
        list = ServerList{};
        pace.yield();
        boxes.show(NodeListFailedText, MessageTitle, MessageIcon::Question);
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "listing the servers failed: %s", e.what());
        list = ServerList{};
        pace.yield();
        boxes.show(NodeListFailedText, MessageTitle, MessageIcon::Question);
    }
    return list;
}

} // namespace vorlu
