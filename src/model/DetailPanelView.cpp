#include "model/DetailPanelView.h"

#include "drives/DriveStatus.h"

namespace vorlu {

const StatePresentation* StatePresentationFor(int colour)
{
    static constexpr StatePresentation green{0x008000, 1, "OK"};
    static constexpr StatePresentation amber{0x808000, 2, "Warning"};
    static constexpr StatePresentation red{0xFF0000, 3, "Error"};
    switch (colour) {
    case StatusColour::Green: return &green;
    case StatusColour::Amber: return &amber;
    case StatusColour::Red: return &red;
    default: return nullptr;
    }
}

} // namespace vorlu
