#pragma once

namespace vorlu {

// The menu items the network scan commands switch.
class NetworkMenu {
public:
    virtual ~NetworkMenu() = default;
    virtual void setNetworkScanEnabled(bool enabled) = 0; // mnunwscan
    virtual void setRescanEnabled(bool enabled) = 0;      // mnuRescan (and the toolbar's Re-Scan)
};

} // namespace vorlu
