#include "inventory/DriveEvaluation.h"

#include <cstdint>
#include <string>

namespace {

// The grids as the evaluation sees them, without widgets.
class NoGrids : public vorlu::StateGridsView {
public:
    void clearGrids() override {}
    void writeHeaders() override {}
    void appendRow(vorlu::StateGrid) override {}
    void setCell(vorlu::StateGrid, int, int, const std::string&) override {}
    void setOkPicture(vorlu::StateGrid, int) override {}
    void setCounters(const std::string&, const std::string&, const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorlu::DriveResults results;
    NoGrids grids;
    vorlu::DrivePainter painter;
    vorlu::EvaluateDiagnostics(text, {"10.0.0.1", "PC"}, results, grids, painter);
    vorlu::ShowDriveCounters(results, grids);
    return 0;
}
