#pragma once
// Small stand-ins for the dialog, the tree, the menu and the platform, so the
// network logic can be driven and watched without windows or a network.
#include "network/NetworkMenu.h"
#include "network/ScanListView.h"
#include "network/TreeView.h"
#include "platform/ServerEnumerator.h"
#include "platform/SocketLayer.h"
#include "platform/UserInterfaceServices.h"
#include "support/ScriptedMessageBoxes.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vorlu::test {

class FakeEnumerator : public ServerEnumerator {
public:
    EnumerationAnswer enumerateServers(std::uint32_t typeMask) override
    {
        ++calls;
        lastMask = typeMask;
        if (fail)
            throw EnumerationFailure{};
        return answer;
    }
    EnumerationAnswer answer;
    bool fail = false;
    int calls = 0;
    std::uint32_t lastMask = 0;
};

// Resolves from a fixed map; each lookup may take a while. Counts how many
// lookups run at the same time.
class FakeSockets : public SocketLayer {
public:
    SocketStartup startup(std::uint16_t requested) override
    {
        lastRequested = requested;
        ++startups;
        return startupAnswer;
    }
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) override
    {
        const int now = ++running;
        int seen = maxRunning.load();
        while (now > seen && !maxRunning.compare_exchange_weak(seen, now)) {
        }
        auto delay = delays.find(name);
        if (delay != delays.end())
            std::this_thread::sleep_for(std::chrono::milliseconds(delay->second));
        else if (latencyMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
        --running;
        ++lookups;
        if (name == throwingName)
            throw std::runtime_error("resolver broke");
        auto it = hosts.find(name);
        if (it == hosts.end())
            return std::nullopt;
        return it->second;
    }
    SocketStartup startupAnswer;
    std::map<std::string, std::vector<std::uint8_t>> hosts; // read-only while resolving
    std::map<std::string, int> delays;                      // per-name latency, ms
    int latencyMs = 0;
    std::string throwingName;
    std::uint16_t lastRequested = 0;
    int startups = 0;
    std::atomic<int> running{0};
    std::atomic<int> maxRunning{0};
    std::atomic<int> lookups{0};
};

// The Scan List dialog as a grid of texts that starts, like the real one,
// with a header row and one empty row of five columns.
class RecordingDialog : public ScanListView {
public:
    RecordingDialog() : grid(2, std::vector<std::string>(5)) {}
    void setCaption(const std::string& c) override { caption = c; }
    void showDialog() override { ++shown; }
    void setStatus(const std::string& text) override
    {
        statuses.push_back(text);
        if (onStatus)
            onStatus(text);
    }
    void clearGridText() override
    {
        for (auto& row : grid)
            for (auto& cell : row)
                cell.clear();
        ++clears;
    }
    void setGridRowCount(int rows) override { grid.resize(static_cast<std::size_t>(rows), std::vector<std::string>(5)); }
    void setProgress(std::size_t done, std::size_t total) override { progress.emplace_back(done, total); }
    void setGridCell(int row, int column, const std::string& text) override
    {
        grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
    }
    void setGridColumnShown(int column, bool on) override { columnsShown[column] = on; }

    std::string cell(int row, int column) const
    {
        return grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }
    std::vector<std::string> column(int c, int fromRow, int toRow) const
    {
        std::vector<std::string> out;
        for (int r = fromRow; r <= toRow; ++r)
            out.push_back(cell(r, c));
        return out;
    }

    std::string caption = "Scan List";
    int shown = 0;
    int clears = 0;
    std::vector<std::string> statuses;
    std::vector<std::vector<std::string>> grid;
    std::map<int, bool> columnsShown;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::function<void(const std::string&)> onStatus;
};

class FakeTree : public TreeView {
public:
    void clear() override { entries.clear(); }
    void addEntry(const std::string&, const std::string& key, const std::string&, const std::string&,
                  std::size_t) override
    {
        entries.push_back(key);
    }
    void setVisible(bool v) override { visible = v; }
    std::vector<std::string> entries;
    bool visible = false;
};

class FakeMenu : public NetworkMenu {
public:
    void setNetworkScanEnabled(bool e) override { networkScan = e; }
    void setRescanEnabled(bool e) override { rescan = e; }
    std::optional<bool> networkScan;
    std::optional<bool> rescan;
};

} // namespace vorlu::test
