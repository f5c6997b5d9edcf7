#include "fleet/FleetExport.h"
#include "platform/TextCase.h"

#include "nodes/AtomicFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <cctype>

namespace vorlu {

namespace {

const char* const Columns[] = {"node", "ip", "drive", "name", "state", "status", "lastDiagnosed", "reason"};
const char* const Headings[] = {"Node", "IP", "Drive", "Name", "State", "Status", "Last diagnosed", "Reason"};

std::vector<std::string> fieldsOf(const FleetRow& r)
{
    return {r.nodeName, r.IP, r.drive, r.name, stateName(r.state), r.statusText, r.lastDiagnosed, r.reason};
}

std::string csvField(const std::string& v)
{
    // A leading formula sign would run as a formula in a spreadsheet; a quote keeps it text.
    const bool formula = !v.empty() && std::string("=+-@").find(v.front()) != std::string::npos;
    if (!formula && v.find_first_of(",\"\r\n") == std::string::npos)
        return v;
    std::string out = "\"";
    if (formula)
        out += '\'';
    for (char c : v) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string htmlText(const std::string& v)
{
    std::string out;
    for (char c : v) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string stateClass(FleetState s)
{
    std::string n = stateName(s);
    std::replace(n.begin(), n.end(), ' ', '-');
    return n;
}

} // namespace

std::optional<ExportFormat> exportFormatOf(const std::filesystem::path& file)
{
    const std::string ext = lowerAscii(file.extension().string());
    if (ext == ".csv")
        return ExportFormat::Csv;
    if (ext == ".json")
        return ExportFormat::Json;
    if (ext == ".html" || ext == ".htm")
        return ExportFormat::Html;
    return std::nullopt;
}

std::string formatFleetCsv(const std::vector<FleetRow>& rows)
{
    std::string out;
    auto line = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            out += (i ? "," : "") + csvField(fields[i]);
        out += "\r\n";
    };
    line(std::vector<std::string>(std::begin(Headings), std::end(Headings)));
    for (const FleetRow& r : rows)
        line(fieldsOf(r));
    return out;
}

std::string formatFleetJson(const std::vector<FleetRow>& rows, const ExportHeader& header)
{
    QJsonArray drives;
    for (const FleetRow& r : rows) {
        QJsonObject o;
        const auto f = fieldsOf(r);
        for (std::size_t i = 0; i < f.size(); ++i)
            o.insert(Columns[i], QString::fromStdString(f[i]));
        drives.append(o);
    }
    const FleetCounts c = countFleet(rows);
    QJsonObject counters{{"green", c.green}, {"amber", c.amber}, {"red", c.red}, {"notReached", c.notReached}};
    QJsonObject root{{"date", QString::fromStdString(header.date)},
                     {"version", QString::fromStdString(header.version)},
                     {"counters", counters},
                     {"drives", drives}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string formatFleetHtml(const std::vector<FleetRow>& rows, const ExportHeader& header)
{
    const FleetCounts c = countFleet(rows);
    std::string out;
    out.reserve(rows.size() * 300 + 2000);
    out += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
           "<title>Vorlu Optical fleet report</title>\n<style>\n"
           "body{font-family:sans-serif;margin:1em}table{border-collapse:collapse}"
           "th,td{border:1px solid #999;padding:2px 6px;text-align:left;white-space:pre-wrap}"
           ".green{background:#8f8}.amber{background:#fc6}.red{background:#f77}"
           ".unknown{background:#fc6}.not-reached{background:#ddd}.no-drive{background:#fff}\n"
           "</style></head><body>\n<h1>Vorlu Optical fleet report</h1>\n";
    out += "<p>Date: " + htmlText(header.date) + " &middot; Version: " + htmlText(header.version) + "</p>\n";
    out += "<p><span class=\"green\">Green: " + std::to_string(c.green) + "</span> <span class=\"amber\">Amber: " +
           std::to_string(c.amber) + "</span> <span class=\"red\">Red: " + std::to_string(c.red) +
           "</span> <span class=\"not-reached\">Not reached: " + std::to_string(c.notReached) + "</span></p>\n";
    out += "<table>\n<tr>";
    for (const char* h : Headings)
        out += std::string("<th>") + h + "</th>";
    out += "</tr>\n";
    for (const FleetRow& r : rows) {
        out += "<tr class=\"" + stateClass(r.state) + "\">";
        for (const std::string& f : fieldsOf(r))
            out += "<td>" + htmlText(f) + "</td>";
        out += "</tr>\n";
    }
    out += "</table>\n</body></html>\n";
    return out;
}

bool writeFleetExport(const std::filesystem::path& file, const std::vector<FleetRow>& rows,
                      const ExportHeader& header, std::string* error)
{
    const auto format = exportFormatOf(file);
    if (!format) {
        if (error)
            *error = file.string() + ": unknown export format (use .csv, .json or .html)";
        return false;
    }
    const std::string content = *format == ExportFormat::Csv    ? formatFleetCsv(rows)
                                : *format == ExportFormat::Json ? formatFleetJson(rows, header)
                                                                : formatFleetHtml(rows, header);
    return writeFileAtomically(file, content, FileAccess::Default, error);
}

} // namespace vorlu
