#include "remote/DiscoveryXml.h"

#include <QXmlStreamReader>

namespace vorlu {

bool XmlElement::is(QAnyStringView nsUri, QAnyStringView localName) const
{
    return QAnyStringView::compare(ns, nsUri) == 0 && QAnyStringView::compare(name, localName) == 0;
}

const XmlElement* XmlElement::child(QAnyStringView nsUri, QAnyStringView localName) const
{
    for (const XmlElement& c : children)
        if (c.is(nsUri, localName))
            return &c;
    return nullptr;
}

const XmlElement* XmlElement::path(QAnyStringView nsUri, std::initializer_list<QAnyStringView> names) const
{
    const XmlElement* at = this;
    for (QAnyStringView n : names) {
        at = at->child(nsUri, n);
        if (!at)
            return nullptr;
    }
    return at;
}

QString XmlElement::attribute(QAnyStringView localName) const
{
    for (const auto& [key, value] : attributes)
        if (QAnyStringView::compare(key, localName) == 0)
            return value;
    return {};
}

std::nullopt_t refused(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

std::optional<XmlElement> readBoundedXml(const QByteArray& data, const XmlLimits& limits, QString* error)
{
    if (data.size() > limits.maxBytes) {
        return refused(error, QStringLiteral("the answer is larger than %1 bytes").arg(limits.maxBytes));
    }
    QXmlStreamReader reader(data);
    // Held as pointers into the tree being built; a parent's children vector
    // only grows at its back while that child is the innermost open one.
    XmlElement root;
    std::vector<XmlElement*> open;
    bool haveRoot = false;
    int elements = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            return refused(error, QStringLiteral("the answer declares a document type"));
        case QXmlStreamReader::EntityReference:
            return refused(error, QStringLiteral("the answer uses an entity"));
        case QXmlStreamReader::StartElement: {
            if (++elements > limits.maxElements) {
                return refused(error, QStringLiteral("the answer has more than %1 elements").arg(limits.maxElements));
            }
            if (static_cast<int>(open.size()) >= limits.maxDepth) {
                return refused(error,
                               QStringLiteral("the answer is nested deeper than %1 levels").arg(limits.maxDepth));
            }
            XmlElement* e = nullptr;
            if (open.empty()) {
                if (haveRoot)
                    break; // the reader reports a second root itself
                haveRoot = true;
                e = &root;
            } else {
                open.back()->children.emplace_back();
                e = &open.back()->children.back();
            }
            e->ns = reader.namespaceUri().toString();
            e->name = reader.name().toString();
            for (const QXmlStreamAttribute& a : reader.attributes())
                e->attributes.emplace_back(a.name().toString(), a.value().toString());
            open.push_back(e);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty())
                open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty())
                open.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        return refused(error, QStringLiteral("the answer is not well-formed XML: %1").arg(reader.errorString()));
    }
    if (!haveRoot) {
        return refused(error, QStringLiteral("the answer holds no XML element"));
    }
    return root;
}

} // namespace vorlu
