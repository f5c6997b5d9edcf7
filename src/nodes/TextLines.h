#pragma once
#include <string>
#include <string_view>

namespace vorlu {

// Reads the program's line-based files: one value per line, CRLF or LF (or a
// lone CR) ends a line, leading and trailing blanks are dropped.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    // The next trimmed line; false at the end of the text.
    bool next(std::string& line);

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string trimBlanks(std::string_view s);

// Writers end every line with CRLF. Line breaks inside a value are dropped so a
// value can never forge further lines.
void appendLine(std::string& out, std::string_view value);

// The leading decimal number of a text ("12.5abc" gives 12.5, "abc" gives 0);
// "." is the decimal point. False when the number does not fit a double.
bool leadingNumber(const std::string& text, double& value);

} // namespace vorlu
