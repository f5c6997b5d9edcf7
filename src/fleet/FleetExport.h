#pragma once
#include "fleet/FleetRows.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

enum class ExportFormat { Csv, Json, Html, Prometheus };

// By the file's extension (.csv, .json, .html or .htm, .prom, any case).
std::optional<ExportFormat> exportFormatOf(const std::filesystem::path& file);

struct ExportHeader {
    std::string date;    // when the rows were made
    std::string version; // the program's
};

std::string formatFleetCsv(const std::vector<FleetRow>& rows);
std::string formatFleetJson(const std::vector<FleetRow>& rows, const ExportHeader& header);
// One file with its own styles: no script, no outside resource.
std::string formatFleetHtml(const std::vector<FleetRow>& rows, const ExportHeader& header);

// Writes the rows in the file's format, atomically. False and a reason on an
// unknown extension or a failed write; the previous file then stays.
bool writeFleetExport(const std::filesystem::path& file, const std::vector<FleetRow>& rows,
                      const ExportHeader& header, std::string* error);

} // namespace vorlu
