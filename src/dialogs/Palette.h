#pragma once
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorlu {

// A colour as the colour dialog holds it.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Palette pixels use the picture colour layout 0x00BBGGRR (red in the low
// byte); the background colour of the 3D view uses 0x00RRGGBB.
std::uint32_t pictureColour(Rgb c);
Rgb rgbFromPictureColour(std::uint32_t c);

// Value to byte: clamps to 0..255 and rounds halves to even.
std::uint8_t fixByte(float value);

// The hue band that fades toward the grey (grey, grey, grey) from top to
// bottom. Pixels are row-major, 0x00BBGGRR.
struct PaletteImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

// width and height are the palette's size in pixels (they may be fractional;
// the hue step uses the unrounded width, the fade the unrounded height).
PaletteImage drawPalette(float width, float height, int grey);

// Six upper-case hexadecimal digits, red, green, blue ("0AC805").
QString hexCode(Rgb c);

// Reads text the way a hexadecimal literal is read: digits up to the first
// character that is not one, no digit at all gives 0. Up to four digits are a
// 16-bit value (FFFF is -1), five to eight a 32-bit value. More than eight
// digits do not fit and give nullopt.
std::optional<std::int32_t> readHexValue(QStringView text);

} // namespace vorlu
