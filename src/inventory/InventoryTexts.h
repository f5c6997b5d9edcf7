#pragma once

namespace vorlu {

// Texts of the drive scans, exactly as the user sees them. Prefixes are
// followed directly by the node's login and then its IP.
inline constexpr const char* ConnectingPrefix = "Connecting to WMI ";
inline constexpr const char* ConnectedPrefix = "Connected to ";
inline constexpr const char* AccessDeniedPrefix = "Access denied to ";
inline constexpr const char* CollectingPrefix = "Collecting Optical Drive information for ";
inline constexpr const char* HardwareCollectedText = "Hardware data collected ";
inline constexpr const char* SensorCollectedText = "Sensor data collected ";
inline constexpr const char* BuildingPrefix = "Building system for ";
inline constexpr const char* BuiltPrefix = "System built for ";
inline constexpr const char* ScannedPrefix = "System scanned for ";
inline constexpr const char* PreparingDiagnosticText = "Preparing diagnostic check...";
inline constexpr const char* PreparingModelText = "Preparing to build virtual model...";
inline constexpr const char* DiagnosticCaption = "Diagnostic";
inline constexpr const char* StatusCaption = "Status";

inline constexpr const char* AccessDeniedState = "Access denied";
inline constexpr const char* ScannedState = "Scanned";

inline constexpr const char* ComputerSystemQuery = "Select Name From Win32_ComputerSystem";
inline constexpr const char* DriveListQuery = "Select Drive, Name From Win32_CDROMDrive";
inline constexpr const char* DriveStatusQuery = "Select Availability, ConfigManagerErrorCode, ErrorCleared, "
                                                "ErrorDescription, LastErrorCode, Status, StatusInfo, MediaLoaded "
                                                "From Win32_CDROMDrive";
// The diagnostics always read this namespace, whatever the settings name.
inline constexpr const char* DiagnosticsNamespace = "root\\cimv2";

inline constexpr const char* ReportFileName = "report";
inline constexpr const char* DiagnosticsFileName = "sen_cd";

// Our own texts for what the described commands leave open.
inline constexpr const char* NoLocalNodeText =
    "This computer is not in the node list; run a network scan that lists it first.";
inline constexpr const char* CollectFailedPrefix = "Unable to collect optical drive information for ";
inline constexpr const char* WriteFailedPrefix = "Unable to write ";
inline constexpr const char* CancelledPrefix = "Cancelled for ";

} // namespace vorlu
