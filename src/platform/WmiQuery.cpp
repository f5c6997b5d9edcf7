#include "platform/WmiQuery.h"

#include "platform/TextCase.h"

namespace vorlu {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }

class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    void skipBlanks()
    {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }
    bool atEnd()
    {
        skipBlanks();
        return pos_ == text_.size();
    }
    bool take(char c)
    {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::optional<std::string> identifier()
    {
        skipBlanks();
        if (pos_ >= text_.size() || !isIdentStart(text_[pos_]))
            return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isIdentChar(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    bool keyword(const char* word)
    {
        const std::size_t saved = pos_;
        const auto id = identifier();
        if (id && equalsIgnoringCase(*id, word))
            return true;
        pos_ = saved;
        return false;
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<WmiSelect> parseWmiSelect(const std::string& query)
{
    Scanner s(query);
    WmiSelect result;
    if (!s.keyword("select"))
        return std::nullopt;
    if (s.take('*')) {
        result.allProperties = true;
    } else {
        do {
            const auto property = s.identifier();
            if (!property || equalsIgnoringCase(*property, "from"))
                return std::nullopt;
            result.properties.push_back(*property);
        } while (s.take(','));
    }
    if (!s.keyword("from"))
        return std::nullopt;
    const auto className = s.identifier();
    if (!className || !s.atEnd())
        return std::nullopt;
    result.className = *className;
    return result;
}

WmiRow selectProperties(const WmiRow& stored, const WmiSelect& query)
{
    if (query.allProperties)
        return stored;
    std::vector<std::pair<std::string, std::optional<std::string>>> props;
    for (const std::string& wanted : query.properties) {
        const auto& all = stored.properties();
        auto it = all.begin();
        while (it != all.end() && !equalsIgnoringCase(it->first, wanted))
            ++it;
        if (it != all.end())
            props.push_back(*it);
        else
            props.emplace_back(wanted, std::nullopt);
    }
    return WmiRow(std::move(props));
}

std::vector<WmiRow> answerWmiQuery(const std::string& query, const WmiClassRows& rowsOf)
{
    const auto parsed = parseWmiSelect(query);
    if (!parsed)
        throw WmiError("Invalid query");
    WmiClass wmiClass;
    if (equalsIgnoringCase(parsed->className, "Win32_ComputerSystem"))
        wmiClass = WmiClass::ComputerSystem;
    else if (equalsIgnoringCase(parsed->className, "Win32_CDROMDrive"))
        wmiClass = WmiClass::CdromDrive;
    else
        throw WmiError("Invalid class");
    std::vector<WmiRow> rows;
    for (const WmiRow& row : rowsOf(wmiClass, *parsed))
        rows.push_back(selectProperties(row, *parsed));
    return rows;
}

} // namespace vorlu
