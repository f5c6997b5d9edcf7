#include "app/ModelViewPlaceholder.h"

#include <QPainter>

namespace vorlu {

QColor colourFromRgb(std::int32_t rgb)
{
    const auto v = static_cast<std::uint32_t>(rgb);
    return QColor(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
}

ModelViewPlaceholder::ModelViewPlaceholder(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ModelViewPlaceholder::setBackgroundColour(std::int32_t rgb)
{
    colour_ = rgb;
    update();
}

void ModelViewPlaceholder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), colourFromRgb(colour_));
}

} // namespace vorlu
