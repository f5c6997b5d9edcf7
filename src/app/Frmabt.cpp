#include "app/Frmabt.h"

#include "app/BrandWindow.h"
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
    applyBrandLook(this);
    addBrandPicture(this, QRect(0, 0, 420, 200), pictures::aboutPicture(QSize(420, 200), devicePixelRatioF()));
    addVersionLabel(this, "Label1", "V" VORLU_VERSION, QRect(24, 210, 120, 22), 2);

    auto* blurb = new QLabel("Optical drive inventory and health for small Windows networks.", this);
    blurb->setGeometry(24, 234, 280, 40);
    blurb->setWordWrap(true);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(316, 262, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

} // namespace vorlu
