#include "nodes/NodeFile.h"

#include "nodes/AtomicFile.h"
#include "nodes/TextLines.h"

namespace vorlu {

void parseNodeFile(const std::string& text, NodeTable& table, const std::function<void(std::size_t)>& onRecord,
                   const std::function<void()>& yieldMidRecord)
{
    LineReader reader(text);
    // The end-of-file test runs only before each record; empty lines at the end are no record.
    while (!reader.onlyBlanksLeft()) {
        NodeRecord r;
        r.Enabled.clear();
        r.Scanned.clear();
        std::string* fields[] = {&r.Name, &r.IP, &r.Node, &r.Enabled, &r.Login, &r.Password};
        for (std::string* f : fields)
            reader.next(*f);
        const std::size_t n = table.append(std::move(r));
        if (yieldMidRecord)
            yieldMidRecord();
        reader.next(table.at(n).Scanned);
        if (onRecord)
            onRecord(n);
    }
}

std::size_t countNodeRecords(const std::string& text)
{
    LineReader reader(text);
    std::string line;
    std::size_t records = 0;
    while (!reader.onlyBlanksLeft()) {
        for (int field = 0; field < 7; ++field)
            reader.next(line);
        ++records;
    }
    return records;
}

std::string formatNodeFile(const NodeTable& table, NodeFileForm form)
{
    std::string out;
    out.reserve(table.count() * 64);
    const bool reset = form == NodeFileForm::Reset;
    for (std::size_t n = 1; n <= table.count(); ++n) {
        const NodeRecord& r = table.at(n);
        appendLine(out, r.Name);
        appendLine(out, r.IP);
        appendLine(out, reset ? r.Name : r.Node);
        appendLine(out, reset ? std::string("True") : r.Enabled);
        appendLine(out, r.Login);
        appendLine(out, r.Password);
        appendLine(out, r.Scanned);
    }
    return out;
}

bool saveNodeFile(const std::filesystem::path& file, const NodeTable& table, NodeFileForm form, std::string* error)
{
    return writeFileAtomically(file, formatNodeFile(table, form), error);
}

} // namespace vorlu
