#include "app/FrmStart.h"

#include "app/BrandWindow.h"
#include "app/Pictures.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>

namespace vorlu {

FrmStart::FrmStart(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("FrmStart");
    setWindowTitle("Vorlu Optical");
    setFixedSize(480, 300);
    applyBrandLook(this);
    addBrandPicture(this, QRect(0, 0, 480, 210), pictures::startupPicture(QSize(480, 210), devicePixelRatioF()));
    addVersionLabel(this, "Label2", "Version " VORLU_VERSION, QRect(24, 214, 200, 20), 0);

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(24, 238, 432, 2);
    line->setStyleSheet("background: rgba(255,255,255,120);");

    status_ = new QLabel(this);
    status_->setObjectName("Label1");
    status_->setGeometry(24, 248, 300, 20);

    for (int i = 0; i < 4; ++i) {
        auto* sq = new QFrame(this);
        sq->setObjectName(QString("Shape1(%1)").arg(i + 1));
        sq->setGeometry(372 + i * 22, 250, 14, 14);
        sq->setStyleSheet("background: #f2e8ff; border: 1px solid #5b3d70; border-radius: 2px;");
        sq->hide();
        squares_[static_cast<std::size_t>(i)] = sq;
    }
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void FrmStart::showStep(int n, const QString& text)
{
    if (n >= 1 && n <= 4)
        squares_[static_cast<std::size_t>(n - 1)]->show();
    if (!text.isEmpty())
        status_->setText(text);
    repaint();
}

} // namespace vorlu
