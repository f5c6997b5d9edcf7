#include "app/ToolbarIcons.h"

#include "app/PictureKit.h"
#include "app/Pictures.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorlu::pictures {

namespace {

using namespace kit;

QBrush inkBrush(const QRectF& r)
{
    return vertical(r, Ink, InkShade);
}

// Draws a glyph path with a soft shadow below it, filled or stroked.
void glyph(QPainter& p, const QPainterPath& path, const QRectF& r, qreal stroke)
{
    const qreal off = std::max<qreal>(0.6, r.height() * 0.05);
    p.save();
    p.translate(0, off);
    if (stroke > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(8, 6, 20, 120), stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 6, 20, 120));
    }
    p.drawPath(path);
    p.restore();
    if (stroke > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(inkBrush(r), stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(inkBrush(r));
    }
    p.drawPath(path);
}

QRectF centredSquare(const QRectF& r, qreal side)
{
    return {r.center().x() - side / 2, r.center().y() - side / 2, side, side};
}

// A triangle with rounded corners pointing in direction (dx, dy).
void paintArrow(QPainter& p, const QRectF& r, int dx, int dy)
{
    const bool horizontal = dx != 0;
    // Arrow length along its direction and its width across it.
    const qreal along = (horizontal ? r.width() : r.height()) * 0.62;
    const qreal across = std::min((horizontal ? r.height() : r.width()) * 0.72, along * 1.9);
    const QPointF c = r.center();
    const QPointF dir(dx, dy);
    const QPointF side(-dy, dx);
    const QPointF tip = c + dir * (along / 2);
    const QPointF back = c - dir * (along / 2);
    QPainterPath tri;
    tri.moveTo(tip);
    tri.lineTo(back + side * (across / 2));
    tri.lineTo(back - side * (across / 2));
    tri.closeSubpath();
    const qreal round = std::max<qreal>(0.8, std::min(r.width(), r.height()) * 0.12);
    // Stroking with round joins in the fill colour rounds the corners.
    QPainterPathStroker stroker;
    stroker.setWidth(round);
    stroker.setJoinStyle(Qt::RoundJoin);
    glyph(p, (stroker.createStroke(tri) + tri).simplified(), r, 0);
}

void paintMagnifier(QPainter& p, const QRectF& r, bool plus)
{
    const qreal s = std::min(r.width(), r.height());
    const QRectF box = centredSquare(r, s);
    const QPointF lens(box.left() + s * 0.42, box.top() + s * 0.42);
    const qreal radius = s * 0.27;
    const qreal ring = std::max<qreal>(1.2, s * 0.1);

    // Tinted glass.
    QRadialGradient glass(lens - QPointF(radius * 0.4, radius * 0.4), radius * 1.4);
    glass.setColorAt(0, alpha(Accent, 110));
    glass.setColorAt(1, alpha(Accent, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(lens, radius, radius);

    QPainterPath shape;
    shape.addEllipse(lens, radius, radius);
    const QPointF handleStart = lens + QPointF(radius, radius) * 0.74;
    const QPointF handleEnd(box.left() + s * 0.86, box.top() + s * 0.86);
    shape.moveTo(handleStart);
    shape.lineTo(handleEnd);
    glyph(p, shape, box, ring);
    // The handle is a little heavier than the ring.
    QPainterPath handle;
    handle.moveTo(handleStart + (handleEnd - handleStart) * 0.3);
    handle.lineTo(handleEnd);
    glyph(p, handle, box, ring * 1.6);

    const qreal arm = radius * 0.55;
    QPainterPath sign;
    sign.moveTo(lens.x() - arm, lens.y());
    sign.lineTo(lens.x() + arm, lens.y());
    if (plus) {
        sign.moveTo(lens.x(), lens.y() - arm);
        sign.lineTo(lens.x(), lens.y() + arm);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, std::max<qreal>(1.0, s * 0.085), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(sign);
}

void paintScanNode(QPainter& p, const QRectF& r)
{
    const qreal s = std::min(r.width(), r.height());
    const qreal w = s * 1.08;
    const qreal h = s * 0.68;
    const QRectF screen(r.center().x() - w / 2, r.top() + (r.height() - s) / 2 + s * 0.06, w, h);
    const qreal line = std::max<qreal>(1.1, s * 0.085);

    // Screen glow with a scan line.
    QRectF inner = screen.adjusted(line, line, -line, -line);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(inner, alpha(Accent, 90), alpha(Accent, 25)));
    p.drawRect(inner);
    QLinearGradient beam(inner.topLeft(), inner.topRight());
    beam.setColorAt(0, alpha(Accent, 0));
    beam.setColorAt(0.5, QColor(200, 240, 255, 240));
    beam.setColorAt(1, alpha(Accent, 0));
    const qreal beamY = inner.top() + inner.height() * 0.58;
    p.fillRect(QRectF(inner.left(), beamY - line * 0.45, inner.width(), line * 0.9), beam);

    QPainterPath frame;
    frame.addRoundedRect(screen, line * 0.9, line * 0.9);
    glyph(p, frame, screen, line);
    // Stand.
    QPainterPath stand;
    const qreal baseY = screen.bottom() + s * 0.2;
    stand.moveTo(screen.center().x(), screen.bottom());
    stand.lineTo(screen.center().x(), baseY);
    stand.moveTo(screen.center().x() - s * 0.26, baseY);
    stand.lineTo(screen.center().x() + s * 0.26, baseY);
    glyph(p, stand, screen, line);
}

void paintRescan(QPainter& p, const QRectF& r)
{
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    const qreal radius = s * 0.36;
    const qreal line = std::max<qreal>(1.2, s * 0.1);
    const QRectF circle(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);

    // Two arcs chasing each other, each ending in an arrow head.
    QPainterPath arcs;
    QPainterPath heads;
    for (int i = 0; i < 2; ++i) {
        const qreal start = 40 + i * 180;
        const qreal span = 125;
        arcs.arcMoveTo(circle, start);
        arcs.arcTo(circle, start, span);
        const qreal end = (start + span) * std::numbers::pi / 180.0;
        const QPointF tip(c.x() + radius * std::cos(end), c.y() - radius * std::sin(end));
        // Tangent of a counter-clockwise arc on screen.
        const QPointF tangent(-std::sin(end), -std::cos(end));
        const QPointF normal(std::cos(end), -std::sin(end));
        const qreal h = line * 1.5;
        heads.moveTo(tip + tangent * h * 1.2);
        heads.lineTo(tip + normal * h - tangent * h * 0.35);
        heads.lineTo(tip - normal * h - tangent * h * 0.35);
        heads.closeSubpath();
    }
    glyph(p, arcs, r, line);
    glyph(p, heads, r, 0);

    // Network in the middle: three linked nodes.
    const qreal n = radius * 0.42;
    const QPointF a(c.x(), c.y() - n);
    const QPointF b(c.x() - n * 0.9, c.y() + n * 0.6);
    const QPointF d(c.x() + n * 0.9, c.y() + n * 0.6);
    p.setPen(QPen(alpha(Accent, 220), std::max<qreal>(0.7, line * 0.45)));
    p.drawLine(a, b);
    p.drawLine(a, d);
    p.drawLine(b, d);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 226, 255));
    const qreal dot = std::max<qreal>(0.9, line * 0.62);
    for (const QPointF& q : {a, b, d})
        p.drawEllipse(q, dot, dot);
}

} // namespace

void paintToolbarIcon(QPainter& p, int index, const QRectF& r)
{
    if (r.isEmpty())
        return;
    p.save();
    switch (index) {
    case MoveLeft:
        paintArrow(p, r, -1, 0);
        break;
    case MoveRight:
        paintArrow(p, r, 1, 0);
        break;
    case MoveDown:
        paintArrow(p, r, 0, 1);
        break;
    case MoveUp:
        paintArrow(p, r, 0, -1);
        break;
    case ZoomIn:
        paintMagnifier(p, r, true);
        break;
    case ZoomOut:
        paintMagnifier(p, r, false);
        break;
    case ScanCurrentNode:
        paintScanNode(p, r);
        break;
    case RescanNetwork:
        paintRescan(p, r);
        break;
    default:
        break;
    }
    p.restore();
}

} // namespace vorlu::pictures
