#pragma once
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace vorlu {

// The administration dialogs share the main window's light ground.
inline const QColor DialogGround(236, 234, 242);

inline void applyDialogLook(QWidget* dialog)
{
    dialog->setAutoFillBackground(true);
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, DialogGround);
    dialog->setPalette(pal);
}

} // namespace vorlu
