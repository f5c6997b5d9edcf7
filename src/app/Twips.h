#pragma once
#include <QRect>
#include <cmath>

namespace vorlu {

// Form geometry is designed in twips (1/1440 inch); this turns it into pixels
// for the screen's logical resolution.
struct Twips {
    double dpi = 96.0;
    int px(int twips) const { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(px(left), px(top), px(width), px(height));
    }
};

} // namespace vorlu
