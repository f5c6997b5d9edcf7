#include "remote/DeviceMetadata.h"

#include "remote/DiscoveryXml.h"
#include "remote/WsDiscoveryMessages.h"

namespace vorlu {

namespace {

// Metadata is a few kilobytes; a device that sends more is not one we read.
constexpr qsizetype MaxMetadataBytes = 256 * 1024;

const XmlElement* findFirst(const XmlElement& in, QAnyStringView ns, QAnyStringView name)
{
    for (const XmlElement& c : in.children) {
        if (c.is(ns, name))
            return &c;
        if (const XmlElement* deeper = findFirst(c, ns, name))
            return deeper;
    }
    return nullptr;
}

} // namespace

QString computerNameOf(const QString& pubComputer)
{
    const QString value = pubComputer.trimmed();
    qsizetype cut = value.size();
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('/') || value[i] == QLatin1Char('\\')) {
            cut = i;
            break;
        }
    }
    return value.left(cut).trimmed();
}

std::optional<QString> computerNameFromMetadata(const QByteArray& reply, QString* error)
{
    XmlLimits limits;
    limits.maxBytes = MaxMetadataBytes;
    const std::optional<XmlElement> doc = readBoundedXml(reply, limits, error);
    if (!doc)
        return std::nullopt;
    const XmlElement* metadata =
        doc->is(wsd::SoapNs, "Envelope") ? doc->path(wsd::SoapNs, {"Body"}) : nullptr;
    if (metadata)
        metadata = metadata->child(wsd::MexNs, "Metadata");
    if (!metadata) {
        return refused(error, QStringLiteral("the device's answer holds no metadata"));
    }
    const char* devprof = wsd::DevprofNs;
    QString friendly;
    for (const XmlElement& section : metadata->children) {
        if (!section.is(wsd::MexNs, "MetadataSection"))
            continue;
        const QString dialect = section.attribute(u"Dialect");
        if (dialect.endsWith(QLatin1String("devprof/Relationship"))) {
            const XmlElement* host = findFirst(section, devprof, "Host");
            const XmlElement* computer = host ? host->child(wsd::PubNs, "Computer") : nullptr;
            if (computer) {
                const QString name = computerNameOf(computer->text);
                if (!name.isEmpty())
                    return name;
            }
        } else if (friendly.isEmpty()) {
            if (const XmlElement* device = findFirst(section, devprof, "ThisDevice"))
                if (const XmlElement* f = device->child(devprof, "FriendlyName"))
                    friendly = f->trimmedText();
        }
    }
    if (!friendly.isEmpty())
        return friendly;
    return refused(error, QStringLiteral("the device's metadata names no computer"));
}

} // namespace vorlu
