#include "app/WindowGeometry.h"

#include "nodes/AtomicFile.h"

#include <QByteArray>
#include <QWidget>

namespace vorlu {

bool restoreWindowGeometry(QWidget& window, const std::filesystem::path& file)
{
    std::string text;
    if (!std::filesystem::exists(file) || !readWholeFile(file, text))
        return false;
    const QByteArray geometry = QByteArray::fromBase64(QByteArray::fromStdString(text).trimmed());
    // Qt checks the data and keeps the window on a screen that exists now.
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

bool saveWindowGeometry(const QWidget& window, const std::filesystem::path& file, std::string* error)
{
    const std::string text = window.saveGeometry().toBase64().toStdString() + "\r\n";
    return writeFileAtomically(file, text, error);
}

} // namespace vorlu

#include <QScreen>

namespace vorlu {

void fitToScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    // The frame needs some room beside the client area.
    const QSize room(free.width() - 16, free.height() - 48);
    if (window.width() <= room.width() && window.height() <= room.height())
        return;
    window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
    window.move(free.topLeft());
}

} // namespace vorlu
