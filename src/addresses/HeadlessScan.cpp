#include "addresses/HeadlessScan.h"

#include "addresses/JoinFound.h"
#include "nodes/NodeFolders.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/Settings.h"

#include <system_error>

namespace vorlu {

namespace {

int cannot(std::ostream& err, const std::string& why)
{
    err << "vorlu-optical: " << why << '\n';
    return 2;
}

bool readNodes(const std::filesystem::path& file, NodeTable& table, std::string& error)
{
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found)
        return true;
    std::string text;
    if (!readWholeFile(file, text, &error, MaxNodeFileBytes))
        return false;
    if (countNodeRecords(text) > MaxNodeRecords) {
        error = "cannot read " + file.string() + ": more than " + std::to_string(MaxNodeRecords) + " records";
        return false;
    }
    parseNodeFile(text, table);
    return true;
}

} // namespace

int runHeadlessScan(const HeadlessScanRun& run, AddressScanServices& services, std::ostream& out,
                    std::ostream& err)
{
    std::string reason;
    const auto range = parseAddressRange(run.range, reason);
    if (!range)
        return cannot(err, "--scan " + run.range + ": " + reason);

    // Everything that will be written is read first: a file that cannot be
    // read is never replaced by what the scan alone knows.
    const auto nodeFile = run.programFolder / NodeFileName;
    NodeTable table;
    std::string error;
    if (!readNodes(nodeFile, table, error))
        return cannot(err, error + "; nothing was scanned or written");
    NodeConnections connections;
    if (!readNodeConnections(run.programFolder, connections, &error))
        return cannot(err, error + "; nothing was scanned or written");
    Settings settings;
    (void)readSettingsFile(run.programFolder / SettingsFileName, settings);

    std::vector<FoundComputer> found;
    try {
        found = scanAddresses(*range, services, run.options);
    } catch (const std::exception& e) {
        return cannot(err, std::string("the scan failed: ") + e.what());
    }
    const NodeConnections before = connections;
    const JoinResult joined = joinFoundComputers(table, found, connections, settings.transport);
    for (const FoundComputer& c : found)
        out << describeFound(c) << '\n';
    for (const std::string& note : joined.notes)
        out << "  not added: " << note << '\n';

    if (!joined.added.empty()) {
        if (!saveNodeFile(nodeFile, table, NodeFileForm::Plain, &error))
            return cannot(err, error);
        for (const std::size_t n : joined.added) {
            const std::string& name = table.at(n).Name;
            if (folderNameProblem(name))
                continue;
            std::error_code ec;
            std::filesystem::create_directory(nodeFolder(run.programFolder, name), ec);
            if (ec)
                err << "vorlu-optical: no folder made for node " << name << ": " << ec.message() << '\n';
        }
    }
    if (connections != before && !saveNodeConnections(run.programFolder, connections, &error))
        return cannot(err, error);
    out << found.size() << " computers answered in " << formatIPv4(range->first) << "-"
        << formatIPv4(range->at(range->count - 1)) << ", " << joined.added.size() << " added to "
        << nodeFile.string() << '\n';
    return 0;
}

} // namespace vorlu
