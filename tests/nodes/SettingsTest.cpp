#include "nodes/Settings.h"

#include <QTemporaryDir>
#include <cmath>
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
    const std::string text = formatSettings(s);
    EXPECT_EQ(text, "administrator\r\np w\r\n-7\r\n-2.25\r\n1.5\r\n16744448\r\nIP\r\n0\r\nroot\\wmi\r\nFalse\r\n");
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
