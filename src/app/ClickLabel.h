#pragma once
#include <QLabel>
#include <QMouseEvent>

namespace vorlu {

// A label or transparent image area that acts on a left click, as the
// command bar's captions and toolbar areas do.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            emit clicked();
        QLabel::mouseReleaseEvent(e);
    }
};

} // namespace vorlu
