#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

namespace vorlu {

// The computer name in a pub:Computer value: the part before the first "/"
// or "\" ("NAME/Workgroup:WG", "NAME/Domain:DOM", "NAME\NotJoined"), trimmed.
QString computerNameOf(const QString& pubComputer);

// The computer name a device's metadata (the transfer Get reply) gives: its
// host's pub:Computer, else its FriendlyName. Nothing, with the reason, when
// the reply is refused or names nothing.
std::optional<QString> computerNameFromMetadata(const QByteArray& reply, QString* error);

} // namespace vorlu
