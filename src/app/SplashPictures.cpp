#include "app/PictureKit.h"
#include "app/Pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace vorlu::pictures {

namespace {

using namespace kit;

const QString Tagline = QStringLiteral("Optical drive health across your network");

// Deep indigo fading into the brand violet, with a faint mesh of linked
// nodes: the network the program watches.
void paintBackdrop(QPainter& p, const QRectF& r, QPointF glowAt, quint32 seed)
{
    QLinearGradient base(r.topLeft(), r.bottomRight());
    base.setColorAt(0, QColor(30, 24, 52));
    base.setColorAt(0.6, QColor(74, 52, 108));
    base.setColorAt(1, Brand);
    p.fillRect(r, base);

    const qreal unit = std::min(r.width(), r.height());
    QRadialGradient glow(glowAt, unit * 0.75);
    glow.setColorAt(0, QColor(190, 160, 255, 120));
    glow.setColorAt(0.5, QColor(150, 110, 220, 40));
    glow.setColorAt(1, QColor(150, 110, 220, 0));
    p.fillRect(r, glow);

    QRandomGenerator random(seed); // fixed seed: the same picture every time
    const int count = std::clamp(static_cast<int>(r.width() * r.height() / 5200), 8, 90);
    std::vector<QPointF> nodes;
    nodes.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        nodes.emplace_back(r.left() + random.bounded(1.0) * r.width(), r.top() + random.bounded(1.0) * r.height());
    const qreal reach = unit * 0.28;
    const qreal line = std::max<qreal>(0.6, unit / 400);
    p.setPen(QPen(QColor(220, 200, 255, 30), line));
    for (std::size_t i = 0; i < nodes.size(); ++i)
        for (std::size_t j = i + 1; j < nodes.size(); ++j)
            if (QLineF(nodes[i], nodes[j]).length() < reach)
                p.drawLine(nodes[i], nodes[j]);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 215, 255, 60));
    for (const QPointF& n : nodes)
        p.drawEllipse(n, line * 2.2, line * 2.2);

    // Vignette.
    QRadialGradient vignette(r.center(), std::hypot(r.width(), r.height()) * 0.6);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(10, 4, 24, 90));
    p.fillRect(r, vignette);

    // The bottom melts into the window's own violet below the picture.
    const QRectF foot(r.left(), r.bottom() - r.height() * 0.24, r.width(), r.height() * 0.24);
    p.fillRect(foot, vertical(foot, alpha(Brand, 0), Brand));
}

// The disc lying a little above a soft shadow, with a thin orbit around it.
void paintHeroDisc(QPainter& p, QPointF c, qreal radius)
{
    QRadialGradient shadow(c + QPointF(radius * 0.08, radius * 0.14), radius * 1.12);
    shadow.setColorAt(0.8, QColor(8, 2, 24, 110));
    shadow.setColorAt(1, QColor(8, 2, 24, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(radius * 0.08, radius * 0.14), radius * 1.12, radius * 1.12);

    paintDisc(p, c, radius);

    // Rim light from the upper left.
    const QRectF rimBox(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    QConicalGradient rimLight(c, 135);
    rimLight.setColorAt(0, QColor(255, 255, 255, 200));
    rimLight.setColorAt(0.15, QColor(255, 255, 255, 0));
    rimLight.setColorAt(0.85, QColor(255, 255, 255, 0));
    rimLight.setColorAt(1, QColor(255, 255, 255, 200));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rimLight), std::max<qreal>(1.0, radius * 0.025)));
    p.drawEllipse(rimBox.adjusted(radius * 0.05, radius * 0.05, -radius * 0.05, -radius * 0.05));
}

QFont nameFont(qreal pixelSize)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(6, qRound(pixelSize)));
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 98);
    return font;
}

// The program name (white "Vorlu", lavender "Optical") and the tagline,
// fitted into width; align is Qt::AlignLeft or Qt::AlignHCenter.
void paintWordmark(QPainter& p, const QRectF& box, qreal nameSize, Qt::Alignment align)
{
    QFont bold = nameFont(nameSize);
    QFont light = bold;
    light.setBold(false);
    const QString first = QStringLiteral("Vorlu ");
    const QString second = QStringLiteral("Optical");
    auto nameWidth = [&] {
        return QFontMetricsF(bold).horizontalAdvance(first) + QFontMetricsF(light).horizontalAdvance(second);
    };
    // Shrink to fit narrow pictures.
    while (nameWidth() > box.width() && bold.pixelSize() > 6) {
        bold.setPixelSize(bold.pixelSize() - 1);
        light.setPixelSize(bold.pixelSize());
    }
    QFont tagFont = light;
    tagFont.setPixelSize(std::max(6, qRound(bold.pixelSize() * 0.36)));
    tagFont.setLetterSpacing(QFont::PercentageSpacing, 104);
    while (QFontMetricsF(tagFont).horizontalAdvance(Tagline) > box.width() && tagFont.pixelSize() > 6)
        tagFont.setPixelSize(tagFont.pixelSize() - 1);
    QFontMetricsF tagMetrics(tagFont);
    QString tag = Tagline;
    if (tagMetrics.horizontalAdvance(tag) > box.width())
        tag = tagMetrics.elidedText(tag, Qt::ElideRight, box.width());

    const QFontMetricsF nm(bold);
    const qreal gap = bold.pixelSize() * 0.32;
    const qreal total = nm.ascent() + nm.descent() + gap + tagMetrics.ascent() + tagMetrics.descent();
    const qreal top = box.center().y() - total / 2;
    const qreal width = nameWidth();
    const qreal x = align & Qt::AlignHCenter ? box.center().x() - width / 2 : box.left();
    const qreal baseline = top + nm.ascent();

    // Name with a soft shadow.
    const qreal off = std::max<qreal>(1, bold.pixelSize() * 0.04);
    const qreal firstWidth = QFontMetricsF(bold).horizontalAdvance(first);
    p.setFont(bold);
    p.setPen(QColor(10, 4, 30, 110));
    p.drawText(QPointF(x + off, baseline + off), first);
    p.setFont(light);
    p.drawText(QPointF(x + firstWidth + off, baseline + off), second);
    p.setFont(bold);
    p.setPen(Qt::white);
    p.drawText(QPointF(x, baseline), first);
    p.setFont(light);
    p.setPen(QColor(216, 200, 255));
    p.drawText(QPointF(x + firstWidth, baseline), second);

    // Accent rule between name and tagline.
    const qreal ruleY = baseline + nm.descent() + gap * 0.45;
    const qreal ruleWidth = std::min(width, bold.pixelSize() * 2.4);
    const qreal ruleX = align & Qt::AlignHCenter ? box.center().x() - ruleWidth / 2 : x;
    QLinearGradient rule(QPointF(ruleX, 0), QPointF(ruleX + ruleWidth, 0));
    rule.setColorAt(0, QColor(120, 210, 255, 230));
    rule.setColorAt(1, QColor(200, 150, 255, align & Qt::AlignHCenter ? 230 : 0));
    p.fillRect(QRectF(ruleX, ruleY, ruleWidth, std::max<qreal>(1, bold.pixelSize() * 0.05)), rule);

    p.setFont(tagFont);
    p.setPen(QColor(226, 216, 250, 215));
    const qreal tagWidth = tagMetrics.horizontalAdvance(tag);
    const qreal tagX = align & Qt::AlignHCenter ? box.center().x() - tagWidth / 2 : x;
    p.drawText(QPointF(tagX, baseline + nm.descent() + gap + tagMetrics.ascent()), tag);
}

// Wide pictures put the disc beside the name; tall ones above it.
void paintBrand(QPainter& p, const QRectF& r, bool discFirst, quint32 seed)
{
    const bool wide = r.width() >= r.height() * 1.25;
    if (wide) {
        const qreal radius = std::min(r.height() * 0.36, r.width() * 0.2);
        const qreal margin = std::min(r.height(), r.width()) * 0.1;
        const qreal discX = discFirst ? r.left() + margin + radius : r.right() - margin - radius;
        const QPointF disc(discX, r.center().y());
        paintBackdrop(p, r, disc, seed);
        paintHeroDisc(p, disc, radius);
        const qreal textLeft = discFirst ? disc.x() + radius * 1.45 : r.left() + margin * 1.2;
        const qreal textRight = discFirst ? r.right() - margin : disc.x() - radius * 1.45;
        const QRectF box(textLeft, r.top(), std::max<qreal>(1, textRight - textLeft), r.height());
        paintWordmark(p, box, r.height() * 0.17, Qt::AlignLeft);
    } else {
        const qreal radius = std::min(r.width() * 0.3, r.height() * 0.24);
        const QPointF disc(r.center().x(), r.top() + r.height() * 0.38);
        paintBackdrop(p, r, disc, seed);
        paintHeroDisc(p, disc, radius);
        const QRectF box(r.left() + r.width() * 0.06, disc.y() + radius * 1.25, r.width() * 0.88,
                         r.bottom() - disc.y() - radius * 1.25);
        paintWordmark(p, box, std::min(r.width() * 0.105, box.height() * 0.4), Qt::AlignHCenter);
    }
}

QPixmap brandPicture(QSize size, qreal dpr, bool discFirst, quint32 seed)
{
    QPixmap pixmap = canvas(size, dpr);
    if (size.isEmpty())
        return pixmap;
    QPainter p(&pixmap);
    prepare(p);
    paintBrand(p, QRectF(QPointF(0, 0), QSizeF(size)), discFirst, seed);
    return pixmap;
}

} // namespace

QPixmap startupPicture(QSize size, qreal dpr)
{
    return brandPicture(size, dpr, false, 0x5eed1u);
}

QPixmap aboutPicture(QSize size, qreal dpr)
{
    return brandPicture(size, dpr, true, 0xab07u);
}

} // namespace vorlu::pictures
