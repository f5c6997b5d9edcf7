#pragma once
#include <QWidget>

class QTextBrowser;

namespace vorlu {

// The bundled user guide in a window of the program's own, for a desktop
// without a web browser. Links inside the guide stay in the window.
class UserGuideWindow : public QWidget {
    Q_OBJECT
public:
    explicit UserGuideWindow(QWidget* parent = nullptr);
    // Loads the guide; a guide that is missing says so in the window.
    void showGuide(const QString& fileUrl);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

} // namespace vorlu
