#include "fleet/FleetExport.h"
#include "fleet/HeadlessCheck.h"
#include "fleet/PerfData.h"
#include "support/FleetTestNetwork.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace vorlu {
namespace {

TEST(PerfData, LabelsQuotedWhereTheGuidelinesNeedItAndEmptyTailFieldsDropped)
{
    const struct {
        PerfDatum datum;
        std::string expected;
    } cases[] = {
        {{"green", 3, "", "", 0, 5}, "green=3;;;0;5"},
        {{"red", 1, "", "0", 0, 5}, "red=1;;0;0;5"},
        {{"amber", 0, "0", "", std::nullopt, std::nullopt}, "amber=0;0"},
        {{"plain", 7, "", "", std::nullopt, std::nullopt}, "plain=7"},
        {{"not reached", 2, "", "", 0, std::nullopt}, "'not reached'=2;;;0"},
        {{"it's=x", 1, "", "", std::nullopt, std::nullopt}, "'it''s=x'=1"},
        {{"a|b\nc", 1, "", "", std::nullopt, std::nullopt}, "'abc'=1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPerfDatum(c.datum), c.expected);
}

TEST(PerfData, TheSummaryLineCarriesThresholdsMatchingTheExitCode)
{
    const std::vector<FleetRow> rows{test::pc1Drive(FleetState::Green, "OK"), test::pc1Drive(FleetState::Red, "Error"),
                                     FleetRow{"PC2", "10.0.0.2", "", "", FleetState::NotReached, "Access denied", "", "x", "", {}}};
    const std::string out = formatCheckOutput(rows, checkStatusOf(rows));
    const std::string first = out.substr(0, out.find('\n'));
    EXPECT_EQ(first, "OPTICAL CRITICAL - 1 green, 0 amber, 1 red, 1 nodes not reached | "
                     "green=1;;;0;2 amber=0;0;;0;2 red=1;;0;0;2 not_reached=1;;0;0;2");
}

// The samples the reference client's parser reads from the file, keyed by name and labels.
std::map<std::string, double> parsedSamples(const std::filesystem::path& file)
{
    QProcess python;
    python.start("/usr/bin/python3", {VORLU_SOURCE_DIR "/tests/fleet/parse_prom.py", QString::fromStdString(file.string())});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    std::map<std::string, double> samples;
    for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QJsonObject labels = o["labels"].toObject();
        std::string key = o["name"].toString().toStdString();
        for (const QString& k : labels.keys())
            key += " " + k.toStdString() + "=" + labels[k].toString().toStdString();
        samples[key] = o["value"].toDouble();
    }
    return samples;
}

TEST(PrometheusExport, TheReferenceParserReadsEveryDriveNodeAndTheTime)
{
    FleetRow odd = test::pc1Drive(FleetState::Amber, "Degraded");
    odd.nodeName = "PC \"1\"\\x\nY";
    odd.drive = "E:";
    FleetRow dup = test::pc1Drive(FleetState::Red, "Error"); // same node, address and drive as the first
    const std::vector<FleetRow> rows{test::pc1Drive(FleetState::Green, "OK"), odd, dup,
                                     FleetRow{"PC2", "10.0.0.2", "", "", FleetState::NotReached, "Access denied", "", "refused", "", {}},
                                     FleetRow{"PC3", "10.0.0.3", "", "", FleetState::NoDrive, "", "", "", "", {}}};
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "optical.prom";
    std::string error;
    ASSERT_TRUE(writeFleetExport(file, rows, {"2026-12-11T02:30:00Z", "1.60"}, &error)) << error;

    const auto s = parsedSamples(file);
    const std::string pc1 = " address=10.0.0.1 drive=D: name=" + rows[0].name + " node=PC1";
    EXPECT_EQ(s.at("vorlu_optical_drive_state" + pc1 + " state=green"), 0) << "the first of a repeated series stays";
    EXPECT_EQ(s.at("vorlu_optical_drive_state address=10.0.0.1 drive=E: name=" + odd.name + " node=PC \"1\"\\x\nY state=amber"), 1);
    EXPECT_EQ(s.at("vorlu_optical_node_reached address=10.0.0.1 node=PC1"), 1);
    EXPECT_EQ(s.at("vorlu_optical_node_reached address=10.0.0.2 node=PC2"), 0);
    EXPECT_EQ(s.at("vorlu_optical_node_reached address=10.0.0.3 node=PC3"), 1);
    EXPECT_EQ(s.at("vorlu_optical_drives state=red"), 1);
    EXPECT_EQ(s.at("vorlu_optical_check_timestamp_seconds"), 1796956200);
    EXPECT_EQ(s.size(), 2u + 4u + 3u + 1u);
}

} // namespace
} // namespace vorlu
