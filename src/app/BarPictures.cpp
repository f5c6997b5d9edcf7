#include "app/PictureKit.h"
#include "app/Pictures.h"
#include "app/ToolbarIcons.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vorlu::pictures {

namespace {

using namespace kit;

// Disc emblem and name at the left end of the command bar, kept clear of the
// first menu label (which starts about six bar heights in).
void paintLogo(QPainter& p, const QRectF& bar)
{
    const qreal h = bar.height();
    const qreal room = h * 5.4;
    if (bar.width() < room || h < 12)
        return;
    const qreal radius = h * 0.34;
    const QPointF centre(bar.left() + h * 0.3 + radius, bar.center().y());
    paintDisc(p, centre, radius);

    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(8, qRound(h * 0.44)));
    font.setBold(true);
    const QString first = QStringLiteral("Vorlu");
    const QString second = QStringLiteral(" Optical");
    QFontMetricsF fm(font);
    QFont light = font;
    light.setBold(false);
    QFontMetricsF fmLight(light);
    const qreal x = centre.x() + radius + h * 0.3;
    if (x + fm.horizontalAdvance(first) + fmLight.horizontalAdvance(second) > bar.left() + room)
        return;
    const qreal baseline = bar.center().y() + (fm.ascent() - fm.descent()) / 2;
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 235));
    p.drawText(QPointF(x, baseline), first);
    p.setFont(light);
    p.setPen(QColor(206, 190, 240, 235));
    p.drawText(QPointF(x + fm.horizontalAdvance(first), baseline), second);
}

// Thin dividers between the toolbar's groups: scans, the move cross, zoom.
void paintGroupDividers(QPainter& p, const std::array<QRect, 8>& rects, const QRectF& bar)
{
    auto span = [&](std::initializer_list<int> group) {
        QRectF u;
        for (int i : group)
            u = u.united(QRectF(rects[static_cast<std::size_t>(i)]));
        return u;
    };
    const QRectF scans = span({RescanNetwork, ScanCurrentNode});
    const QRectF cross = span({MoveLeft, MoveRight, MoveUp, MoveDown});
    const QRectF zoom = span({ZoomIn, ZoomOut});
    const QRectF groups[] = {scans, cross, zoom};
    for (int i = 0; i + 1 < 3; ++i) {
        const QRectF& a = groups[i];
        const QRectF& b = groups[i + 1];
        if (a.isEmpty() || b.isEmpty() || b.left() - a.right() < 4)
            continue;
        const qreal x = std::round((a.right() + b.left()) / 2) + 0.5;
        QLinearGradient fade(QPointF(x, bar.top()), QPointF(x, bar.bottom()));
        fade.setColorAt(0, QColor(255, 255, 255, 0));
        fade.setColorAt(0.5, QColor(255, 255, 255, 46));
        fade.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(x - 0.5, bar.top() + 3, 1, bar.height() - 6), fade);
    }
    // A round pad under the move cross.
    if (!cross.isEmpty()) {
        const QRectF pad = cross.adjusted(-1, 0, 1, 0);
        const qreal round = std::min(pad.width(), pad.height()) / 2;
        p.setPen(QPen(QColor(255, 255, 255, 30), 1));
        p.setBrush(vertical(pad, QColor(8, 6, 22, 90), QColor(8, 6, 22, 40)));
        p.drawRoundedRect(pad.adjusted(0.5, 0.5, -0.5, -0.5), round, round);
    }
}

} // namespace

QPixmap commandBarBackground(QSize size, qreal dpr, const std::array<QRect, 8>& toolbarRects)
{
    QPixmap pixmap = canvas(size, dpr);
    QPainter p(&pixmap);
    prepare(p);
    const QRectF bar(QPointF(0, 0), QSizeF(size));
    paintBar(p, bar, BarTop, BarBottom, true);
    paintLogo(p, bar);
    paintGroupDividers(p, toolbarRects, bar);
    for (std::size_t i = 0; i < toolbarRects.size(); ++i)
        paintToolbarIcon(p, static_cast<int>(i), QRectF(toolbarRects[i]));
    return pixmap;
}

namespace {

// A bar with nothing on it but its gradient.
QPixmap plainBar(QSize size, qreal dpr, const QColor& top, const QColor& bottom, bool highlight)
{
    QPixmap pixmap = canvas(size, dpr);
    QPainter p(&pixmap);
    prepare(p);
    paintBar(p, QRectF(QPointF(0, 0), QSizeF(size)), top, bottom, highlight);
    return pixmap;
}

} // namespace

QPixmap legendBarBackground(QSize size, qreal dpr)
{
    return plainBar(size, dpr, QColor(40, 35, 64), QColor(24, 21, 40), true);
}

QPixmap statusBarBackground(QSize size, qreal dpr)
{
    return plainBar(size, dpr, QColor(44, 39, 70), QColor(26, 23, 44), false);
}

QPixmap progressBarPicture(QSize size, qreal dpr)
{
    QPixmap pixmap = canvas(size, dpr);
    if (size.isEmpty())
        return pixmap;
    QPainter p(&pixmap);
    prepare(p);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    // Violet to blue along the bar: the further it runs, the cooler it gets.
    // The picture is cut at the right as the bar shortens, so only the left
    // end is rounded.
    QLinearGradient hue(r.topLeft(), r.topRight());
    hue.setColorAt(0, Brand);
    hue.setColorAt(0.55, QColor(104, 110, 214));
    hue.setColorAt(1, QColor(64, 168, 236));
    const qreal round = std::min<qreal>(r.height() / 2, 4);
    QPainterPath rounded;
    rounded.addRoundedRect(r, round, round);
    QPainterPath square;
    square.addRect(r.adjusted(r.width() / 2, 0, 0, 0));
    const QPainterPath body = rounded.united(square);
    p.fillPath(body, hue);
    p.setClipPath(body);

    // Moving-stripe texture, then gloss on top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 20));
    const qreal pitch = std::max<qreal>(8, r.height() * 1.2);
    for (qreal x = -r.height(); x < r.width(); x += pitch) {
        QPainterPath stripe;
        stripe.moveTo(x, r.bottom());
        stripe.lineTo(x + pitch / 2, r.bottom());
        stripe.lineTo(x + pitch / 2 + r.height(), r.top());
        stripe.lineTo(x + r.height(), r.top());
        stripe.closeSubpath();
        p.drawPath(stripe);
    }
    QLinearGradient gloss(r.topLeft(), r.bottomLeft());
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(0.45, QColor(255, 255, 255, 25));
    gloss.setColorAt(0.55, QColor(0, 0, 0, 0));
    gloss.setColorAt(1, QColor(0, 0, 20, 60));
    p.fillRect(r, gloss);
    p.fillRect(QRectF(0, r.bottom() - 1, r.width(), 1), QColor(20, 10, 50, 90));
    return pixmap;
}

} // namespace vorlu::pictures
