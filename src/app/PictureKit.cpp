#include "app/PictureKit.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vorlu::pictures::kit {

QPixmap canvas(QSize size, qreal dpr)
{
    if (dpr <= 0)
        dpr = 1;
    const QSize device(std::max(1, qRound(size.width() * dpr)), std::max(1, qRound(size.height() * dpr)));
    QPixmap pixmap(device);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void paintBar(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, bool edgeBelow)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.fillRect(r, vertical(r, top, bottom));

    // A soft violet glow from the left edge ties the bars to the brand colour.
    QLinearGradient glow(r.topLeft(), QPointF(r.left() + std::min<qreal>(r.width(), 520), r.top()));
    glow.setColorAt(0, alpha(Brand, 70));
    glow.setColorAt(1, alpha(Brand, 0));
    p.fillRect(r, glow);

    // Sheen on the upper half and a one-pixel highlight along the top.
    QRectF upper(r.left(), r.top(), r.width(), r.height() * 0.5);
    p.fillRect(upper, vertical(upper, QColor(255, 255, 255, 22), QColor(255, 255, 255, 0)));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 20));

    // Edge line: violet below the bar, dark above the status bar.
    if (edgeBelow) {
        QLinearGradient edge(r.topLeft(), r.topRight());
        edge.setColorAt(0, alpha(Brand.lighter(130), 230));
        edge.setColorAt(0.6, alpha(Brand, 150));
        edge.setColorAt(1, alpha(Brand, 60));
        p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), edge);
    } else {
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), alpha(Brand, 160));
    }
    p.restore();
}

void paintDisc(QPainter& p, QPointF c, qreal radius)
{
    p.save();
    QPainterPath disc;
    disc.setFillRule(Qt::OddEvenFill);
    disc.addEllipse(c, radius, radius);
    disc.addEllipse(c, radius * 0.13, radius * 0.13);

    // Silver base.
    QRadialGradient base(c, radius);
    base.setColorAt(0.0, QColor(250, 251, 255));
    base.setColorAt(0.55, QColor(220, 224, 236));
    base.setColorAt(1.0, QColor(178, 184, 204));
    p.setPen(Qt::NoPen);
    p.fillPath(disc, base);

    p.setClipPath(disc);
    // Iridescent sheen of the data side.
    QConicalGradient sheen(c, 35);
    const QColor rainbow[] = {{255, 150, 210}, {255, 226, 130}, {150, 250, 190}, {130, 210, 255},
                              {180, 150, 255}, {255, 150, 210}};
    for (int i = 0; i < 6; ++i)
        sheen.setColorAt(i / 5.0, alpha(rainbow[i], 120));
    p.fillPath(disc, sheen);

    // Two opposed bright wedges, as light catches the tracks.
    QConicalGradient shine(c, 60);
    shine.setColorAt(0.00, QColor(255, 255, 255, 0));
    shine.setColorAt(0.06, QColor(255, 255, 255, 200));
    shine.setColorAt(0.14, QColor(255, 255, 255, 0));
    shine.setColorAt(0.50, QColor(255, 255, 255, 0));
    shine.setColorAt(0.56, QColor(255, 255, 255, 170));
    shine.setColorAt(0.64, QColor(255, 255, 255, 0));
    shine.setColorAt(1.00, QColor(255, 255, 255, 0));
    p.fillPath(disc, shine);
    p.setClipping(false);

    // Clear hub with its stacking ring.
    QPainterPath hub;
    hub.setFillRule(Qt::OddEvenFill);
    hub.addEllipse(c, radius * 0.34, radius * 0.34);
    hub.addEllipse(c, radius * 0.13, radius * 0.13);
    QRadialGradient hubFill(c, radius * 0.34);
    hubFill.setColorAt(0.3, QColor(236, 240, 250, 235));
    hubFill.setColorAt(1.0, QColor(200, 206, 224, 235));
    p.fillPath(hub, hubFill);

    const qreal line = std::max<qreal>(0.6, radius * 0.025);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 156, 180, 150), line));
    p.drawEllipse(c, radius * 0.34, radius * 0.34);
    p.setPen(QPen(QColor(150, 156, 180, 110), line));
    p.drawEllipse(c, radius * 0.22, radius * 0.22);
    // Rim and hole edges.
    const qreal rim = std::max<qreal>(1.0, radius * 0.045);
    p.setPen(QPen(QColor(82, 86, 116, 235), rim));
    p.drawEllipse(c, radius - rim * 0.5, radius - rim * 0.5);
    p.setPen(QPen(QColor(96, 100, 128, 190), line));
    p.drawEllipse(c, radius * 0.13, radius * 0.13);
    p.restore();
}

void paintMonitor(QPainter& p, const QColor& screenTop, const QColor& screenBottom)
{
    p.save();
    p.setPen(Qt::NoPen);
    // Stand.
    p.setBrush(vertical(QRectF(12, 23, 8, 4), QColor(120, 124, 148), QColor(88, 92, 114)));
    p.drawRect(QRectF(13, 23, 6, 4));
    p.setBrush(vertical(QRectF(7, 26, 18, 4), QColor(196, 200, 218), QColor(124, 128, 152)));
    p.drawRoundedRect(QRectF(7.5, 26, 17, 3.5), 1.75, 1.75);

    // Bezel.
    const QRectF bezel(1.5, 3.5, 29, 21);
    p.setBrush(vertical(bezel, QColor(84, 88, 120), QColor(44, 46, 68)));
    p.drawRoundedRect(bezel, 3, 3);
    // Screen.
    const QRectF screen(4, 6, 24, 15.5);
    p.setBrush(vertical(screen, screenTop, screenBottom));
    p.drawRoundedRect(screen, 1.2, 1.2);
    // Glare across the upper left of the screen.
    QPainterPath glare;
    glare.moveTo(screen.topLeft());
    glare.lineTo(screen.left() + screen.width() * 0.62, screen.top());
    glare.lineTo(screen.left() + screen.width() * 0.30, screen.bottom());
    glare.lineTo(screen.left(), screen.bottom());
    glare.closeSubpath();
    p.setClipRect(screen);
    p.fillPath(glare, QColor(255, 255, 255, 40));
    p.restore();
}

QRectF paintBadge(QPainter& p, const QColor& light, const QColor& dark)
{
    const QRectF circle(15.5, 14.5, 16, 16);
    p.save();
    p.setPen(Qt::NoPen);
    // A ring of clear space lifts the badge off the monitor.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawEllipse(circle.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBrush(vertical(circle, light, dark));
    p.drawEllipse(circle);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawEllipse(circle.adjusted(1, 1, -1, -1));
    p.restore();
    return circle;
}

} // namespace vorlu::pictures::kit
