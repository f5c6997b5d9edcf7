#pragma once
#include "dialogs/Palette.h"
#include <QImage>
#include <QRect>
#include <QWidget>

namespace vorlu {

// Keeps a global cursor position inside a screen rectangle.
QPoint confinePoint(QPoint p, const QRect& area);

// The palette picture of the colour dialog: shows the pixels drawPalette made,
// reports the pixel under the mouse and keeps the cursor on the palette while
// the left button is held.
class PaletteView : public QWidget {
    Q_OBJECT
public:
    explicit PaletteView(QSize size, QWidget* parent = nullptr);

    // Redraws with the given grey (shows the busy pointer while it works).
    void redraw(int grey);
    const PaletteImage& image() const { return image_; }
    // The pixel at a position of this widget, clamped to the palette.
    std::uint32_t pixelAt(QPoint p) const;
    bool confiningCursor() const { return confining_; }

    QSize sizeHint() const override { return size_; }

signals:
    void colourPressed(quint32 pictureColour); // left button only
    void colourHovered(quint32 pictureColour); // any button state

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    QRect screenArea() const;

    QSize size_;
    PaletteImage image_;
    QImage shown_;
    bool confining_ = false;
};

} // namespace vorlu
