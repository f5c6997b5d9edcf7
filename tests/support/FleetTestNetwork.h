#pragma once
#include "fleet/FleetRows.h"
#include "nodes/NodeTable.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <stdexcept>
#include <string>

namespace vorlu::test {

// A drive of the simulated network with the given Status.
inline std::string simDrive(const std::string& letter, const std::string& status)
{
    return R"({"Drive": ")" + letter + R"(", "Name": "DVD )" + letter + R"(", "Availability": 3,
               "ConfigManagerErrorCode": 0, "Status": ")" + status + R"("})";
}

// Computer i's address: 10.0.0.i for the first 255.
inline std::string simAddress(int i) { return "10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256); }

// Computer i is "PC<i>" at simAddress(i), open to the empty login.
inline std::string simComputer(int i, const std::string& drives, int latencyMs = 0, bool reachable = true)
{
    return R"({"name": "PC)" + std::to_string(i) + R"(", "address": ")" + simAddress(i) + R"(", "latencyMs": )" + std::to_string(latencyMs) + R"(, "management": {"reachable": )" +
           (reachable ? "true" : "false") + R"(, "accounts": [{"user": "", "password": ""}], "cdromDrives": [)" +
           drives + "]}}";
}

inline std::shared_ptr<SimulatedNetwork> simNetwork(const std::string& computers)
{
    std::string error;
    auto net = SimulatedNetwork::parse(R"({"localAddress": "10.255.255.254", "computers": [)" + computers + "]}",
                                       "test.json", error);
    // Shared with the benchmarks, which have no test assertions.
    if (!net)
        throw std::runtime_error(error);
    return net;
}

inline NodeRecord simNode(int i)
{
    NodeRecord r;
    r.Name = "PC" + std::to_string(i);
    r.IP = simAddress(i);
    return r;
}

// Drive D: of PC1 at 10.0.0.1, as a run leaves it.
inline FleetRow pc1Drive(FleetState state, const std::string& status, const std::string& at = "")
{
    FleetRow r;
    r.nodeName = "PC1";
    r.IP = "10.0.0.1";
    r.drive = "D:";
    r.state = state;
    r.statusText = status;
    r.lastDiagnosed = at;
    return r;
}

} // namespace vorlu::test
