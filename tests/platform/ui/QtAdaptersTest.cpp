#include "platform/ui/QtUserInterfaceServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vorlu;

TEST(QtMessageBoxes, ShowsTextTitleIconAndOneOkButton)
{
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        Qt::TextFormat format = Qt::AutoText;
        QWidget* parent = nullptr;
    };
    QtMessageBoxes boxes;
    auto showAndRead = [&boxes](const std::string& text, const std::string& title, MessageIcon icon) {
        Seen seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
                        box->textFormat(), box->parentWidget()};
                box->accept();
            }
        });
        poll.start(10);
        boxes.show(text, title, icon);
        return seen;
    };
    const Seen plain = showAndRead("Winsock.dll is not responding.", "", MessageIcon::None);
    EXPECT_EQ(plain.title, "Vorlu Optical");
    EXPECT_EQ(plain.text, "Winsock.dll is not responding.");
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, 1);
    EXPECT_EQ(plain.format, Qt::PlainText);

    const Seen error = showAndRead("<b>x</b>", "Network error", MessageIcon::Error);
    EXPECT_EQ(error.title, "Network error");
    EXPECT_EQ(error.text, "<b>x</b>");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(showAndRead("q", "t", MessageIcon::Question).icon, QMessageBox::Question);

    QWidget window;
    window.show();
    boxes.setParentWidget(&window);
    EXPECT_EQ(showAndRead("p", "", MessageIcon::None).parent, &window);
}
