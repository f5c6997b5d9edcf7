#include "app/PictureKit.h"
#include "app/Pictures.h"

#include <QHash>

#include <QPainterPath>

namespace vorlu::pictures {

namespace {

using namespace kit;

const QColor ScreenTop{110, 190, 255};
const QColor ScreenBottom{40, 100, 214};

void paintGlobe(QPainter& p)
{
    const QPointF c(16, 16);
    const qreal r = 13.5;
    p.setPen(Qt::NoPen);
    QRadialGradient body(QPointF(11.5, 10.5), 19);
    body.setColorAt(0.0, QColor(150, 214, 255));
    body.setColorAt(0.45, QColor(54, 134, 232));
    body.setColorAt(1.0, QColor(26, 62, 150));
    p.setBrush(body);
    p.drawEllipse(c, r, r);

    // Lines of longitude and latitude.
    QPainterPath grid;
    grid.addEllipse(c, r * 0.5, r);
    grid.moveTo(c.x(), c.y() - r);
    grid.lineTo(c.x(), c.y() + r);
    grid.moveTo(c.x() - r, c.y());
    grid.lineTo(c.x() + r, c.y());
    const qreal dy = r * 0.52;
    const qreal half = std::sqrt(r * r - dy * dy);
    grid.moveTo(c.x() - half, c.y() - dy);
    grid.lineTo(c.x() + half, c.y() - dy);
    grid.moveTo(c.x() - half, c.y() + dy);
    grid.lineTo(c.x() + half, c.y() + dy);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 244, 255, 170), 1.3));
    p.drawPath(grid);

    p.setPen(QPen(QColor(16, 40, 110, 200), 1.2));
    p.drawEllipse(c, r, r);
    // Highlight.
    QRadialGradient shine(QPointF(11, 9), 7);
    shine.setColorAt(0, QColor(255, 255, 255, 150));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(QPointF(11, 9), 7, 7);
}

void paintHouse(QPainter& p, const QRectF& badge)
{
    const QPointF c = badge.center();
    QPainterPath house;
    house.moveTo(c.x(), c.y() - 5);
    house.lineTo(c.x() + 5.2, c.y() - 0.2);
    house.lineTo(c.x() + 3.6, c.y() - 0.2);
    house.lineTo(c.x() + 3.6, c.y() + 4.6);
    house.lineTo(c.x() - 3.6, c.y() + 4.6);
    house.lineTo(c.x() - 3.6, c.y() - 0.2);
    house.lineTo(c.x() - 5.2, c.y() - 0.2);
    house.closeSubpath();
    p.fillPath(house, Qt::white);
    p.fillRect(QRectF(c.x() - 1.1, c.y() + 1.4, 2.2, 3.2), QColor(30, 140, 80));
}

void paintPadlock(QPainter& p)
{
    const QRectF body(17.5, 19.5, 13, 10.5);
    const QRectF shackleBox(20.4, 14.2, 7.2, 10);
    QPainterPath shackle;
    shackle.arcMoveTo(shackleBox, 0);
    shackle.arcTo(shackleBox, 0, 180);
    QPainterPathStroker thick;
    thick.setWidth(3.4);
    thick.setCapStyle(Qt::FlatCap);
    QPainterPath outline;
    outline.addRoundedRect(body, 2.2, 2.2);
    outline = outline.united(thick.createStroke(shackle));
    QPainterPath inside; // the opening under the shackle shows the ground
    inside.addEllipse(shackleBox);
    outline = outline.united(inside);

    p.save();
    // Clear space around the lock lifts it off the monitor.
    QPainterPathStroker halo;
    halo.setWidth(2.6);
    halo.setJoinStyle(Qt::RoundJoin);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(halo.createStroke(outline).united(outline), Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // Shackle: dark edge, light steel.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 84, 104), 3.4, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(shackle);
    p.setPen(QPen(QColor(214, 218, 232), 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(shackle);
    // Body.
    p.setPen(QPen(QColor(150, 92, 0), 1));
    p.setBrush(vertical(body, QColor(255, 222, 120), QColor(232, 152, 24)));
    p.drawRoundedRect(body, 2.2, 2.2);
    // Keyhole.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 64, 0));
    p.drawEllipse(QPointF(24, 23.6), 1.6, 1.6);
    p.drawRect(QRectF(23.35, 24, 1.3, 3.4));
    p.restore();
}

void paintJumpArrow(QPainter& p, const QRectF& badge)
{
    const QPointF c = badge.center();
    QPainterPath arc;
    arc.moveTo(c.x() - 4.6, c.y() + 3.6);
    arc.cubicTo(c.x() - 4.2, c.y() - 3.5, c.x() + 1.5, c.y() - 4.6, c.x() + 3.0, c.y() - 0.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(c.x() + 5.4, c.y() - 1.6);
    head.lineTo(c.x() + 3.6, c.y() + 3.6);
    head.lineTo(c.x() - 0.4, c.y() + 0.6);
    head.closeSubpath();
    p.setPen(QPen(Qt::white, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(head);
}

void paintDriveUnit(QPainter& p)
{
    p.setPen(Qt::NoPen);
    // Top face for a little depth.
    QPainterPath top;
    top.moveTo(5, 7);
    top.lineTo(30, 7);
    top.lineTo(27.5, 11);
    top.lineTo(2, 11);
    top.closeSubpath();
    p.fillPath(top, vertical(QRectF(2, 7, 28, 4), QColor(206, 210, 228), QColor(170, 176, 200)));
    QPainterPath side;
    side.moveTo(30, 7);
    side.lineTo(30, 21);
    side.lineTo(27.5, 25);
    side.lineTo(27.5, 11);
    side.closeSubpath();
    p.fillPath(side, QColor(92, 96, 124));

    const QRectF front(2, 11, 25.5, 14);
    p.setBrush(vertical(front, QColor(84, 88, 122), QColor(46, 48, 74)));
    p.drawRect(front);
    // Tray.
    const QRectF tray(4, 14, 21.5, 3.6);
    p.setBrush(vertical(tray, QColor(20, 20, 34), QColor(58, 60, 88)));
    p.drawRoundedRect(tray, 1, 1);
    p.fillRect(QRectF(4.5, 17.2, 20.5, 0.7), QColor(255, 255, 255, 50));
    // Eject button and activity light.
    p.setBrush(QColor(170, 176, 204));
    p.drawRoundedRect(QRectF(19.5, 20, 5.5, 2.4), 1, 1);
    QRadialGradient led(QPointF(6.5, 21.2), 2.2);
    led.setColorAt(0, QColor(190, 255, 200));
    led.setColorAt(0.6, QColor(40, 210, 100));
    led.setColorAt(1, QColor(40, 210, 100, 0));
    p.setBrush(led);
    p.drawEllipse(QPointF(6.5, 21.2), 2.2, 2.2);
    // Outline.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 30, 50, 200), 0.9));
    p.drawRect(front);
}

void paintCheck(QPainter& p)
{
    const QRectF circle(2, 2, 28, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(circle, QColor(110, 230, 150), QColor(24, 158, 84)));
    p.drawEllipse(circle);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 80), 1.2));
    p.drawEllipse(circle.adjusted(1.4, 1.4, -1.4, -1.4));
    p.setPen(QPen(QColor(14, 110, 56), 1.2));
    p.drawEllipse(circle);
    QPainterPath tick;
    tick.moveTo(9, 16.5);
    tick.lineTo(14, 21.5);
    tick.lineTo(23, 11);
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void paintTreePicture(QPainter& p, const QString& key)
{
    if (key == QLatin1String("nw")) {
        paintGlobe(p);
    } else if (key == QLatin1String("pc")) {
        paintMonitor(p, ScreenTop, ScreenBottom);
    } else if (key == QLatin1String("hm")) {
        paintMonitor(p, ScreenTop, ScreenBottom);
        paintHouse(p, paintBadge(p, QColor(110, 226, 150), QColor(24, 150, 80)));
    } else if (key == QLatin1String("pw")) {
        paintMonitor(p, ScreenTop, ScreenBottom);
        paintPadlock(p);
    } else if (key == QLatin1String("jp")) {
        paintMonitor(p, ScreenTop, ScreenBottom);
        paintJumpArrow(p, paintBadge(p, QColor(255, 182, 90), QColor(226, 100, 20)));
    } else if (key == QLatin1String("dvd")) {
        paintDisc(p, QPointF(16, 16), 14.5);
    } else if (key == QLatin1String("nd")) {
        paintDriveUnit(p);
    } else if (key == QLatin1String("ok")) {
        paintCheck(p);
    }
}

} // namespace

QPixmap treePicture(const QString& key, int size, qreal dpr)
{
    QPixmap pixmap = kit::canvas(QSize(size, size), dpr);
    if (size <= 0)
        return pixmap;
    QPainter p(&pixmap);
    kit::prepare(p);
    p.scale(size / 32.0, size / 32.0);
    paintTreePicture(p, key);
    return pixmap;
}

QIcon treeIcon(const QString& key)
{
    // Every tree entry asks for its picture; painting ten pixmaps each time
    // would make a large node list slow to load.
    static QHash<QString, QIcon> cache;
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48}) {
        icon.addPixmap(treePicture(key, size, 1.0));
        icon.addPixmap(treePicture(key, size, 2.0));
    }
    cache.insert(key, icon);
    return icon;
}

} // namespace vorlu::pictures
