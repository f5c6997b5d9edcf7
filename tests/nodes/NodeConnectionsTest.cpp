// The nodes' own connections beside lg.ini: written and read back, records
// that cannot be read, and the file kept owner-only.
#include "nodes/NodeConnections.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

namespace vorlu {
namespace {

TEST(NodeConnections, RoundTripOwnerOnly)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const NodeConnections written{
        {"SRV-FILES", {true, 5986, SignInMethod::Basic, ""}},
        {"pc-7", {false, 8080, SignInMethod::Kerberos, "HTTP/pc-7.lab.example"}},
        {"WS-A", {false, 5985, SignInMethod::Negotiate, ""}},
        {"WS-B", {true, 443, SignInMethod::Automatic, ""}},
    };
    ASSERT_TRUE(saveNodeConnections(folder, written));
    NodeConnections read;
    std::string error;
    ASSERT_TRUE(readNodeConnections(folder, read, &error)) << error;
    EXPECT_EQ(read, written);

    struct stat st{};
    ASSERT_EQ(::stat((folder / NodeConnectionsFileName).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(NodeConnections, MissingFileIsNoConnection)
{
    QTemporaryDir dir;
    NodeConnections read{{"x", {}}};
    EXPECT_TRUE(readNodeConnections(dir.path().toStdString(), read));
    EXPECT_TRUE(read.empty());
}

TEST(NodeConnections, RecordsThatCannotBeReadAreNamedAndTheFileIsNotToBeSaved)
{
    const std::string text = "GOOD\r\nhttps\r\n5986\r\nbasic\r\n\r\n"
                             "BADPORT\r\nhttp\r\n70000\r\nautomatic\r\n\r\n"
                             "BADSCHEME\r\nftp\r\n21\r\nautomatic\r\n\r\n"
                             "BADSIGNIN\r\nhttp\r\n5985\r\nntlm\r\n\r\n"
                             "CUT\r\nhttp\r\n";
    std::string problems;
    const NodeConnections read = parseNodeConnections(text, &problems);
    EXPECT_EQ(read, (NodeConnections{{"GOOD", {true, 5986, SignInMethod::Basic, ""}}}));
    for (const char* name : {"BADPORT", "BADSCHEME", "BADSIGNIN", "CUT"})
        EXPECT_NE(problems.find(name), std::string::npos) << name;

    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::ofstream(folder / NodeConnectionsFileName) << text;
    NodeConnections fromFile;
    std::string error;
    EXPECT_FALSE(readNodeConnections(folder, fromFile, &error));
    EXPECT_EQ(fromFile.size(), 1u);
    EXPECT_NE(error.find("BADPORT"), std::string::npos);
}

} // namespace
} // namespace vorlu
