#include "platform/JsonReader.h"

#include <cstdint>
#include <stdexcept>
#include <unordered_set>

namespace vorlu {

const JsonMember* JsonValue::member(const std::string& key) const
{
    for (const JsonMember& m : members)
        if (m.key == key)
            return &m;
    return nullptr;
}

std::string jsonQuoted(std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

const char* jsonTypeName(JsonValue::Type type)
{
    switch (type) {
    case JsonValue::Type::Null: return "null";
    case JsonValue::Type::Bool: return "true or false";
    case JsonValue::Type::Number: return "a number";
    case JsonValue::Type::String: return "a string";
    case JsonValue::Type::Array: return "an array";
    case JsonValue::Type::Object: return "an object";
    }
    return "a value";
}

namespace {

struct ParseError {
    JsonPosition position;
    std::string message;
};

// Deep enough for any sensible document, shallow enough that a hostile one
// cannot exhaust the stack.
constexpr int kMaxDepth = 128;

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text)
    {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            pos_ = 3;
    }

    JsonValue document()
    {
        skipBlanks();
        JsonValue v = value(0);
        skipBlanks();
        if (!atEnd())
            fail("expected the end of the document");
        return v;
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
    JsonPosition here_;

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }

    [[noreturn]] void fail(const std::string& message) const { throw ParseError{here_, message}; }
    [[noreturn]] void failAt(JsonPosition at, const std::string& message) const { throw ParseError{at, message}; }

    void advance()
    {
        const auto c = static_cast<unsigned char>(text_[pos_++]);
        if (c == '\n') {
            ++here_.line;
            here_.column = 1;
        } else if ((c & 0xC0) != 0x80) {
            // continuation bytes belong to the character already counted
            ++here_.column;
        }
    }

    void skipBlanks()
    {
        while (!atEnd()) {
            const char c = peek();
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                break;
            advance();
        }
    }

    void expect(char c, const char* what)
    {
        if (peek() != c)
            fail(std::string("expected ") + what);
        advance();
    }

    JsonValue value(int depth)
    {
        if (depth > kMaxDepth)
            fail("nesting too deep");
        JsonValue v;
        v.position = here_;
        const char c = peek();
        if (c == '{') {
            v.type = JsonValue::Type::Object;
            object(v, depth);
        } else if (c == '[') {
            v.type = JsonValue::Type::Array;
            array(v, depth);
        } else if (c == '"') {
            v.type = JsonValue::Type::String;
            v.text = string();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            v.type = JsonValue::Type::Number;
            v.text = number();
        } else if (word("true")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = true;
        } else if (word("false")) {
            v.type = JsonValue::Type::Bool;
        } else if (word("null")) {
            v.type = JsonValue::Type::Null;
        } else {
            fail(atEnd() ? "expected a value, found the end of the document" : "expected a value");
        }
        return v;
    }

    bool word(const char* w)
    {
        const std::string s(w);
        if (text_.compare(pos_, s.size(), s) != 0)
            return false;
        const char after = pos_ + s.size() < text_.size() ? text_[pos_ + s.size()] : '\0';
        if ((after >= 'a' && after <= 'z') || (after >= 'A' && after <= 'Z') || (after >= '0' && after <= '9'))
            return false;
        for (std::size_t i = 0; i < s.size(); ++i)
            advance();
        return true;
    }

    void object(JsonValue& v, int depth)
    {
        advance(); // {
        skipBlanks();
        if (peek() == '}') {
            advance();
            return;
        }
        std::unordered_set<std::string> keys;
        for (;;) {
            skipBlanks();
            if (peek() != '"')
                fail("expected a key in double quotes");
            JsonMember m;
            m.keyPosition = here_;
            m.key = string();
            if (!keys.insert(m.key).second)
                failAt(m.keyPosition, "duplicate key " + jsonQuoted(m.key));
            skipBlanks();
            expect(':', "':' after the key");
            skipBlanks();
            m.value = value(depth + 1);
            v.members.push_back(std::move(m));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect('}', "',' or '}' after an object member");
            return;
        }
    }

    void array(JsonValue& v, int depth)
    {
        advance(); // [
        skipBlanks();
        if (peek() == ']') {
            advance();
            return;
        }
        for (;;) {
            skipBlanks();
            v.items.push_back(value(depth + 1));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect(']', "',' or ']' after an array item");
            return;
        }
    }

    std::string number()
    {
        const std::size_t start = pos_;
        auto digits = [this] {
            if (!(peek() >= '0' && peek() <= '9'))
                fail("expected a digit");
            while (peek() >= '0' && peek() <= '9')
                advance();
        };
        if (peek() == '-')
            advance();
        if (peek() == '0') {
            advance();
            if (peek() >= '0' && peek() <= '9')
                fail("a number cannot have a leading zero");
        } else {
            digits();
        }
        if (peek() == '.') {
            advance();
            digits();
        }
        if (peek() == 'e' || peek() == 'E') {
            advance();
            if (peek() == '+' || peek() == '-')
                advance();
            digits();
        }
        return text_.substr(start, pos_ - start);
    }

    unsigned hex4()
    {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = peek();
            unsigned d = 0;
            if (c >= '0' && c <= '9')
                d = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                d = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                d = static_cast<unsigned>(c - 'A' + 10);
            else
                fail("expected four hexadecimal digits after \\u");
            code = code * 16 + d;
            advance();
        }
        return code;
    }

    static void appendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    void escape(std::string& out)
    {
        const JsonPosition at = here_;
        advance(); // backslash
        const char c = peek();
        switch (c) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            advance();
            unsigned code = hex4();
            if (code >= 0xD800 && code <= 0xDBFF) {
                if (peek() != '\\')
                    failAt(at, "expected a low surrogate after a high surrogate");
                advance();
                if (peek() != 'u')
                    failAt(at, "expected a low surrogate after a high surrogate");
                advance();
                const unsigned low = hex4();
                if (low < 0xDC00 || low > 0xDFFF)
                    failAt(at, "expected a low surrogate after a high surrogate");
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else if (code >= 0xDC00 && code <= 0xDFFF) {
                failAt(at, "a low surrogate without a high surrogate");
            }
            appendUtf8(out, code);
            return; // hex4 already moved past the digits
        }
        default:
            fail("expected an escape: \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\u");
        }
        advance();
    }

    std::string string()
    {
        advance(); // opening quote
        std::string out;
        for (;;) {
            if (atEnd())
                fail("expected '\"' to close the string");
            const auto c = static_cast<unsigned char>(peek());
            if (c == '"') {
                advance();
                return out;
            }
            if (c == '\\') {
                escape(out);
                continue;
            }
            if (c < 0x20)
                fail(c == '\n' ? "expected '\"' before the end of the line" : "control character in a string");
            out += static_cast<char>(c);
            advance();
        }
    }
};

} // namespace

bool parseJson(const std::string& text, JsonValue& out, std::string& error)
{
    try {
        Parser parser(text);
        out = parser.document();
        return true;
    } catch (const ParseError& e) {
        error = std::to_string(e.position.line) + ":" + std::to_string(e.position.column) + ": " + e.message;
        return false;
    }
}

} // namespace vorlu
