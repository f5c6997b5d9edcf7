#include "dialogs/PaletteView.h"

#include "platform/ui/BusyCursor.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace vorlu {

QPoint confinePoint(QPoint p, const QRect& area)
{
    if (area.isEmpty())
        return p;
    return {std::clamp(p.x(), area.left(), area.right()), std::clamp(p.y(), area.top(), area.bottom())};
}

PaletteView::PaletteView(QSize size, QWidget* parent) : QWidget(parent), size_(size)
{
    setFixedSize(size);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaletteView::redraw(int grey)
{
    {
        const BusyCursor busy;
        image_ = drawPalette(static_cast<float>(size_.width()), static_cast<float>(size_.height()), grey);
        shown_ = QImage(image_.width, image_.height, QImage::Format_RGB32);
        for (int y = 0; y < image_.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown_.scanLine(y));
            for (int x = 0; x < image_.width; ++x) {
                const Rgb c = rgbFromPictureColour(image_.at(x, y));
                line[x] = qRgb(c.red, c.green, c.blue);
            }
        }
    }
    update();
}

std::uint32_t PaletteView::pixelAt(QPoint p) const
{
    if (image_.width <= 0 || image_.height <= 0)
        return 0;
    const int x = std::clamp(p.x(), 0, image_.width - 1);
    const int y = std::clamp(p.y(), 0, image_.height - 1);
    return image_.at(x, y);
}

void PaletteView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QPoint(0, 0), shown_);
}

QRect PaletteView::screenArea() const
{
    return {mapToGlobal(QPoint(0, 0)), size()};
}

void PaletteView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    confining_ = true;
    emit colourPressed(pixelAt(e->position().toPoint()));
}

void PaletteView::mouseMoveEvent(QMouseEvent* e)
{
    if (confining_) {
        const QPoint global = e->globalPosition().toPoint();
        const QPoint inside = confinePoint(global, screenArea());
        if (inside != global)
            QCursor::setPos(screen(), inside);
    }
    emit colourHovered(pixelAt(e->position().toPoint()));
}

void PaletteView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        confining_ = false;
}

void PaletteView::hideEvent(QHideEvent* e)
{
    confining_ = false; // never leave the cursor held by a hidden window
    QWidget::hideEvent(e);
}

} // namespace vorlu
