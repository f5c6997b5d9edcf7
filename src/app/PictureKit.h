#pragma once
#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QRectF>

// Shared drawing pieces of the program's pictures: one palette and a few
// shapes, so every picture has the same look.
namespace vorlu::pictures::kit {

// Theme colours.
inline const QColor Brand{139, 99, 161};        // the start-up and About background
inline const QColor BarTop{52, 46, 82};
inline const QColor BarBottom{30, 26, 50};
inline const QColor BarEdge{139, 99, 161};
inline const QColor Ink{236, 232, 255};           // light glyphs on the bars
inline const QColor InkShade{176, 166, 222};
inline const QColor Accent{120, 196, 255};        // cyan-blue of scan glyphs

// A transparent pixmap of size x dpr device pixels, marked with dpr so that
// painting uses logical coordinates.
QPixmap canvas(QSize size, qreal dpr);

// A painter with antialiasing on.
void prepare(QPainter& p);

// A vertical two-colour gradient over r.
QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom);

// The bar look shared by the command, legend and status bars.
void paintBar(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, bool edgeBelow);

// An optical disc with its hole cut out, iridescent sheen and highlights.
void paintDisc(QPainter& p, QPointF centre, qreal radius);

// A computer screen on a stand inside a 32 x 32 box (the caller scales).
void paintMonitor(QPainter& p, const QColor& screenTop, const QColor& screenBottom);

// A round badge in the lower right of a 32 x 32 box; returns its circle.
QRectF paintBadge(QPainter& p, const QColor& light, const QColor& dark);

// A colour with alpha set (0..255).
QColor alpha(QColor c, int a);

} // namespace vorlu::pictures::kit
