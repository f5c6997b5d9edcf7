#include "dialogs/FrmColor.h"
#include "dialogs/PaletteView.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace vorlu {
namespace {

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

std::string text(QWidget* dialog, const char* name)
{
    if (auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text().toStdString();
    return child<QLineEdit>(dialog, name)->text().toStdString();
}

// QTest treats the point (0, 0) as "the centre", so the corner pixel gets a
// hand-made event.
void leftClickAt(QWidget* w, QPoint p)
{
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

QColor swatch(QWidget* dialog, const char* name)
{
    return child<QFrame>(dialog, name)->palette().color(QPalette::Window);
}

// The main window's side of the "Backcolor" command.
struct Backcolor : ::testing::Test {
    std::vector<std::int32_t> applied;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    BackgroundColourCommand command{owner.get(), [this](std::int32_t v) { applied.push_back(v); }};

    FrmColor* open()
    {
        command.run();
        return command.dialog();
    }
    void click(FrmColor* d, const char* button) { QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton); }
};

TEST_F(Backcolor, FreshDialogShowsItsDesignState)
{
    FrmColor* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->objectName(), "FrmColor");
    EXPECT_EQ(d->windowTitle(), "Background Color");
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(text(d, "Label1(4)"), "Backcolor");
    EXPECT_EQ(child<QSlider>(d, "HScroll1")->value(), 85);
    EXPECT_EQ(text(d, "Label3"), "85");
    EXPECT_EQ(text(d, "thehex"), "");
    for (const char* name : {"Label2(0)", "Label2(1)", "Label2(2)"})
        EXPECT_EQ(text(d, name), "0");
    EXPECT_EQ(swatch(d, "Picture2"), QColor(Qt::black));
    EXPECT_EQ(child<PaletteView>(d, "Colors")->image().at(0, 0), pictureColour({255, 0, 0}));
}

TEST_F(Backcolor, OkBeforeAnyClickGivesBlack)
{
    FrmColor* d = open();
    click(d, "Command1(0)");
    EXPECT_EQ(applied, std::vector<std::int32_t>{0});
    EXPECT_FALSE(d->isVisible());
}

TEST_F(Backcolor, ClickOnRedThenOkTwiceGivesRedBothTimes)
{
    FrmColor* d = open();
    leftClickAt(child<PaletteView>(d, "Colors"), QPoint(0, 0));
    EXPECT_EQ(text(d, "thehex"), "FF0000");
    EXPECT_EQ(text(d, "Label2(0)"), "255");
    EXPECT_EQ(text(d, "Label2(1)"), "0");
    EXPECT_EQ(swatch(d, "Picture1"), QColor(255, 0, 0));
    click(d, "Command1(0)");
    open();
    click(d, "Command1(0)");
    EXPECT_EQ(applied, (std::vector<std::int32_t>{0x00FF0000, 0x00FF0000}));
    EXPECT_EQ(text(d, "thehex"), "FF0000"); // OK leaves the text alone
}

TEST_F(Backcolor, CancelChangesNothingAndTheClickStaysShown)
{
    FrmColor* d = open();
    d->takeColour(pictureColour({10, 200, 5}));
    EXPECT_EQ(text(d, "thehex"), "0AC805");
    click(d, "Command1(1)");
    EXPECT_TRUE(applied.empty());
    EXPECT_FALSE(d->isVisible());

    EXPECT_EQ(open(), d); // made once, shown again
    EXPECT_EQ(text(d, "thehex"), "0AC805");
    EXPECT_EQ(text(d, "Label2(1)"), "200");
    click(d, "Command1(0)");
    EXPECT_EQ(applied, std::vector<std::int32_t>{0x0AC805});
}

TEST_F(Backcolor, OnlyTheLeftButtonTakesAColourButAnyMoveHovers)
{
    FrmColor* d = open();
    auto* colors = child<PaletteView>(d, "Colors");
    QTest::mouseClick(colors, Qt::RightButton, {}, QPoint(0, 0));
    EXPECT_EQ(text(d, "thehex"), "");

    const QPoint p(150, 20);
    const Rgb under = rgbFromPictureColour(colors->pixelAt(p));
    const QColor expected(under.red, under.green, under.blue);
    // The move goes through the display server, whose motion event arrives in its own time.
    QTest::mouseMove(colors, p);
    (void)QTest::qWaitFor([&] { return swatch(d, "Picture2") == expected; }, 5000);
    EXPECT_EQ(swatch(d, "Picture2"), expected);
    EXPECT_NE(swatch(d, "Picture2"), QColor(Qt::black));
}

TEST_F(Backcolor, SliderRedrawsThePaletteTowardItsGrey)
{
    FrmColor* d = open();
    auto* colors = child<PaletteView>(d, "Colors");
    child<QSlider>(d, "HScroll1")->setValue(255);
    EXPECT_EQ(text(d, "Label3"), "255");
    const int bottom = colors->image().height - 1;
    EXPECT_EQ(colors->image().at(100, bottom), pictureColour({255, 255, 255}));
    child<QSlider>(d, "HScroll1")->setValue(0);
    EXPECT_EQ(colors->image().at(100, bottom), pictureColour({0, 0, 0}));
}

TEST_F(Backcolor, TypedCodesFollowTheHexadecimalReading)
{
    FrmColor* d = open();
    auto* hex = child<QLineEdit>(d, "thehex");
    struct Case { const char* typed; const char* shown; std::int32_t value; };
    const Case cases[] = {
        {"ff8000", "ff8000", 0x00FF8000},
        {"FFFF", "FFFF", -1},            // four digits read as 16 bits
        {"12xy34", "1234", 0x1234},      // not a digit: refused by the box
        {"1234567", "123456", 0x123456}, // six digits at most
    };
    for (const auto& c : cases) {
        hex->clear();
        QTest::keyClicks(hex, QString::fromLatin1(c.typed));
        EXPECT_EQ(hex->text(), c.shown) << c.typed;
        click(d, "Command1(0)");
        ASSERT_FALSE(applied.empty());
        EXPECT_EQ(applied.back(), c.value) << c.typed;
        open();
    }
}

TEST(ConfinePoint, KeepsTheCursorInsideTheArea)
{
    const QRect area(100, 50, 306, 200); // right 405, bottom 249
    EXPECT_EQ(confinePoint({150, 60}, area), QPoint(150, 60));
    EXPECT_EQ(confinePoint({10, 10}, area), QPoint(100, 50));
    EXPECT_EQ(confinePoint({900, 100}, area), QPoint(405, 100));
    EXPECT_EQ(confinePoint({200, 900}, area), QPoint(200, 249));
}

// Needs a real window system: the offscreen platform cannot move the cursor.
TEST(PaletteCursor, HeldLeftButtonKeepsTheCursorOnThePalette)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "cursor confinement needs a display";
    FrmColor dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    PaletteView* colors = dialog.palette();
    const QRect area(colors->mapToGlobal(QPoint(0, 0)), colors->size());

    QTest::mousePress(colors, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(colors->confiningCursor());
    QCursor::setPos(area.right() + 80, area.bottom() + 80);
    QMouseEvent away(QEvent::MouseMove, colors->mapFromGlobal(QCursor::pos()).toPointF(), QCursor::pos().toPointF(),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(colors, &away);
    QTest::qWait(50);
    EXPECT_TRUE(area.contains(QCursor::pos())) << QCursor::pos().x() << "," << QCursor::pos().y();

    QTest::mouseRelease(colors, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(colors->confiningCursor());
    QCursor::setPos(area.right() + 80, area.bottom() + 80);
    QTest::qWait(50);
    EXPECT_FALSE(area.contains(QCursor::pos()));
}

} // namespace
} // namespace vorlu
