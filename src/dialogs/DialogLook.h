#pragma once
#include <QColor>
#include <QDialog>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QWidget>
#include <initializer_list>

namespace vorlu {

// The administration dialogs share the main window's light ground and one
// style of buttons.
inline const QColor DialogGround(236, 234, 242);

inline void applyDialogLook(QWidget* dialog)
{
    dialog->setAutoFillBackground(true);
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, DialogGround);
    dialog->setPalette(pal);
}

inline QPushButton* dialogButton(const char* name, const char* text, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("Cancel")) * 2);
    return b;
}

// The buttons an administration dialog ends with, to the right.
inline QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

// "OK", the default button, and "Cancel", which hides the dialog.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};

inline OkCancel okCancelButtons(QDialog* dialog)
{
    OkCancel b{dialogButton("Command1", "OK", dialog), dialogButton("Command2", "Cancel", dialog)};
    b.ok->setDefault(true);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::hide);
    return b;
}

} // namespace vorlu
