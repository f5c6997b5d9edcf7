#pragma once
#include <QWidget>
#include <cstdint>

namespace vorlu {

// The model view before the 3D device draws in it: filled with the
// background colour (0x00RRGGBB).
class ModelViewPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit ModelViewPlaceholder(QWidget* parent = nullptr);
    void setBackgroundColour(std::int32_t rgb);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::int32_t colour_ = 0;
};

QColor colourFromRgb(std::int32_t rgb);

} // namespace vorlu
