#include "nodes/TextLines.h"

namespace vorlu {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

std::string trimBlanks(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

bool LineReader::next(std::string& line)
{
    if (atEnd())
        return false;
    std::size_t end = pos_;
    while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n')
        ++end;
    line = trimBlanks(text_.substr(pos_, end - pos_));
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r')
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return true;
}

void appendLine(std::string& out, std::string_view value)
{
    for (char c : value)
        if (c != '\r' && c != '\n')
            out.push_back(c);
    out += "\r\n";
}

} // namespace vorlu
