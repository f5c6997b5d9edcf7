#include "nodes/Settings.h"
#include "nodes/TextLines.h"
#include "nodes/TransportSettings.h"
#include "support/PrintTransport.h"

#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <limits>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {
Settings parsed(const std::string& text)
{
    Settings s;
    parseSettings(text, s);
    return s;
}
} // namespace

TEST(Settings, DefaultsWhenMissingOrShort)
{
    QTemporaryDir dir;
    Settings s;
    std::string error = "old";
    EXPECT_FALSE(readSettingsFile(dir.path().toStdString() + "/vrsopt.ini", s, &error));
    EXPECT_EQ(error, "") << "a missing file is no error";
    EXPECT_EQ(s.WmiNamespace, "root\\cimv2");
    EXPECT_TRUE(s.ShowRacks);
    EXPECT_TRUE(s.ShowPasswords);
    EXPECT_EQ(s.BackgroundColour, 0);

    const Settings two = parsed("admin\r\nsecret\r\n");
    EXPECT_EQ(two.AdminUser, "admin");
    EXPECT_EQ(two.AdminPassword, "secret");
    EXPECT_EQ(two.WmiNamespace, "root\\cimv2");
    EXPECT_TRUE(two.ShowRacks);
}

TEST(Settings, AFileThatCannotBeReadIsAnErrorWithItsName)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/vrsopt.ini";
    std::filesystem::create_directory(file);
    Settings s;
    std::string error;
    EXPECT_FALSE(readSettingsFile(file, s, &error));
    EXPECT_EQ(error, "cannot read " + file + ": not a regular file");
    EXPECT_EQ(s.WmiNamespace, "root\\cimv2");
}

TEST(Settings, LinesAndTheirRules)
{
    const Settings s = parsed(" u \n p\n-12.5x\n3\n.5\n 16744448.5 \nIPNAME\n0\nroot\\other\nFalse\n");
    EXPECT_EQ(s.AdminUser, "u");
    EXPECT_EQ(s.CameraEye.z, -12.5f);
    EXPECT_EQ(s.CameraEye.y, 3.0f);
    EXPECT_EQ(s.CameraEye.x, 0.5f);
    EXPECT_EQ(s.BackgroundColour, 16744448) << "a half goes to the even neighbour";
    EXPECT_EQ(s.NodeLabelMode, "IPNAME");
    EXPECT_TRUE(s.labelBoxIpName);
    EXPECT_FALSE(s.labelBoxIp || s.labelBoxName);
    EXPECT_FALSE(s.ShowPasswords);
    EXPECT_EQ(s.WmiNamespace, "root\\other");
    EXPECT_FALSE(s.ShowRacks);
}

TEST(Settings, ValuesOutsideTheListedOnes)
{
    struct Case {
        const char* line7to10;
        bool anyBox;
        bool showPasswords;
        bool racks;
    };
    const Case cases[] = {
        {"ip\n1\nroot\\cimv2\nTrue\n", false, true, true},
        {"NAME\nyes\nns\nmaybe\n", true, true, true},
        {"IP\n0\nns\nfalse\n", true, false, true},
    };
    for (const Case& c : cases) {
        const Settings s = parsed(std::string("a\nb\n0\n0\n0\n0\n") + c.line7to10);
        EXPECT_EQ(s.labelBoxIp || s.labelBoxName || s.labelBoxIpName, c.anyBox) << c.line7to10;
        EXPECT_EQ(s.ShowPasswords, c.showPasswords) << c.line7to10;
        EXPECT_EQ(s.ShowRacks, c.racks) << c.line7to10;
    }
    EXPECT_EQ(parsed("a\nb\n0\n0\n0\n0\nip\n").NodeLabelMode, "ip") << "stored, though it ticks no box";
}

TEST(Settings, LeadingNumbers)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"12abc", 12}, {"abc", 0}, {"", 0}, {"-3.25", -3.25}, {"+7", 7}, {"1e3", 1000},
                          {"5.", 5},     {".", 0},   {"-", 0}, {"0x10", 0},    {"inf", 0}};
    for (const Case& c : cases) {
        double v = -99;
        ASSERT_TRUE(leadingNumber(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    double v = 0;
    EXPECT_FALSE(leadingNumber("1e999", v));
    // A colour beyond 32 bits ends the reading; what came before still applies.
    const Settings s = parsed("a\nb\n1\n2\n3\n99999999999\nIP\n");
    EXPECT_EQ(s.CameraEye.x, 3.0f);
    EXPECT_EQ(s.BackgroundColour, 0);
    EXPECT_EQ(s.NodeLabelMode, "");
}

TEST(Settings, WriteThenReadGivesTheSameValues)
{
    Settings s;
    s.AdminUser = "administrator";
    s.AdminPassword = "p w";
    s.CameraEye = {1.5f, -2.25f, -7.0f};
    s.BackgroundColour = 0x00FF8000;
    s.NodeLabelMode = "IP";
    s.ShowPasswords = false;
    s.WmiNamespace = "root\\wmi";
    s.ShowRacks = false;
    s.KeepPasswordsInKeyring = true;
    const std::string text = formatSettings(s);
    EXPECT_EQ(text, "administrator\r\np w\r\n-7\r\n-2.25\r\n1.5\r\n16744448\r\nIP\r\n0\r\nroot\\wmi\r\nFalse\r\n"
                    "http\r\n5985\r\n1\r\n0\r\n\r\n5000\r\n30000\r\n\r\n\r\n64\r\n1\r\n");
    const Settings back = parsed(text);
    EXPECT_EQ(back.AdminPassword, s.AdminPassword);
    EXPECT_EQ(back.CameraEye.x, 1.5f);
    EXPECT_EQ(back.CameraEye.y, -2.25f);
    EXPECT_EQ(back.CameraEye.z, -7.0f);
    EXPECT_EQ(back.BackgroundColour, s.BackgroundColour);
    EXPECT_EQ(back.NodeLabelMode, "IP");
    EXPECT_FALSE(back.ShowPasswords);
    EXPECT_EQ(back.WmiNamespace, "root\\wmi");
    EXPECT_FALSE(back.ShowRacks);
    EXPECT_TRUE(back.KeepPasswordsInKeyring);
}

TEST(Settings, NumbersTooSmallForADoubleReadAsZeroAndTheReadingGoesOn)
{
    const std::string manyZeros = "0." + std::string(400, '0') + "1";
    for (const std::string& tiny : {std::string("1e-400"), std::string("-2.5e-999999999999"), manyZeros}) {
        double v = -1;
        ASSERT_TRUE(leadingNumber(tiny, v)) << tiny;
        EXPECT_EQ(v, 0.0) << tiny;
        const Settings s = parsed(std::string("\n\n") + tiny + "\n2\n3\n255\n");
        EXPECT_EQ(s.CameraEye.z, 0.0f) << tiny;
        EXPECT_EQ(s.BackgroundColour, 255) << tiny;
    }
    double v = 0;
    EXPECT_FALSE(leadingNumber("100000e99999", v));
}

TEST(Settings, EveryFloatTheWriterWritesReadsBack)
{
    constexpr float kMax = std::numeric_limits<float>::max();
    const float edges[] = {0.0f, -0.0f, kMax, -kMax, std::numeric_limits<float>::min(),
                           std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
                           std::nextafter(kMax, 0.0f), 1e-38f, 123456.789f, -1.0f / 3.0f, 16777217.0f};
    for (const float f : edges) {
        Settings s;
        s.CameraEye = {f, -f, f};
        s.BackgroundColour = 42;
        const Settings back = parsed(formatSettings(s));
        EXPECT_EQ(back.CameraEye.x, f) << f;
        EXPECT_EQ(back.CameraEye.y, -f) << f;
        EXPECT_EQ(std::signbit(back.CameraEye.z), std::signbit(f)) << f;
        EXPECT_EQ(back.BackgroundColour, 42) << "a later setting fell back after " << f;
    }
    // What cannot be written as a number is written as the nearest one that can.
    Settings s;
    s.CameraEye = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                   std::numeric_limits<float>::quiet_NaN()};
    const Settings back = parsed(formatSettings(s));
    EXPECT_EQ(back.CameraEye.x, kMax);
    EXPECT_EQ(back.CameraEye.y, -kMax);
    EXPECT_EQ(back.CameraEye.z, 0.0f);
    // The 14-byte file that once did not read back: the largest float, as another writer spells it.
    EXPECT_EQ(parsed("\r\n\r\n3.4028234e38").CameraEye.z, kMax);
    EXPECT_EQ(parsed("\n\n3.4028236e38\n1\n").CameraEye.y, Settings{}.CameraEye.y);
}

namespace {
const std::string TenLines = "admin\r\nsecret\r\n-10\r\n1\r\n2\r\n255\r\nNAME\r\n0\r\nroot\\wmi\r\nFalse\r\n";

void expectTenLines(const Settings& s, const std::string& what)
{
    EXPECT_EQ(s.AdminPassword, "secret") << what;
    EXPECT_EQ(s.BackgroundColour, 255) << what;
    EXPECT_EQ(s.NodeLabelMode, "NAME") << what;
    EXPECT_EQ(s.WmiNamespace, "root\\wmi") << what;
    EXPECT_FALSE(s.ShowRacks) << what;
}
} // namespace

TEST(SettingsTransport, OlderFilesAndFilesThatEndEarlyKeepTheDefaults)
{
    const Settings old = parsed(TenLines);
    expectTenLines(old, "ten lines");
    EXPECT_EQ(old.transport, RemoteTransport{});
    EXPECT_EQ(formatSettings(old).substr(0, TenLines.size()), TenLines) << "the ten lines are written as they were";

    const Settings https = parsed(TenLines + "https\r\n");
    EXPECT_TRUE(https.transport.https);
    EXPECT_EQ(https.transport.port, 5986) << "the scheme's own port where none is given";
    const Settings twelve = parsed(TenLines + "https\r\n8443\r\n");
    EXPECT_EQ(twelve.transport.port, 8443);
    EXPECT_TRUE(twelve.transport.verifyCertificate);
    EXPECT_EQ(twelve.transport.queryTimeoutMs, 30000);
    // The transport lines come only after a whole set of ten.
    EXPECT_EQ(parsed("a\r\nb\r\n0\r\n0\r\n0\r\nhttps\r\n").transport, RemoteTransport{});
}

TEST(SettingsTransport, EachBadLineKeepsItsDefaultAndTheOthersApply)
{
    const std::vector<std::string> good = {"https", "8443", "0", "1", "/etc/ssl/office-ca.pem", "2500", "90000",
                                           "corp.example.com", "dc1.corp.example.com", "128"};
    RemoteTransport full;
    full.https = true;
    full.port = 8443;
    full.verifyCertificate = false;
    full.allowClearTextBasic = true;
    full.caFile = "/etc/ssl/office-ca.pem";
    full.connectTimeoutMs = 2500;
    full.queryTimeoutMs = 90000;
    full.domain = "corp.example.com";
    full.domainController = "dc1.corp.example.com";
    full.nodesAtOnce = 128;
    const RemoteTransport d;
    const std::function<void(RemoteTransport&)> defaultOf[] = {
        [&](RemoteTransport& t) { t.https = d.https; },
        [&](RemoteTransport& t) { t.port = DefaultHttpsPort; }, // the default of the scheme read
        [&](RemoteTransport& t) { t.verifyCertificate = d.verifyCertificate; },
        [&](RemoteTransport& t) { t.allowClearTextBasic = d.allowClearTextBasic; },
        {},
        [&](RemoteTransport& t) { t.connectTimeoutMs = d.connectTimeoutMs; },
        [&](RemoteTransport& t) { t.queryTimeoutMs = d.queryTimeoutMs; },
        {},
        {},
        [&](RemoteTransport& t) { t.nodesAtOnce = d.nodesAtOnce; },
    };
    auto file = [&](std::size_t line, const std::string& text) {
        std::string f = TenLines;
        for (std::size_t i = 0; i < good.size(); ++i)
            f += (i == line ? text : good[i]) + "\r\n";
        return f;
    };
    const Settings all = parsed(file(99, ""));
    EXPECT_EQ(all.transport, full);
    expectTenLines(all, "full file");

    struct Case {
        std::size_t line;
        const char* text;
    };
    const Case cases[] = {{0, "ftp"},   {0, ""},     {1, "0"},     {1, "65536"},  {1, "-1"},    {1, "+8443"},
                          {1, "84 43"}, {1, "8443x"}, {1, "1e4"},  {2, "yes"},    {2, "2"},     {3, "True"},
                          {5, "99"},    {5, "60001"}, {5, "2.5"},  {6, "999"},    {6, "600001"}, {6, "99999999999"},
                          {6, "abc"}, {9, "0"},       {9, "257"},   {9, "-64"}};
    for (const Case& c : cases) {
        const std::string what = "line " + std::to_string(11 + c.line) + " \"" + c.text + "\"";
        const Settings s = parsed(file(c.line, c.text));
        RemoteTransport expected = full;
        defaultOf[c.line](expected);
        EXPECT_EQ(s.transport, expected) << what;
        expectTenLines(s, what);
        // The next writing puts the default in its place; the file reads back the same.
        EXPECT_EQ(parsed(formatSettings(s)).transport, expected) << what;
    }
    // The limits themselves are settings.
    EXPECT_EQ(parsed(TenLines + "http\r\n65535\r\n1\r\n0\r\n\r\n100\r\n600000\r\n").transport.port, 65535);
    EXPECT_EQ(parsed(TenLines + "http\r\n1\r\n1\r\n0\r\n\r\n100\r\n600000\r\n").transport.connectTimeoutMs, 100);
    EXPECT_EQ(parsed(TenLines + "http\r\n1\r\n1\r\n0\r\n\r\n100\r\n600000\r\n\r\n\r\n1\r\n").transport.nodesAtOnce, 1);
    EXPECT_EQ(parsed(TenLines + "http\r\n1\r\n1\r\n0\r\n\r\n100\r\n600000\r\n\r\n\r\n256\r\n").transport.nodesAtOnce, 256);
}

TEST(SettingsTransport, WriteThenReadGivesTheSameTransport)
{
    Settings s;
    s.transport.https = true;
    s.transport.port = 5985; // HTTPS on the HTTP port stays where it was put
    s.transport.verifyCertificate = false;
    s.transport.allowClearTextBasic = true;
    s.transport.caFile = "ca files/office.pem";
    s.transport.connectTimeoutMs = 100;
    s.transport.queryTimeoutMs = 600000;
    s.transport.domain = "corp.example.com";
    s.transport.nodesAtOnce = 8;
    const std::string text = formatSettings(s);
    // The keyring line follows.
    const std::string lines =
        "https\r\n5985\r\n0\r\n1\r\nca files/office.pem\r\n100\r\n600000\r\ncorp.example.com\r\n\r\n8\r\n0\r\n";
    ASSERT_GE(text.size(), lines.size());
    EXPECT_EQ(text.substr(text.size() - lines.size()), lines);
    EXPECT_EQ(parsed(text).transport, s.transport);
}

TEST(SettingsTransport, TheSchemeMovesOnlyADefaultPort)
{
    RemoteTransport t;
    setScheme(t, true);
    EXPECT_EQ(t.port, 5986);
    setScheme(t, false);
    EXPECT_EQ(t.port, 5985);
    t.port = 8080;
    setScheme(t, true);
    EXPECT_EQ(t.port, 8080);
    t.port = 5985;
    setScheme(t, true); // already HTTPS: nothing moves
    EXPECT_EQ(t.port, 5985);
}
