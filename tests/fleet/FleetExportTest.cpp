#include "fleet/FleetExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace vorlu {
namespace {

// RFC 4180 records, enough to read back what the export writes.
std::vector<std::vector<std::string>> readCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                records.back().back() += text[++i];
            else if (c == '"')
                quoted = false;
            else
                records.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            records.back().back() += c;
        }
    }
    records.pop_back(); // after the last line break
    return records;
}

const std::string Hostile[] = {
    "plain",
    "a, b",
    "say \"hi\"",
    "<script>alert(1)</script>",
    "line\nbreak\r\nand more",
    "</td></tr></table><img src=x onerror=alert(1)>",
    "&amp; ' \\ \t end",
    "=HYPERLINK(\"http://x\")",
    "\xc3\xa9t\xc3\xa9 \xe2\x82\xac",
};

std::vector<FleetRow> hostileRows()
{
    std::vector<FleetRow> rows;
    for (const std::string& v : Hostile) {
        FleetRow r;
        r.nodeName = v;
        r.name = v;
        r.reason = v;
        r.state = FleetState::Red;
        rows.push_back(r);
    }
    return rows;
}

TEST(FleetExport, CsvReadsBackEveryHostileValueInItsOwnField)
{
    const auto records = readCsv(formatFleetCsv(hostileRows()));
    ASSERT_EQ(records.size(), std::size(Hostile) + 1);
    for (std::size_t i = 0; i < std::size(Hostile); ++i) {
        ASSERT_EQ(records[i + 1].size(), 8u) << Hostile[i];
        const std::string expected = Hostile[i].front() == '=' ? "'" + Hostile[i] : Hostile[i];
        EXPECT_EQ(records[i + 1][3], expected);
        EXPECT_EQ(records[i + 1][4], "red");
    }
}

TEST(FleetExport, JsonParsesBackEveryHostileValue)
{
    const std::string text = formatFleetJson(hostileRows(), {"2026-12-10T10:00:00Z", "1.60"});
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text;
    const QJsonArray drives = doc.object()["drives"].toArray();
    ASSERT_EQ(static_cast<std::size_t>(drives.size()), std::size(Hostile));
    for (std::size_t i = 0; i < std::size(Hostile); ++i)
        EXPECT_EQ(drives[static_cast<int>(i)].toObject()["name"].toString().toStdString(), Hostile[i]);
    EXPECT_EQ(doc.object()["counters"].toObject()["red"].toInt(), static_cast<int>(std::size(Hostile)));
    EXPECT_EQ(doc.object()["version"].toString(), "1.60");
}

TEST(FleetExport, HtmlCarriesNoMarkupFromTheValues)
{
    const std::string html = formatFleetHtml(hostileRows(), {"2026-12-10T10:00:00Z", "1.60 <b>"});
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("&amp;amp;"), std::string::npos);
    std::size_t rowsSeen = 0;
    for (std::size_t at = html.find("<tr"); at != std::string::npos; at = html.find("<tr", at + 1))
        ++rowsSeen;
    EXPECT_EQ(rowsSeen, std::size(Hostile) + 1);
    EXPECT_NE(html.find("Red: 9"), std::string::npos);
    EXPECT_NE(html.find("2026-12-10T10:00:00Z"), std::string::npos);
}

TEST(FleetExport, FormatByExtensionAndAnUnknownOneWritesNothing)
{
    EXPECT_EQ(exportFormatOf("a.CSV"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatOf("a.json"), ExportFormat::Json);
    EXPECT_EQ(exportFormatOf("a.htm"), ExportFormat::Html);
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("fleet.txt").toStdString();
    std::string error;
    EXPECT_FALSE(writeFleetExport(file, hostileRows(), {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace vorlu
