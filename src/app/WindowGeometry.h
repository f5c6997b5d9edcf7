#pragma once
#include <filesystem>
#include <string>

class QWidget;

namespace vorlu {

// The main window's size and position between runs, in a file of its own so
// that the settings file keeps its ten lines for older versions.
inline constexpr const char* WindowFileName = "window.ini";

// Puts the window where the file says. False, leaving the window as it is,
// when there is no file or it does not describe a usable geometry.
bool restoreWindowGeometry(QWidget& window, const std::filesystem::path& file);

// Writes the window's geometry (its normal one when maximised).
bool saveWindowGeometry(const QWidget& window, const std::filesystem::path& file, std::string* error = nullptr);

} // namespace vorlu

namespace vorlu {

// Shrinks a window that is larger than the free area of its screen to fit it.
void fitToScreen(QWidget& window);

} // namespace vorlu
