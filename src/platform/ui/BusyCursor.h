#pragma once
#include <QGuiApplication>

namespace vorlu {

// The busy pointer for as long as the guard lives: pushed once, popped once,
// whichever way the scope is left, exceptions included.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace vorlu
