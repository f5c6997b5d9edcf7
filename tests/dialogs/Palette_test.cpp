#include "dialogs/Palette.h"

#include <gtest/gtest.h>
#include <climits>
#include <vector>

namespace vorlu {
namespace {

Rgb px(const PaletteImage& image, int x, int y)
{
    return rgbFromPictureColour(image.at(x, y));
}

TEST(FixByte, ClampsAndRoundsHalvesToEven)
{
    struct Case { float in; int out; };
    const Case cases[] = {
        {-0.1f, 0}, {-300.0f, 0}, {0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {42.5f, 42}, {7.5f, 8},
        {127.49f, 127}, {254.5f, 254}, {254.51f, 255}, {255.0f, 255}, {255.4f, 255}, {256.3f, 255}, {1e9f, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixByte(c.in), c.out) << c.in;
}

TEST(PictureColour, RedSitsInTheLowByte)
{
    EXPECT_EQ(pictureColour({255, 0, 0}), 0x0000FFu);
    EXPECT_EQ(pictureColour({10, 200, 5}), 0x05C80Au);
    EXPECT_EQ(rgbFromPictureColour(0x05C80Au), (Rgb{10, 200, 5}));
    EXPECT_EQ(rgbFromPictureColour(0xFF05C80Au), (Rgb{10, 200, 5})); // high byte ignored
}

TEST(HexCode, TwoUpperCaseDigitsPerChannel)
{
    EXPECT_EQ(hexCode({255, 0, 0}), "FF0000");
    EXPECT_EQ(hexCode({10, 200, 5}), "0AC805");
    EXPECT_EQ(hexCode({0, 0, 0}), "000000");
    EXPECT_EQ(hexCode({171, 205, 239}), "ABCDEF");
}

TEST(ReadHexValue, FollowsTheHexadecimalLiteralRules)
{
    struct Case { const char* text; std::int32_t value; };
    const Case cases[] = {
        {"FF0000", 0x00FF0000},
        {"FF8000", 16744448},
        {"ff8000", 16744448},
        {"0AC805", 0x0AC805},
        {"00FFFF", 65535},       // six digits: 32-bit even when the value is small
        {"", 0},
        {"ZZ", 0},
        {" FF", 0},              // a blank is not a digit: reading stops at once
        {"12G4", 0x12},
        {"FF-00", 0xFF},
        {"FFFF", -1},            // four digits or fewer: 16-bit
        {"8000", -32768},
        {"7FFF", 32767},
        {"00FF", 255},
        {"F", 15},
        {"FFFFF", 0xFFFFF},
        {"FFFFFFFF", -1},
        {"80000000", INT_MIN},
        {"7FFFFFFF", INT_MAX},
    };
    for (const auto& c : cases) {
        const auto value = readHexValue(QString::fromLatin1(c.text));
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

TEST(ReadHexValue, MoreThanEightDigitsDoNotFit)
{
    EXPECT_FALSE(readHexValue(u"FFFFFFFFF").has_value());
    EXPECT_FALSE(readHexValue(u"000000000").has_value());
}

TEST(DrawPalette, StepOneStartsWithPureRedAndEasesTowardYellow)
{
    const PaletteImage image = drawPalette(1530.0f, 3.0f, 85);
    ASSERT_EQ(image.width, 1530);
    ASSERT_EQ(image.height, 3);
    EXPECT_EQ(px(image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(image, 1, 0), (Rgb{255, 2, 0}));   // g = 1.5
    EXPECT_EQ(px(image, 2, 0), (Rgb{255, 3, 0}));   // g = 1.5 + (1.5 - 1/255)
    // Three rows: top, half way to the grey (42.5 rounds to even), grey.
    EXPECT_EQ(px(image, 0, 1), (Rgb{170, 42, 42}));
    EXPECT_EQ(px(image, 0, 2), (Rgb{85, 85, 85}));
}

TEST(DrawPalette, UsesTheUnroundedWidthForTheHueStep)
{
    const PaletteImage image = drawPalette(306.0f, 2.0f, 0);
    EXPECT_EQ(px(image, 1, 0), (Rgb{255, 8, 0}));   // 1.5 * 5 = 7.5
    EXPECT_EQ(px(image, 2, 0), (Rgb{255, 15, 0}));  // 7.5 + (1.5 - 5/255) * 5

    const PaletteImage fractional = drawPalette(305.6f, 2.0f, 0);
    EXPECT_EQ(fractional.width, 306);
    EXPECT_EQ(px(fractional, 1, 0).green, fixByte(1.5f * (1530.0f / 305.6f)));
}

TEST(DrawPalette, TopRowRunsThroughTheHuesInOrder)
{
    const PaletteImage image = drawPalette(1530.0f, 2.0f, 85);
    const std::vector<Rgb> hues = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255},
                                   {0, 0, 255}, {255, 0, 255}};
    std::size_t next = 0;
    int firstSeen[6] = {};
    for (int x = 0; x < image.width && next < hues.size(); ++x) {
        if (px(image, x, 0) == hues[next])
            firstSeen[next++] = x;
    }
    ASSERT_EQ(next, hues.size());
    // Each sixth of the band takes about a sixth of the width.
    for (std::size_t i = 1; i < hues.size(); ++i)
        EXPECT_NEAR(firstSeen[i], static_cast<int>(i) * 255, 3) << i;
    // The band ends back near red.
    const Rgb last = px(image, image.width - 1, 0);
    EXPECT_EQ(last.red, 255);
    EXPECT_EQ(last.green, 0);
    EXPECT_LE(last.blue, 3);
}

TEST(DrawPalette, EveryColumnFadesToTheChosenGrey)
{
    for (int grey : {0, 85, 255}) {
        const PaletteImage image = drawPalette(306.0f, 200.0f, grey);
        const auto g = static_cast<std::uint8_t>(grey);
        for (int x = 0; x < image.width; ++x)
            ASSERT_EQ(px(image, x, image.height - 1), (Rgb{g, g, g})) << "grey " << grey << " column " << x;
    }
}

TEST(DrawPalette, DegenerateSizesGiveNoCrash)
{
    EXPECT_TRUE(drawPalette(0.0f, 100.0f, 85).pixels.empty());
    EXPECT_TRUE(drawPalette(100.0f, 0.0f, 85).pixels.empty());
    const PaletteImage oneRow = drawPalette(306.0f, 1.0f, 85);
    ASSERT_EQ(oneRow.height, 1);
    EXPECT_EQ(px(oneRow, 0, 0), (Rgb{255, 0, 0})); // nowhere to fade: the hue band only
}

} // namespace
} // namespace vorlu
