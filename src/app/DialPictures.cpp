// The state dials of the detail panel: a meter whose needle stands in the
// green, amber or red band, with the state's lamp below the hub.
#include "app/PictureKit.h"
#include "app/Pictures.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vorlu::pictures {

namespace {

const QColor BandGreen{46, 190, 92};
const QColor BandAmber{232, 190, 40};
const QColor BandRed{226, 58, 52};
const QColor LampUnknown{150, 150, 150};

struct DialLook {
    QColor lamp;
    qreal needleDegrees; // 180 points left, 0 right
};

DialLook lookOf(StateDial dial)
{
    switch (dial) {
    case StateDial::Ok: return {BandGreen, 150};
    case StateDial::Warning: return {BandAmber, 90};
    case StateDial::Error: return {BandRed, 30};
    case StateDial::Unknown: return {LampUnknown, 90};
    }
    return {BandGreen, 150};
}

QPointF onCircle(QPointF centre, qreal radius, qreal degrees)
{
    const qreal a = degrees * M_PI / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

} // namespace

QPixmap statePicture(StateDial dial, QSize size, qreal dpr)
{
    QPixmap pixmap = kit::canvas(size, dpr);
    if (size.width() < 8 || size.height() < 8)
        return pixmap;
    QPainter p(&pixmap);
    kit::prepare(p);
    const DialLook look = lookOf(dial);

    // The meter's face: a dark rounded plate in the colours of the bars.
    const QRectF plate(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal corner = std::min(plate.width(), plate.height()) * 0.14;
    p.setPen(QPen(kit::BarEdge, 1));
    p.setBrush(kit::vertical(plate, kit::BarTop, kit::BarBottom));
    p.drawRoundedRect(plate, corner, corner);

    // Bands across the upper half circle, green on the left to red on the right.
    const qreal radius = std::min(plate.width() * 0.42, plate.height() * 0.78);
    const QPointF hub(plate.center().x(), plate.top() + plate.height() * 0.86);
    const qreal band = std::max<qreal>(3.0, radius * 0.2);
    const QRectF arc(hub.x() - radius, hub.y() - radius, 2 * radius, 2 * radius);
    const struct {
        QColor colour;
        int from, span; // degrees, counter-clockwise from the right
    } bands[] = {{BandRed, 0, 60}, {BandAmber, 60, 60}, {BandGreen, 120, 60}};
    for (const auto& b : bands) {
        p.setPen(QPen(b.colour, band, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(arc.adjusted(band / 2, band / 2, -band / 2, -band / 2), b.from * 16, b.span * 16);
    }
    // Ticks between the bands and at the ends.
    p.setPen(QPen(kit::Ink, std::max<qreal>(1.0, radius * 0.03), Qt::SolidLine, Qt::RoundCap));
    for (int deg = 0; deg <= 180; deg += 30)
        p.drawLine(onCircle(hub, radius - band - 1, deg), onCircle(hub, radius - band - radius * (deg % 60 ? 0.07 : 0.13), deg));

    // The needle with a soft shadow, then the hub.
    const qreal needleLength = radius - band * 0.5;
    const QPointF tip = onCircle(hub, needleLength, look.needleDegrees);
    const qreal needleWidth = std::max<qreal>(1.5, radius * 0.06);
    // An unknown state points nowhere.
    if (dial != StateDial::Unknown) {
        p.setPen(QPen(QColor(0, 0, 0, 90), needleWidth + 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(hub + QPointF(1, 1), tip + QPointF(1, 1));
        p.setPen(QPen(kit::Ink, needleWidth, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(hub, tip);
    }
    const qreal hubRadius = std::max<qreal>(2.5, radius * 0.12);
    QRadialGradient shine(hub - QPointF(hubRadius / 3, hubRadius / 3), hubRadius * 1.4);
    shine.setColorAt(0, look.lamp.lighter(150));
    shine.setColorAt(1, look.lamp.darker(140));
    p.setPen(QPen(kit::BarBottom, 1));
    p.setBrush(shine);
    p.drawEllipse(hub, hubRadius, hubRadius);
    return pixmap;
}

} // namespace vorlu::pictures
