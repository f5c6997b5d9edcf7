#include "app/Frmabt.h"

#include "app/Pictures.h"

#include <QLabel>
#include <QPushButton>

namespace vorlu {

Frmabt::Frmabt(QWidget* parent) : QDialog(parent)
{
    setObjectName("Frmabt");
    setWindowTitle("About Vorlu Optical");
    setModal(false);
    setFixedSize(420, 300);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(139, 99, 161));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setGeometry(0, 0, 420, 200);
    picture->setPixmap(pictures::aboutPicture(picture->size(), devicePixelRatioF()));

    auto* version = new QLabel("V1.60", this);
    version->setObjectName("Label1");
    version->setGeometry(24, 210, 120, 22);
    QFont f = version->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    version->setFont(f);

    auto* blurb = new QLabel("Optical drive inventory and health for small Windows networks.", this);
    blurb->setGeometry(24, 236, 372, 20);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(316, 262, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

} // namespace vorlu
