#pragma once
#include <QPainter>
#include <QRectF>

namespace vorlu::pictures {

// Paints toolbar icon index (the ToolbarIcon values) centred in r, light on
// the dark command bar.
void paintToolbarIcon(QPainter& p, int index, const QRectF& r);

} // namespace vorlu::pictures
