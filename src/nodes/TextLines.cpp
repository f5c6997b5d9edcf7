#include "nodes/TextLines.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace vorlu {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(const std::string& s, std::size_t i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// The decimal exponent of the number's first significant digit, saturated; decides whether a
// number out of a double's range is too large or too small.
long long magnitude(std::string_view digits)
{
    std::size_t i = digits.find_first_not_of("+-");
    long long intDigits = 0;
    long long leadingFractionZeros = 0;
    bool significant = false;
    for (; i < digits.size() && isDigit(digits[i]); ++i)
        if (significant || digits[i] != '0') {
            significant = true;
            ++intDigits;
        }
    if (i < digits.size() && digits[i] == '.')
        for (++i; i < digits.size() && isDigit(digits[i]); ++i) {
            if (!significant && digits[i] == '0')
                ++leadingFractionZeros;
            else
                significant = true;
        }
    long long exponent = 0;
    if (i < digits.size() && (digits[i] == 'e' || digits[i] == 'E')) {
        ++i;
        const bool negative = i < digits.size() && digits[i] == '-';
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
            ++i;
        for (; i < digits.size() && isDigit(digits[i]); ++i)
            exponent = std::min<long long>(exponent * 10 + (digits[i] - '0'), 1'000'000'000);
        exponent = negative ? -exponent : exponent;
    }
    return (intDigits > 0 ? intDigits - 1 : -leadingFractionZeros - 1) + exponent;
}
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

bool leadingNumber(const std::string& text, double& value)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t intStart = i;
    i = digitsFrom(text, i);
    bool any = i > intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        const std::size_t fracEnd = digitsFrom(text, fracStart);
        if (fracEnd > fracStart || any) {
            any = any || fracEnd > fracStart;
            i = fracEnd;
        }
    }
    if (!any) {
        value = 0;
        return true;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t expEnd = digitsFrom(text, j);
        if (expEnd > j)
            i = expEnd;
    }
    std::size_t start = text[0] == '+' ? 1 : 0;
    const auto res = std::from_chars(text.data() + start, text.data() + i, value);
    if (res.ec == std::errc::result_out_of_range) {
        // A tiny number reads as zero; a huge one does not fit.
        const std::string_view number(text.data() + start, i - start);
        if (magnitude(number) >= 0)
            return false;
        value = number.front() == '-' ? -0.0 : 0.0;
        return true;
    }
    return res.ec == std::errc();
}

} // namespace vorlu
