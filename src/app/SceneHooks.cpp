#include "app/SceneHooks.h"

#include "app/ModelViewPlaceholder.h"

namespace vorlu {

QWidget* SceneHooks::createModelView(QWidget* parent) { return new ModelViewPlaceholder(parent); }

} // namespace vorlu
