#include "remote/WsManReply.h"

#include "remote/WsManEnvelope.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <cstdio>
#include <set>

namespace vorlu {

namespace {

std::string collapsed(const std::string& text)
{
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out.push_back(' ');
        blank = false;
        out.push_back(c);
    }
    return out;
}

std::string hexCode(const std::string& decimal)
{
    if (decimal.empty() || decimal.size() > 10 || decimal.find_first_not_of("0123456789") != std::string::npos)
        return decimal;
    const unsigned long long value = std::stoull(decimal);
    if (value > 0xFFFFFFFFull)
        return decimal;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08llX", value);
    return text;
}

// The Win32_CDROMDrive and Win32_ComputerSystem properties typed boolean:
// only these read as the COM service gives them, "True"/"False". A text
// property keeps the node's spelling.
bool isBooleanProperty(const std::string& name)
{
    static const std::set<std::string, std::less<>> names = {
        "ConfigManagerUserConfig", "DriveIntegrity", "ErrorCleared", "MediaLoaded", "PowerManagementSupported",
        "AutomaticManagedPagefile", "AutomaticResetBootOption", "AutomaticResetCapability", "BootROMSupported",
        "DaylightInEffect", "EnableDaylightSavingsTime", "HypervisorPresent", "InfraredSupported",
        "NetworkServerModeEnabled", "PartOfDomain", "PauseAfterReset", "ResetCapability"};
    return names.count(name) != 0;
}

class ReplyReader {
public:
    ReplyReader(const std::string& xml, const QDeadlineTimer& deadline)
        : reader_(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size()))), deadline_(deadline)
    {
    }

    EnumerationPage read()
    {
        EnumerationPage page;
        bool envelope = false, body = false;
        while (next() != QXmlStreamReader::EndDocument) {
            if (!reader_.isStartElement())
                continue;
            const QStringView name = reader_.name();
            if (depth_ == 1) {
                if (name != u"Envelope" || reader_.namespaceUri() != QLatin1String(wsman::SoapNs))
                    throw WmiError("the node's answer is not a SOAP envelope");
                envelope = true;
            } else if (depth_ == 2 && name == u"Body") {
                body = true;
            } else if (depth_ == 3 && body && name == u"Fault") {
                throw WmiError(faultText(readFault()));
            } else if (depth_ == 4 && body && name == u"EnumerationContext") {
                page.context = readText();
            } else if (depth_ == 4 && body && name == u"EndOfSequence") {
                page.endOfSequence = true;
            } else if (depth_ == 4 && body && name == u"Items") {
                readItems(page.items);
            }
        }
        if (!envelope || !body)
            throw WmiError("the node's answer is not a SOAP message (it has no envelope body)");
        return page;
    }

private:
    QXmlStreamReader::TokenType next()
    {
        const auto token = reader_.readNext();
        // Reading is part of the query: a reply that takes too long to read is as late as one that came late.
        if ((++tokens_ & 0x3FF) == 0 && deadline_.hasExpired())
            throw WmiError("the node's answer could not be read within the query's time limit");
        switch (token) {
        case QXmlStreamReader::DTD:
            throw WmiError("the node's answer holds a document type declaration, which is refused");
        case QXmlStreamReader::EntityReference:
            throw WmiError("the node's answer holds an entity reference, which is refused");
        case QXmlStreamReader::StartElement:
            if (++depth_ > MaxReplyDepth)
                throw WmiError("the node's answer is nested deeper than " + std::to_string(MaxReplyDepth) +
                               " elements and was refused");
            break;
        case QXmlStreamReader::EndElement: --depth_; break;
        case QXmlStreamReader::Invalid:
            throw WmiError("the node's answer is not well-formed XML: " + reader_.errorString().toStdString() +
                           " (line " + std::to_string(reader_.lineNumber()) + ")");
        default: break;
        }
        return token;
    }

    // The text of the element just started, nested elements' text included;
    // ends on its end tag.
    std::string readText()
    {
        const int at = depth_;
        std::string text;
        while (!(next() == QXmlStreamReader::EndElement && depth_ < at))
            if (reader_.isCharacters()) {
                const QByteArray utf8 = reader_.text().toUtf8();
                text.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            }
        return text;
    }

    // The child elements of the element just started, by local name, with their text.
    template <typename Visit> void forEachChild(Visit visit)
    {
        const int at = depth_;
        while (!(next() == QXmlStreamReader::EndElement && depth_ < at))
            if (reader_.isStartElement() && depth_ == at + 1)
                visit(reader_.name().toUtf8().toStdString());
    }

    void readItems(std::vector<WmiRow>& items)
    {
        forEachChild([this, &items](const std::string& name) {
            if (items.size() >= MaxReplyItems)
                throw WmiError("the node's answer holds more than " + std::to_string(MaxReplyItems) +
                               " items in one reply and was refused");
            // A class element and an XmlFragment both hold the properties as children.
            (void)name;
            WmiRow row;
            readProperties(row);
            items.push_back(std::move(row));
        });
    }

    void readProperties(WmiRow& row)
    {
        auto& props = row.properties();
        forEachChild([this, &props](const std::string& name) {
            const auto nil = reader_.attributes().value(QLatin1String(wsman::InstanceNs), QLatin1String("nil"));
            const bool noValue = nil == u"true" || nil == u"1";
            std::string value = readText();
            if (isBooleanProperty(name)) {
                if (value == "true")
                    value = "True";
                else if (value == "false")
                    value = "False";
            }
            // An array comes as the element repeated; appended in place, so a
            // node repeating one property a million times costs linear time.
            for (auto& [key, have] : props)
                if (key == name) {
                    if (!noValue) {
                        if (have)
                            have->append(",").append(value);
                        else
                            have = std::move(value);
                    }
                    return;
                }
            if (props.size() >= MaxItemProperties)
                throw WmiError("an item of the node's answer has more than " + std::to_string(MaxItemProperties) +
                               " properties and was refused");
            props.emplace_back(name, noValue ? std::nullopt : std::optional<std::string>(std::move(value)));
        });
    }

    WsManFault readFault()
    {
        WsManFault fault;
        forEachChild([this, &fault](const std::string& part) {
            if (part == "Code")
                readCode(fault.code, fault.subcode);
            else if (part == "Reason")
                forEachChild([this, &fault](const std::string& name) {
                    if (name == "Text" && fault.reason.empty())
                        fault.reason = collapsed(readText());
                });
            else if (part == "Detail")
                forEachChild([this, &fault](const std::string& name) {
                    if (name != "WSManFault")
                        return;
                    fault.wsmanCode = reader_.attributes().value(QLatin1String("Code")).toString().toStdString();
                    forEachChild([this, &fault](const std::string& inner) {
                        if (inner == "Message")
                            fault.message = collapsed(readText());
                    });
                });
        });
        return fault;
    }

    void readCode(std::string& code, std::string& subcode)
    {
        forEachChild([&](const std::string& name) {
            if (name == "Value")
                code = collapsed(readText());
            else if (name == "Subcode")
                readCode(subcode, subcode);
        });
    }

    QXmlStreamReader reader_;
    QDeadlineTimer deadline_;
    unsigned tokens_ = 0;
    int depth_ = 0;
};

} // namespace

EnumerationPage readEnumerationReply(const std::string& xml, const QDeadlineTimer& deadline)
{
    return ReplyReader(xml, deadline).read();
}

std::string faultText(const WsManFault& fault)
{
    const std::string code = fault.wsmanCode.empty() ? "" : " (" + hexCode(fault.wsmanCode) + ")";
    if (!fault.message.empty())
        return fault.message + code;
    std::string subcode = fault.subcode.substr(fault.subcode.find(':') + 1);
    if (!fault.reason.empty())
        return fault.reason + code + (subcode.empty() ? "" : " [" + subcode + "]");
    return "the node reported a fault" + code + " (" + (subcode.empty() ? fault.code : subcode) + ")";
}

} // namespace vorlu
