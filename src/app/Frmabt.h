#pragma once
#include <QDialog>

namespace vorlu {

// "About Vorlu Optical": shown without blocking; closing only hides it.
class Frmabt : public QDialog {
    Q_OBJECT
public:
    explicit Frmabt(QWidget* parent = nullptr);
};

} // namespace vorlu
