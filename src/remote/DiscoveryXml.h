#pragma once
#include <QByteArray>
#include <QString>
#include <QAnyStringView>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace vorlu {

// What a discovery answer may cost to read. Answers come from anyone on the
// segment, so everything is bounded before it is looked at.
struct XmlLimits {
    qsizetype maxBytes = 64 * 1024;
    int maxDepth = 32;
    int maxElements = 4096;
};

// One element of a document read by readBoundedXml, children in document order.
struct XmlElement {
    QString ns;
    QString name;
    std::vector<std::pair<QString, QString>> attributes; // local name, value
    QString text;                                        // its own character data
    std::vector<XmlElement> children;

    // The first child with this namespace and local name, or null.
    const XmlElement* child(QAnyStringView nsUri, QAnyStringView localName) const;
    // Follows a path of children in one namespace; null where one is missing.
    const XmlElement* path(QAnyStringView nsUri, std::initializer_list<QAnyStringView> names) const;
    QString attribute(QAnyStringView localName) const;
    bool is(QAnyStringView nsUri, QAnyStringView localName) const;
    QString trimmedText() const { return text.trimmed(); }
};

// Gives the reason to error, when asked for, and the empty answer:
// `return refused(error, why);` in a reader that answers std::optional.
std::nullopt_t refused(QString* error, const QString& why);

// Reads a whole document into elements. Refuses a DTD (and so every declared
// entity), undeclared entities, more bytes, depth or elements than the
// limits allow, and malformed XML: nothing then, with the reason in error.
std::optional<XmlElement> readBoundedXml(const QByteArray& data, const XmlLimits& limits, QString* error);

} // namespace vorlu
