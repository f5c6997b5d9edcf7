#include "dialogs/Palette.h"

#include <cmath>

namespace vorlu {

std::uint32_t pictureColour(Rgb c)
{
    return std::uint32_t{c.red} | (std::uint32_t{c.green} << 8) | (std::uint32_t{c.blue} << 16);
}

Rgb rgbFromPictureColour(std::uint32_t c)
{
    return {static_cast<std::uint8_t>(c & 0xFFu), static_cast<std::uint8_t>((c / 256u) & 0xFFu),
            static_cast<std::uint8_t>((c / 65536u) & 0xFFu)};
}

std::uint8_t fixByte(float value)
{
    if (value > 255.0f)
        return 255;
    if (value < 0.0f)
        return 0;
    return static_cast<std::uint8_t>(std::nearbyint(value)); // default rounding: halves to even
}

namespace {

// One column's fade: each channel moves in equal steps from its top value
// toward the grey and stops once it rounds to the grey.
void fadeStep(float& channel, float top, float grey, float rowsMinusOne)
{
    if (std::nearbyint(channel) != grey)
        channel = channel + (grey - top) / rowsMinusOne;
}

} // namespace

PaletteImage drawPalette(float width, float height, int grey)
{
    PaletteImage image;
    const int w = static_cast<int>(std::nearbyint(width));
    const int h = static_cast<int>(std::nearbyint(height));
    if (w <= 0 || h <= 0)
        return image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);

    const float step = 1530.0f / width;
    const float v = static_cast<float>(grey);
    // A palette one row high has nowhere to fade to.
    const float rowsMinusOne = height - 1.0f;
    const bool fades = rowsMinusOne > 0.0f;
    float r = 255.0f;
    float g = 0.0f;
    float b = 0.0f;
    float k = 1.5f;
    int phase = 0;

    for (int x = 1; x <= w; ++x) {
        const float r0 = r;
        const float g0 = g;
        const float b0 = b;
        for (int y = 1; y <= h; ++y) {
            const std::size_t index = static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x - 1);
            image.pixels[index] = pictureColour({fixByte(r), fixByte(g), fixByte(b)});
            if (fades) {
                fadeStep(r, r0, v, rowsMinusOne);
                fadeStep(g, g0, v, rowsMinusOne);
                fadeStep(b, b0, v, rowsMinusOne);
            }
        }
        r = r0;
        g = g0;
        b = b0;

        // Six sixths of 255 hue units each; k eases every sixth in and out.
        switch (phase) {
        case 0:
            g = g0 + k * step;
            k = k - step / 255.0f;
            if (g >= 255.0f) {
                k = k - step / 255.0f;
                phase = 1;
            }
            break;
        case 1:
            r = r0 - k * step;
            k = k + step / 255.0f;
            if (r <= 0.0f)
                phase = 2;
            break;
        case 2:
            b = b0 + k * step;
            k = k - step / 255.0f;
            if (b >= 255.0f) {
                k = k - step / 255.0f;
                phase = 3;
            }
            break;
        case 3:
            g = g0 - k * step;
            k = k + step / 255.0f;
            if (g <= 0.0f)
                phase = 4;
            break;
        case 4:
            r = r0 + k * step;
            k = k - step / 255.0f;
            if (r >= 255.0f) {
                k = k - step / 255.0f;
                phase = 5;
            }
            break;
        case 5:
            b = b0 - k * step;
            k = k + step / 255.0f;
            if (b <= 0.0f)
                phase = 6;
            break;
        default:
            break; // the remaining columns repeat the last hue
        }
    }
    return image;
}

QString hexCode(Rgb c)
{
    auto two = [](std::uint8_t v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); };
    return two(c.red) + two(c.green) + two(c.blue);
}

std::optional<std::int32_t> readHexValue(QStringView text)
{
    std::uint64_t value = 0;
    int digits = 0;
    for (QChar ch : text) {
        int d = -1;
        const char16_t u = ch.unicode();
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        if (d < 0)
            break;
        if (++digits > 8)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    if (digits <= 4)
        return static_cast<std::int32_t>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

} // namespace vorlu
