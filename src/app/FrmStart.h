#pragma once
#include <QWidget>
#include <array>

class QLabel;

namespace vorlu {

// The start-up window: picture, version, the current loading step and four
// progress squares shown one by one.
class FrmStart : public QWidget {
    Q_OBJECT
public:
    explicit FrmStart(QWidget* parent = nullptr);
    // Shows square n (1..4) and names the step; an empty text keeps the last one.
    void showStep(int n, const QString& text);

private:
    QLabel* status_;
    std::array<QWidget*, 4> squares_{};
};

} // namespace vorlu
