#pragma once

namespace vorlu {

// Titles and texts the network discovery shows, exactly as the user sees them.
inline constexpr const char* MessageTitle = "Message from VORLU OPTICAL";
// The one box titled in mixed case: the restart request after a scan's OK.
inline constexpr const char* RestartMessageTitle = "Message from Vorlu Optical";
inline constexpr const char* NetworkErrorTitle = "Network error";

inline constexpr const char* NodeListFailedText = "Unable to retrieve network node list!";
inline constexpr const char* ResolveFailedText = "Unable to resolve IP!";
inline constexpr const char* ListNodesFailedText = "Unable to list network nodes!";
inline constexpr const char* CantResolveText = "Can't resolve name.";

inline constexpr const char* GettingNodesText = "Getting list of nodes on network...";
inline constexpr const char* NodeListCompletedText = "Network node list completed";
inline constexpr const char* NoNewNodesText = "Network node list completed: no new computers found";
inline constexpr const char* ResolvingPrefix = "Resolve IP address for ";

inline constexpr const char* ScanListCaption = "Scan List";

} // namespace vorlu
