#pragma once
// The drive detail panel Picture3: heading, state dial, state word and the
// caption / value pairs that the fault search fills.
#include "model/DetailPanelView.h"

#include <array>

class QLabel;
class QWidget;

namespace vorlu {

class DetailPanel : public DetailPanelView {
public:
    // Builds Picture3 and its labels inside parent (which owns them).
    // driveId is the command bar's lbldriveid.
    DetailPanel(QWidget* parent, QLabel* driveId);

    QWidget* widget() const { return picture3_; }
    QLabel* valueLabel(DetailValue which) const { return values_[static_cast<std::size_t>(which)]; }
    // Draws the three dial pictures for the dial's current size and density.
    void refreshDials(double devicePixelRatio);
    // After a change of layout: fonts of the narrower large-font panel.
    void useLargeFonts();

    void setValue(DetailValue which, const std::string& text) override;
    void setHeading(const std::string& text) override;
    void clearDriveId() override;
    // As at the start: no heading, no values, no state, white on white.
    void clearDrive();
    void showState(const StatePresentation& state) override;

private:
    // Copies dial 1-3 into pic_dial(0), or draws the neutral one for an unknown state.
    void showDial(int dial);
    QWidget* picture3_;
    QLabel* driveId_;
    QLabel* heading_;
    QLabel* word_;
    QWidget* picture7_;
    std::array<QLabel*, 4> dials_{}; // pic_dial(0) shows a copy of 1, 2 or 3
    std::array<QLabel*, 7> values_{};
    int shownDial_ = 0;
    double devicePixelRatio_ = 1.0;
};

} // namespace vorlu
