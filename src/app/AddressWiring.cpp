#include "app/AddressWiring.h"

#include "addresses/ui/QtAddressViews.h"
#include "app/CommandMenus.h"
#include "network/Sockets.h"

#include <QAction>

namespace vorlu {

AddressWiring::AddressWiring(NetworkContext context, RepaintPace& pace, CommandGate& gate, QWidget& window, SocketLayer& sockets,
                             std::filesystem::path programFolder, std::function<RemoteTransport()> programTransport,
                             std::function<void()> rebuildNetworkTree)
    : views_(std::make_unique<QtAddressViews>(&window))
{
    scan_ = [this](const AddressRange& range, ScanControl* control) {
        AddressScanServices services{reverseNames_};
        return scanAddresses(range, services, {}, control);
    };
    AddressCommands::Services services;
    services.scan = [this](const AddressRange& range, ScanControl* control) { return scan_(range, control); };
    services.runBlocking = [this](const std::function<void()>& job) { runner_.run(job); };
    services.resolve = [&sockets](const std::string& name) {
        const Lookup answer = LookupHost(sockets, name);
        return answer.kind == Lookup::Kind::Address ? DottedAddress(answer.bytes) : std::string();
    };
    services.programTransport = std::move(programTransport);
    services.rebuildNetworkTree = std::move(rebuildNetworkTree);
    services.publish = [this](std::map<std::string, NodeConnection> byServer) {
        if (publish_)
            publish_(std::move(byServer));
    };
    commands_ = std::make_unique<AddressCommands>(std::move(context), pace, gate, *views_, std::move(programFolder),
                                                  std::move(services));
}

AddressWiring::~AddressWiring() = default;

void AddressWiring::setPublisher(std::function<void(std::map<std::string, NodeConnection>)> publish)
{
    publish_ = std::move(publish);
}

void AddressWiring::useScan(Scan scan) { scan_ = std::move(scan); }

void AddressWiring::connectMenus(CommandMenus& menus, std::function<std::string()> localAddress,
                                 std::function<std::size_t()> selectedNode)
{
    const CommandMenus::Items& items = menus.item();
    QObject::connect(items.mnuscanaddr, &QAction::triggered, items.mnuscanaddr,
                     [this, localAddress] { commands_->ScanAddresses(localAddress()); });
    QObject::connect(items.mnuaddnode, &QAction::triggered, items.mnuaddnode, [this] { commands_->AddNode(); });
    QObject::connect(items.mnunodeconn, &QAction::triggered, items.mnunodeconn,
                     [this, selectedNode] { commands_->NodeConnection(selectedNode()); });
}

} // namespace vorlu
