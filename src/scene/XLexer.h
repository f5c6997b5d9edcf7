#pragma once

// Token streams of the ".x" reader: one for the text encoding, one for the binary encoding.
// Both yield the same tokens so that one parser serves both.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vorlu::xfile {

enum class Tok : std::uint8_t {
    End,
    Error,
    Name,
    String,
    Integer,
    Float,
    Guid,
    OBrace,
    CBrace,
    OParen,
    CParen,
    OBracket,
    CBracket,
    OAngle,
    CAngle,
    Dot,
    Comma,
    Semicolon,
    Template, // binary only; the text lexer reports keywords as names
    Array,    // binary only
    Primitive // binary only, see Token::prim
};

enum class Prim : std::uint8_t { None, Word, Dword, Float, Double, Char, Uchar, Sword, Sdword, String };

struct Token {
    Tok kind = Tok::End;
    Prim prim = Prim::None;
    // Name, string and GUID text, and the spelling of numbers in text files (names may look like
    // numbers). Valid until the next token is read.
    std::string_view text;
    std::int64_t integer = 0;
    double real = 0.0;
};

class Lexer {
public:
    virtual ~Lexer() = default;
    virtual void next(Token& token) = 0;
    // Bytes not read yet; bounds every count taken from the input.
    virtual std::size_t remaining() const = 0;
    // Position for error messages, e.g. "line 12" or "offset 0x40".
    virtual std::string where() const = 0;
    // Why the last Tok::Error was produced.
    const std::string& error() const { return error_; }

protected:
    std::string error_;
};

std::unique_ptr<Lexer> makeTextLexer(const char* begin, const char* end);
std::unique_ptr<Lexer> makeBinaryLexer(const std::uint8_t* begin, const std::uint8_t* end, bool doubles);

} // namespace vorlu::xfile

namespace vorlu::xfile {

// Internal failure of a parse; turned into the error text of XFile::parse.
struct ParseError {
    std::string message;
};

// One-token lookahead over a lexer, with the checks every grammar rule needs.
class Cursor {
public:
    explicit Cursor(Lexer& lexer) : lexer_(lexer) { advance(); }

    const Token& tok() const { return cur_; }
    Tok kind() const { return cur_.kind; }
    std::size_t remaining() const { return lexer_.remaining(); }

    void advance()
    {
        lexer_.next(cur_);
        if (cur_.kind == Tok::Error) {
            fail(lexer_.error());
        }
    }

    [[noreturn]] void fail(const std::string& what) const
    {
        if (cur_.kind == Tok::End) {
            throw ParseError{"unexpected end of file (" + what + ")"};
        }
        throw ParseError{lexer_.where() + ": " + what};
    }

    void expect(Tok kind, const char* what)
    {
        if (cur_.kind != kind) {
            fail(std::string("expected ") + what);
        }
        advance();
    }

    bool isSeparator() const { return cur_.kind == Tok::Comma || cur_.kind == Tok::Semicolon; }

    // Exporters write extra or missing commas and semicolons; they carry no meaning here.
    void skipSeparators()
    {
        while (isSeparator()) {
            advance();
        }
    }

    // "template" and "array" are tokens of their own in binary files and plain words in text.
    bool isKeyword(Tok binaryKind, std::string_view word) const;
    // The primitive type named by the current token, or Prim::None.
    Prim primitive() const;
    // Object and reference names may be spelled like numbers in text files.
    bool isName() const
    {
        return cur_.kind == Tok::Name || ((cur_.kind == Tok::Integer || cur_.kind == Tok::Float) && !cur_.text.empty());
    }

private:
    Lexer& lexer_;
    Token cur_;
};

} // namespace vorlu::xfile
