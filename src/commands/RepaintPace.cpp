#include "commands/RepaintPace.h"

#include <QCoreApplication>

namespace vorlu {

void RepaintPace::yield()
{
    if (sinceLast_.isValid() && sinceLast_.elapsed() < 15)
        return;
    QCoreApplication::processEvents();
    sinceLast_.start();
}

} // namespace vorlu
