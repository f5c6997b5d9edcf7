#pragma once
// Recording stand-ins for the windows and the model the drive scans talk to.
#include "inventory/DriveEvaluation.h"
#include "inventory/InventoryReport.h"
#include "inventory/InventoryViews.h"
#include "network/TreeView.h"
#include "platform/Management.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorlu::test {

// Three grids of texts that start, like the real ones, with a header row and
// one empty row of five columns.
class RecordingGrids : public StateGridsView {
public:
    using Grid = std::vector<std::array<std::string, 5>>;
    RecordingGrids() { grids.fill(Grid(2)); }
    void clearGrids() override
    {
        for (Grid& g : grids)
            for (auto& row : g)
                row.fill("");
        ++clears;
    }
    void writeHeaders() override
    {
        for (Grid& g : grids)
            g[0] = {"", "Sensor", "Status", "IP", "Name"};
    }
    void appendRow(StateGrid g) override { at(g).emplace_back(); }
    void setCell(StateGrid g, int row, int column, const std::string& text) override
    {
        at(g).at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
    }
    void setOkPicture(StateGrid g, int row) override { setCell(g, row, 0, "<ok>"); }
    void setCounters(const std::string& r, const std::string& a, const std::string& gr) override
    {
        red = r;
        amber = a;
        green = gr;
    }
    Grid& at(StateGrid g) { return grids[static_cast<std::size_t>(g)]; }
    // The data rows that hold text, in order, as "c0|c1|c2|c3|c4".
    std::vector<std::string> rows(StateGrid g)
    {
        std::vector<std::string> out;
        for (std::size_t r = 1; r < at(g).size(); ++r) {
            const auto& row = at(g)[r];
            std::string joined = row[0];
            for (std::size_t c = 1; c < 5; ++c)
                joined += "|" + row[c];
            if (joined != "||||")
                out.push_back(joined);
        }
        return out;
    }
    std::array<Grid, 3> grids;
    std::string red = "0", amber = "0", green = "0";
    int clears = 0;
};

class RecordingPainter : public DrivePainter {
public:
    void decide_colour(const std::string& part, int colour) override { painted.emplace_back(part, colour); }
    void restoreAllParts() override
    {
        painted.clear();
        ++restores;
    }
    std::vector<std::pair<std::string, int>> painted;
    int restores = 0;
};

class RecordingUnits : public ModelUnits {
public:
    void hideAllUnits() override
    {
        units = racks = 0;
        ++hides;
    }
    void showUnitsForDrives(int n, bool showRacks) override
    {
        units = std::max(units, std::min(n, 10));
        if (showRacks)
            racks = std::max(racks, std::min((n + 1) / 2, 5));
    }
    void renderScene() override { ++renders; }
    int units = 0, racks = 0, hides = 0, renders = 0;
};

struct TreeEntry {
    std::string parent, key, text, picture;
    bool operator==(const TreeEntry&) const = default;
};

class RecordingTree : public TreeView {
public:
    void clear() override { entries.clear(); }
    void addEntry(const std::string& parent, const std::string& key, const std::string& text,
                  const std::string& picture, std::size_t) override
    {
        entries.push_back({parent, key, text, picture});
    }
    void setVisible(bool) override {}
    std::vector<TreeEntry> under(const std::string& parent) const
    {
        std::vector<TreeEntry> out;
        for (const TreeEntry& e : entries)
            if (e.parent == parent)
                out.push_back(e);
        return out;
    }
    std::vector<TreeEntry> entries;
};

class RecordingProgress : public ScanProgressView {
public:
    void setCaption(const std::string& c) override { caption = c; }
    void showDialog() override { visible = true; }
    void hideDialog() override { visible = false; }
    void setStatus(const std::string& t) override
    {
        status = t;
        statuses.push_back(t);
    }
    void setDetail(const std::string& t) override { detail = t; }
    void setBarFraction(double filled) override { bar = filled; }
    void setBusyPointer(bool b) override { busy = b; }
    std::string caption = "Scan List", status, detail;
    std::vector<std::string> statuses;
    bool visible = false, busy = false;
    double bar = -1;
};

class RecordingWindow : public InventoryWindowView {
public:
    void setBusyPointer(bool b) override { busy = b; }
    void setStatusMessage(const std::string& t) override { message = t; }
    bool busy = false;
    std::string message;
};

// A management service whose every node accepts any login and answers every
// query with the rows the test makes, made afresh for each query.
class AnsweringManagement : public ManagementService {
public:
    using Answer = std::function<std::vector<WmiRow>(const std::string& query)>;
    explicit AnsweringManagement(Answer answer) : answer_(std::move(answer)) {}
    std::unique_ptr<WmiLocator> createLocator() override { return std::make_unique<Locator>(answer_); }

private:
    struct Services : WmiServices {
        explicit Services(const Answer& a) : answer(a) {}
        std::vector<WmiRow> execQuery(const std::string& query) override { return answer(query); }
        const Answer& answer;
    };
    struct Locator : WmiLocator {
        explicit Locator(const Answer& a) : answer(a) {}
        std::unique_ptr<WmiServices> connectServer(const std::string&, const std::string&, const std::string&,
                                                   const std::string&) override
        {
            return std::make_unique<Services>(answer);
        }
        const Answer& answer;
    };
    Answer answer_;
};

} // namespace vorlu::test
