#pragma once
#include <QRect>
#include <cmath>

namespace vorlu {

// Form geometry is designed in twips (1/1440 inch); this turns it into pixels
// for the screen's logical resolution.
struct Twips {
    double dpi = 96.0;
    int px(double twips) const { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(px(left), px(top), px(width), px(height));
    }
};

// Whether the screen is a standard one of at most 105 pixels per inch. Qt
// scales a high-resolution screen by its device pixel ratio and reports 96
// logical dots per inch, so the real figure is the product of the two.
inline bool isStandardDpi(double logicalDpi, double devicePixelRatio) { return logicalDpi * devicePixelRatio <= 105.0; }

} // namespace vorlu
