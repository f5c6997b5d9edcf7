#pragma once
#include "addresses/AddressViews.h"

class QWidget;

namespace vorlu {

// The address commands' dialogs, modal over the main window.
class QtAddressViews : public AddressViews {
public:
    explicit QtAddressViews(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> askRange(const std::string& proposed) override;
    std::optional<NewNodeInput> askNewNode() override;
    std::optional<ConnectionChoice> askConnection(const std::string& nodeName,
                                                  const std::optional<NodeConnection>& current,
                                                  const RemoteTransport& program) override;

private:
    QWidget* parent_;
};

} // namespace vorlu
