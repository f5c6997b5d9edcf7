#pragma once
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

// The program's pictures, drawn in code so that they stay sharp at any pixel
// density. Sizes are logical pixels; dpr is the device pixel ratio of the
// screen the picture is shown on.
namespace vorlu::pictures {

// Tree pictures by key: "nw" network root, "hm" this computer, "pc" node
// without its own login, "pw" node with its own login, "jp" jump node, "dvd"
// optical drives entry, "nd" one optical drive, "ok" the OK mark of the state
// grids. An unknown key gives a transparent picture.
QPixmap treePicture(const QString& key, int size, qreal dpr);
// The same picture at 16, 20, 24, 32 and 48 pixels.
QIcon treeIcon(const QString& key);

// The start-up window's picture and the About window's picture.
QPixmap startupPicture(QSize size, qreal dpr);
QPixmap aboutPicture(QSize size, qreal dpr);

// Toolbar button indexes of the command bar; the rectangles given to
// commandBarBackground are in this order.
enum ToolbarIcon {
    MoveLeft = 0,
    MoveRight = 1,
    MoveDown = 2,
    MoveUp = 3,
    ZoomIn = 4,
    ZoomOut = 5,
    ScanCurrentNode = 6,
    RescanNetwork = 7,
};

// The command bar's background with the eight toolbar icons painted inside
// their click rectangles (logical pixels within the bar).
QPixmap commandBarBackground(QSize size, qreal dpr, const std::array<QRect, 8>& toolbarRects);
QPixmap legendBarBackground(QSize size, qreal dpr);
// The bar of the progress dialog; its visible width shows the progress.
QPixmap progressBarPicture(QSize size, qreal dpr);
QPixmap statusBarBackground(QSize size, qreal dpr);

// The detail panel's state dials, held by pic_dial(1), (2) and (3).
// Unknown: a neutral dial, grey lamp and no needle, for a drive whose codes match no row.
enum class StateDial { Ok = 1, Warning = 2, Error = 3, Unknown = 4 };
QPixmap statePicture(StateDial dial, QSize size, qreal dpr);

} // namespace vorlu::pictures
