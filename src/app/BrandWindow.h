#pragma once
#include <QLabel>
#include <QWidget>

namespace vorlu {

// The start-up and About windows share one look: violet ground, white text,
// a picture across the top and a bold version label.
inline void applyBrandLook(QWidget* window)
{
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(139, 99, 161));
    pal.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(pal);
}

inline QLabel* addBrandPicture(QWidget* window, const QRect& area, const QPixmap& picture)
{
    auto* label = new QLabel(window);
    label->setObjectName("Image1");
    label->setGeometry(area);
    label->setPixmap(picture);
    return label;
}

inline QLabel* addVersionLabel(QWidget* window, const char* name, const QString& text, const QRect& area,
                               int extraPoints)
{
    auto* version = new QLabel(text, window);
    version->setObjectName(name);
    version->setGeometry(area);
    QFont f = version->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + extraPoints);
    version->setFont(f);
    return version;
}

} // namespace vorlu
