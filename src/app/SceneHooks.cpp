#include "app/SceneHooks.h"

#include "app/ModelViewPlaceholder.h"
#include "drives/DrivePainter.h"

namespace vorlu {

QWidget* SceneHooks::createModelView(QWidget* parent) { return new ModelViewPlaceholder(parent); }

DrivePainter& SceneHooks::drivePainter()
{
    static DrivePainter none;
    return none;
}

} // namespace vorlu
