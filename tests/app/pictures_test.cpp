#include "app/Pictures.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>
#include <cmath>

namespace vorlu::pictures {
namespace {

// Screens the pictures must serve: 96 and 120 pixels per inch, and a
// high-density screen at 96 logical pixels per inch with two device pixels
// per logical pixel.
struct Screen {
    const char* name;
    int twipsPerPixel;
    qreal dpr;
};
const Screen Screens[] = {{"96dpi", 15, 1.0}, {"120dpi", 12, 1.0}, {"96dpi@2x", 15, 2.0}};

int px(int twips, const Screen& s)
{
    return twips / s.twipsPerPixel;
}

QRect twipsRect(int left, int top, int width, int height, const Screen& s)
{
    return {px(left, s), px(top, s), px(width, s), px(height, s)};
}

// Toolbar click areas: the designed layout at 96 pixels per inch, the
// large-font layout (moved lefts and tops) at 120.
std::array<QRect, 8> toolbarRects(const Screen& s)
{
    struct T { int left, top, width, height; };
    const T designed[8] = {{9075, 45, 165, 285}, {9510, 45, 165, 285}, {9255, 180, 240, 150}, {9255, 30, 240, 150},
                           {9825, 45, 375, 285}, {10260, 45, 375, 285}, {8430, 45, 375, 285}, {7890, 45, 375, 285}};
    const T large[8] = {{7188, 24, 165, 285}, {7596, 24, 165, 285}, {7356, 144, 240, 150}, {7368, 24, 240, 150},
                        {7812, 24, 375, 285}, {8220, 24, 375, 285}, {6708, 12, 375, 285}, {6276, 12, 375, 285}};
    const T* table = s.twipsPerPixel == 12 ? large : designed;
    std::array<QRect, 8> rects;
    for (std::size_t i = 0; i < 8; ++i)
        rects[i] = twipsRect(table[i].left, table[i].top, table[i].width, table[i].height, s);
    return rects;
}

void save(const QPixmap& pixmap, const QString& name)
{
    const QString dir = qEnvironmentVariable("VORLU_PICTURE_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    ASSERT_TRUE(pixmap.save(QDir(dir).filePath(name + QStringLiteral(".png")))) << name.toStdString();
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

bool fullyOpaque(const QImage& image, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

double luminance(QRgb c)
{
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

// Contrast of white text against a colour (1 to 21).
double contrastWithWhite(QRgb c)
{
    return 1.05 / (luminance(c) + 0.05);
}

// The lowest contrast of white against any pixel of a logical area.
double worstWhiteContrast(const QImage& image, QRect logical, qreal dpr)
{
    const QRect area = QRect(QPoint(qRound(logical.left() * dpr), qRound(logical.top() * dpr)),
                             QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)))
                           .intersected(image.rect());
    double worst = 21;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            worst = std::min(worst, contrastWithWhite(image.pixel(x, y)));
    return worst;
}

void expectDevicePixels(const QPixmap& pixmap, QSize logical, qreal dpr)
{
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), logical);
    EXPECT_EQ(pixmap.size(), QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)));
}

const char* const TreeKeys[] = {"nw", "hm", "pc", "pw", "jp", "dvd", "nd", "ok"};

TEST(TreePictures, EveryKeyDrawsAShapeOnTransparentGround)
{
    for (const Screen& s : Screens) {
        const int size = s.twipsPerPixel == 12 ? 20 : 16;
        for (const char* key : TreeKeys) {
            const QPixmap pixmap = treePicture(QString::fromLatin1(key), size, s.dpr);
            expectDevicePixels(pixmap, {size, size}, s.dpr);
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_GT(distinctColours(image), 12) << key << " " << s.name;
            EXPECT_FALSE(fullyOpaque(image)) << key << " " << s.name; // corners stay clear for the tree's background
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 200;
            EXPECT_GT(opaque, image.width() * image.height() / 4) << key << " " << s.name;
            save(pixmap, QStringLiteral("tree-%1-%2").arg(QLatin1String(key), QLatin1String(s.name)));
        }
    }
}

TEST(TreePictures, KeysLookDifferentAndUnknownKeysAreBlank)
{
    QList<QImage> images;
    for (const char* key : TreeKeys)
        images.append(treePicture(QString::fromLatin1(key), 32, 1.0).toImage());
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << TreeKeys[i] << " vs " << TreeKeys[j];

    const QImage blank = treePicture(QStringLiteral("xyz"), 16, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(distinctColours(blank), 1);
    EXPECT_EQ(qAlpha(blank.pixel(8, 8)), 0);
}

TEST(TreePictures, IconOffersEverySize)
{
    const QIcon icon = treeIcon(QStringLiteral("pc"));
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 20, 24, 32, 48})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST(CommandBar, DarkUnderTheLabelsWithEachIconInItsClickArea)
{
    // Label6 0, 1, 3, 4, 5, 6 (twips), designed and in the large-font layout.
    const QRect designed[] = {{2370, 75, 480, 195}, {3030, 75, 690, 195}, {3900, 75, 585, 195},
                              {4620, 75, 495, 195}, {5355, 75, 900, 195}, {6525, 75, 690, 195}};
    const QRect large[] = {{1764, 60, 480, 195}, {2292, 60, 690, 195}, {3012, 60, 585, 195},
                           {3580, 60, 495, 195}, {4104, 60, 900, 195}, {5124, 60, 690, 195}};
    for (const Screen& s : Screens) {
        const auto& labels = s.twipsPerPixel == 12 ? large : designed;
        const QSize size(px(21615, s), px(375, s));
        const auto rects = toolbarRects(s);
        const QPixmap bar = commandBarBackground(size, s.dpr, rects);
        expectDevicePixels(bar, size, s.dpr);
        save(bar, QStringLiteral("commandbar-%1").arg(QLatin1String(s.name)));
        const QImage image = bar.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(fullyOpaque(image)) << s.name;
        for (const QRect& l : labels)
            EXPECT_GE(worstWhiteContrast(image, twipsRect(l.x(), l.y(), l.width(), l.height(), s), s.dpr), 7.0)
                << s.name << " label at " << l.x();

        // Compare with the bar painted without icons: each click area
        // carries a visible icon, and the far right stays plain.
        std::array<QRect, 8> none{};
        const QImage plain = commandBarBackground(size, s.dpr, none).toImage().convertToFormat(QImage::Format_ARGB32);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const QRect device(QPoint(qRound(rects[i].left() * s.dpr), qRound(rects[i].top() * s.dpr)),
                               QSize(qRound(rects[i].width() * s.dpr), qRound(rects[i].height() * s.dpr)));
            int changed = 0;
            for (int y = device.top(); y <= device.bottom(); ++y)
                for (int x = device.left(); x <= device.right(); ++x)
                    changed += image.pixel(x, y) != plain.pixel(x, y);
            EXPECT_GT(changed, device.width() * device.height() / 8) << s.name << " icon " << i;
        }
        const int far = image.width() - 10;
        EXPECT_EQ(image.pixel(far, image.height() / 2), plain.pixel(far, image.height() / 2));
    }
}

TEST(CommandBar, IconsFollowTheirRectangles)
{
    const Screen& s = Screens[0];
    const QSize size(px(21615, s), px(375, s));
    auto rects = toolbarRects(s);
    const QImage before = commandBarBackground(size, 1.0, rects).toImage();
    rects[ZoomIn].translate(200, 0);
    const QImage after = commandBarBackground(size, 1.0, rects).toImage();
    EXPECT_NE(before.copy(rects[ZoomIn]), after.copy(rects[ZoomIn]));
}

TEST(Bars, LegendStatusAndProgressAreOpaqueAndCarryWhiteText)
{
    for (const Screen& s : Screens) {
        const QSize legendSize(px(21210, s), px(375, s));
        const QPixmap legend = legendBarBackground(legendSize, s.dpr);
        expectDevicePixels(legend, legendSize, s.dpr);
        const QPixmap status = statusBarBackground(QSize(px(21615, s), px(375, s)), s.dpr);
        const QPixmap progress = progressBarPicture(QSize(px(5000, s), px(240, s)), s.dpr);
        save(legend, QStringLiteral("legendbar-%1").arg(QLatin1String(s.name)));
        save(status, QStringLiteral("statusbar-%1").arg(QLatin1String(s.name)));
        save(progress, QStringLiteral("progressbar-%1").arg(QLatin1String(s.name)));

        for (const QPixmap* bar : {&legend, &status}) {
            const QImage image = bar->toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_TRUE(fullyOpaque(image)) << s.name;
            EXPECT_GT(distinctColours(image), 8) << s.name;
            // Labels sit between the edge lines.
            const QSize logical = bar->deviceIndependentSize().toSize();
            EXPECT_GE(worstWhiteContrast(image, QRect(0, 1, logical.width(), logical.height() - 2), s.dpr), 7.0)
                << s.name;
        }
        const QImage bar = progress.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_GT(distinctColours(bar), 20) << s.name;
        // Opaque apart from the rounded left end, so a shortened bar has a clean cut.
        EXPECT_TRUE(fullyOpaque(bar, QRect(bar.width() / 2, 0, bar.width() / 2, bar.height()))) << s.name;
    }
}

TEST(BrandPictures, StartupAndAboutAreRichAndDistinct)
{
    for (const Screen& s : Screens) {
        const QSize wide(px(6600, s), px(3300, s));
        const QSize square(px(4200, s), px(4200, s));
        const QPixmap startup = startupPicture(wide, s.dpr);
        const QPixmap about = aboutPicture(square, s.dpr);
        const QPixmap aboutWide = aboutPicture(wide, s.dpr);
        expectDevicePixels(startup, wide, s.dpr);
        expectDevicePixels(about, square, s.dpr);
        save(startup, QStringLiteral("startup-%1").arg(QLatin1String(s.name)));
        save(about, QStringLiteral("about-%1").arg(QLatin1String(s.name)));
        save(aboutWide, QStringLiteral("about-wide-%1").arg(QLatin1String(s.name)));
        for (const QPixmap* picture : {&startup, &about}) {
            const QImage image = picture->toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_TRUE(fullyOpaque(image)) << s.name;
            EXPECT_GT(distinctColours(image), 500) << s.name;
        }
        EXPECT_NE(startup.toImage(), aboutWide.toImage()) << s.name;
    }
}

TEST(BrandPictures, EmptyOrTinySizesDoNotFail)
{
    EXPECT_FALSE(startupPicture(QSize(0, 0), 1.0).isNull());
    EXPECT_FALSE(aboutPicture(QSize(3, 2), 2.0).isNull());
    EXPECT_FALSE(commandBarBackground(QSize(1, 1), 1.0, {}).isNull());
    EXPECT_FALSE(progressBarPicture(QSize(0, 10), 1.0).isNull());
    EXPECT_FALSE(treePicture(QStringLiteral("pc"), 0, 1.0).isNull());
}

TEST(StateDials, EachStateHasItsOwnDialDrawnForTheScreen)
{
    const StateDial dials[] = {StateDial::Ok, StateDial::Warning, StateDial::Error};
    for (const Screen& s : Screens) {
        // pic_dial(0) is 1815 x 960 twips.
        const QSize size(px(1815, s), px(960, s));
        QList<QImage> images;
        for (StateDial d : dials) {
            const QPixmap pixmap = statePicture(d, size, s.dpr);
            expectDevicePixels(pixmap, size, s.dpr);
            save(pixmap, QStringLiteral("dial-%1-%2").arg(static_cast<int>(d)).arg(QLatin1String(s.name)));
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_TRUE(fullyOpaque(image, QRect(image.width() / 4, image.height() / 4, image.width() / 2,
                                                 image.height() / 2)))
                << s.name;
            images.append(image);
        }
        // The hub lamp: green, amber, red.
        const auto hub = [&](const QImage& i) { return i.pixel(i.width() / 2, qRound(i.height() * 0.86)); };
        EXPECT_GT(qGreen(hub(images[0])), 2 * qRed(hub(images[0]))) << s.name;
        EXPECT_GT(qRed(hub(images[1])), 2 * qBlue(hub(images[1]))) << s.name;
        EXPECT_GT(qGreen(hub(images[1])), 2 * qBlue(hub(images[1]))) << s.name;
        EXPECT_GT(qRed(hub(images[2])), 2 * qGreen(hub(images[2]))) << s.name;
        EXPECT_NE(images[0], images[1]);
        EXPECT_NE(images[1], images[2]);
    }
    EXPECT_FALSE(statePicture(StateDial::Ok, QSize(0, 0), 1.0).isNull());
}

} // namespace
} // namespace vorlu::pictures
