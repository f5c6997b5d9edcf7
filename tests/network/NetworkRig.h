#pragma once
#include "network/NetworkDiscovery.h"
#include "network/NetworkFakes.h"
#include "network/NetworkScanCommands.h"
#include "support/CountingPace.h"

#include <initializer_list>

namespace vorlu::test {

// The main window's state and the network logic over fakes.
struct NetworkRig {
    NodeTable table;
    ScanFlags flags;
    NetworkScanState state;
    RecordingDialog dialog;
    ScriptedMessageBoxes boxes;
    FakeEnumerator enumerator;
    FakeSockets sockets;
    FakeTree tree;
    FakeMenu menu;
    CommandGate gate;
    CountingPace pace;
    int rebuilds = 0;

    NetworkContext context() { return NetworkContext{table, flags, state, dialog, boxes}; }
    NetworkDiscovery discovery{context(), pace, enumerator, sockets, tree};
    NetworkScanCommands commands{context(), pace, discovery, menu, gate, [this] { ++rebuilds; }};

    void listed(std::initializer_list<const char*> names)
    {
        enumerator.answer = {0, {}};
        for (const char* n : names)
            enumerator.answer.names.emplace_back(n);
    }
    void known(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            table.append(discoveredNode(n));
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (std::size_t n = 1; n <= table.count(); ++n)
            out.push_back(table.at(n).Name);
        return out;
    }
    std::vector<std::string> addresses() const
    {
        std::vector<std::string> out;
        for (std::size_t n = 1; n <= table.count(); ++n)
            out.push_back(table.at(n).IP);
        return out;
    }
};

} // namespace vorlu::test
