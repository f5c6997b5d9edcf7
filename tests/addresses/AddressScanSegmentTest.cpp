// A /24 of network namespaces: ten computers answering on a management port
// among 254 addresses, some named by a hosts file, some by Samba's nmbd over
// NetBIOS, the rest by their address; addresses that refuse and addresses
// whose packets a firewall drops. The scan finds exactly the ten with the
// right names, in process and through `vorlu-optical --scan`.
#include "addresses/AddressScanner.h"
#include "addresses/HeadlessScan.h"
#include "nodes/NodeConnections.h"
#include "nodes/NodeFile.h"
#include "nodes/AtomicFile.h"
#include "support/Netns.h"
#include "support/ScanSegment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <thread>

namespace vorlu {
namespace {

using test::ScanSegment;
using Service = ScanSegment::Service;

// What the scan must find: address, name, how it was named, open ports, identified.
struct Expected {
    const char* address;
    const char* name;
    NameSource source;
    std::vector<std::uint16_t> ports;
    bool identified;
};

const std::vector<Expected> Wanted = {
    {"10.78.0.10", "SRV-FILES", NameSource::ReverseDns, {5985}, true},
    {"10.78.0.11", "SRV-PRINT", NameSource::ReverseDns, {5985}, true},
    {"10.78.0.12", "SRV-NB12", NameSource::NetBios, {5985}, true},
    {"10.78.0.13", "10.78.0.13", NameSource::Address, {5985}, true},
    {"10.78.0.20", "SRV-TLS", NameSource::ReverseDns, {5986}, true},
    {"10.78.0.21", "SRV-NB21", NameSource::NetBios, {5986}, true},
    {"10.78.0.22", "10.78.0.22", NameSource::Address, {5986}, true},
    {"10.78.0.30", "SRV-NB30", NameSource::NetBios, {5985}, false},
    {"10.78.0.31", "10.78.0.31", NameSource::Address, {5985}, false},
    {"10.78.0.40", "SRV-NB40", NameSource::NetBios, {5985}, true},
};

class AddressScanSegment : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string why = ScanSegment::unavailableReason();
        if (!why.empty()) {
            skipReason_ = new std::string(why);
            return;
        }
        segment_ = new ScanSegment(ScanSegment::lab());
    }
    static void TearDownTestSuite()
    {
        delete segment_;
        segment_ = nullptr;
        delete skipReason_;
        skipReason_ = nullptr;
    }
    void SetUp() override
    {
        if (skipReason_)
            GTEST_SKIP() << *skipReason_;
        ASSERT_TRUE(dir_.isValid());
        std::ofstream(path("hosts")) << ScanSegment::LabNames;
    }
    std::filesystem::path path(const char* name) const
    {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }

    static ScanSegment* segment_;
    static std::string* skipReason_;
    QTemporaryDir dir_;
};

ScanSegment* AddressScanSegment::segment_ = nullptr;
std::string* AddressScanSegment::skipReason_ = nullptr;

TEST_F(AddressScanSegment, FindsExactlyTheTenComputersWithTheirNames)
{
    std::string error;
    const auto names = HostsFileNames::load(path("hosts"), error);
    ASSERT_TRUE(names) << error;
    AddressScanServices services{*names};
    std::string reason;
    const auto range = parseAddressRange(ScanSegment::Subnet, reason);
    ASSERT_TRUE(range) << reason;
    ASSERT_EQ(range->count, 254u);

    // Generous answer times: a loaded test machine must not turn a late answer into a wrong name.
    AddressScanOptions options;
    options.netBiosTimeoutMs = 5000;
    options.identifyTimeoutMs = 10000;
    std::vector<FoundComputer> found;
    std::thread scanner([&] {
        const auto inside = test::ThreadInNamespace::enter(segment_->clientNamespace(), &error);
        if (inside)
            found = scanAddresses(*range, services, options);
    });
    scanner.join();
    ASSERT_TRUE(error.empty()) << error;

    ASSERT_EQ(found.size(), Wanted.size());
    for (std::size_t k = 0; k < Wanted.size(); ++k) {
        const Expected& w = Wanted[k];
        const FoundComputer& f = found[k];
        EXPECT_EQ(f.addressText, w.address);
        EXPECT_EQ(f.name, w.name) << w.address;
        EXPECT_EQ(f.source, w.source) << w.address;
        EXPECT_EQ(f.openPorts, w.ports) << w.address;
        EXPECT_EQ(f.identity.has_value(), w.identified) << w.address << ": " << f.identifyProblem;
        if (f.identity) {
            EXPECT_EQ(f.identity->productVersion,
                      "OS: 10.0." + std::string(w.address).substr(8) + " SP: 0.0 Stack: 3.0");
        }
    }
}

TEST_F(AddressScanSegment, CommandLineMergesIntoTheNodeFileWithoutDuplicates)
{
    const QString program = QStringLiteral(VORLU_BINARY_DIR "/vorlu-optical");
    if (!QFile::exists(program))
        GTEST_SKIP() << "the program is not built in this configuration";
    // Already listed: one by its address, one by its name.
    NodeTable table;
    NodeRecord known = discoveredNode("OLD-FILES");
    known.IP = "10.78.0.10";
    table.append(known);
    NodeRecord byName = discoveredNode("SRV-NB12");
    byName.IP = "10.78.0.99";
    table.append(byName);
    ASSERT_TRUE(saveNodeFile(path(NodeFileName), table, NodeFileForm::Plain));

    auto run = [&] {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(QStringLiteral("ip"), {"netns", "exec", QString::fromStdString(segment_->clientNamespace()), program,
                                       "--scan", ScanSegment::Subnet, "--data-dir", dir_.path(), "--names",
                                       QString::fromStdString(path("hosts").string())});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput().toStdString();
    };
    const std::string out = run();
    EXPECT_NE(out.find("10.78.0.12 SRV-NB12 (NetBIOS) ports 5985 Microsoft Corporation"), std::string::npos) << out;
    EXPECT_NE(out.find("10.78.0.10 is already in the node list as OLD-FILES"), std::string::npos) << out;
    EXPECT_NE(out.find("10 computers answered in 10.78.0.1-10.78.0.254, 8 added"), std::string::npos) << out;

    NodeTable merged;
    std::string text;
    ASSERT_TRUE(readWholeFile(path(NodeFileName), text));
    parseNodeFile(text, merged);
    ASSERT_EQ(merged.count(), 10u);
    EXPECT_EQ(merged.at(1).Name, "OLD-FILES");
    EXPECT_EQ(merged.at(3).Name, "SRV-PRINT");
    EXPECT_EQ(merged.at(3).IP, "10.78.0.11");
    for (std::size_t n = 3; n <= merged.count(); ++n)
        EXPECT_TRUE(std::filesystem::is_directory(path(merged.at(n).Name.c_str()))) << merged.at(n).Name;

    NodeConnections connections;
    ASSERT_TRUE(readNodeConnections(dir_.path().toStdString(), connections));
    const NodeConnection https{true, 5986, SignInMethod::Automatic, ""};
    EXPECT_EQ(connections, (NodeConnections{{"SRV-TLS", https}, {"SRV-NB21", https}, {"10.78.0.22", https}}));

    // A second run finds the same computers and adds none of them again.
    const std::string again = run();
    EXPECT_NE(again.find(", 0 added"), std::string::npos) << again;
    ASSERT_TRUE(readWholeFile(path(NodeFileName), text));
    NodeTable unchanged;
    parseNodeFile(text, unchanged);
    EXPECT_EQ(unchanged.count(), 10u);
}

} // namespace
} // namespace vorlu
