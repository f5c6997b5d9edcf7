// Tokens of the text encoding. Hot path of text loading: keep it table-driven and allocation-free.

#include "scene/XLexer.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vorlu::xfile {
namespace {

enum CharClass : std::uint8_t { kWord, kSpace, kStop, kBad };

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 32; ++c) {
        t[static_cast<std::size_t>(c)] = kBad;
    }
    // NUL padding and a DOS end-of-file mark occur at the end of files from old tools.
    for (unsigned char c : {' ', '\t', '\r', '\n', '\f', '\v', '\0', '\x1a'}) {
        t[c] = kSpace;
    }
    for (unsigned char c : {'{', '}', '(', ')', '[', ']', '<', '>', ',', ';', '"', '#', '/'}) {
        t[c] = kStop;
    }
    t[127] = kBad;
    return t;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

inline std::uint8_t classOf(char c)
{
    return kClasses[static_cast<unsigned char>(c)];
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

class TextLexer final : public Lexer {
public:
    TextLexer(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}

    void next(Token& t) override
    {
        for (;;) {
            while (p_ < end_ && classOf(*p_) == kSpace) {
                ++p_;
            }
            if (p_ >= end_) {
                t.kind = Tok::End;
                return;
            }
            const char c = *p_;
            switch (c) {
            case '#':
                skipLine();
                continue;
            case '/':
                if (p_ + 1 < end_ && p_[1] == '/') {
                    skipLine();
                    continue;
                }
                word(t);
                return;
            case '{': punct(t, Tok::OBrace); return;
            case '}': punct(t, Tok::CBrace); return;
            case '(': punct(t, Tok::OParen); return;
            case ')': punct(t, Tok::CParen); return;
            case '[': punct(t, Tok::OBracket); return;
            case ']': punct(t, Tok::CBracket); return;
            case '>': punct(t, Tok::CAngle); return;
            case ',': punct(t, Tok::Comma); return;
            case ';': punct(t, Tok::Semicolon); return;
            case '"': quoted(t); return;
            case '<': guid(t); return;
            default:
                if (classOf(c) == kBad) {
                    fail(t, "unexpected control character");
                    return;
                }
                word(t);
                return;
            }
        }
    }

    std::size_t remaining() const override { return static_cast<std::size_t>(end_ - p_); }

    std::string where() const override
    {
        std::size_t line = 1;
        for (const char* q = begin_; q < p_; ++q) {
            line += (*q == '\n') ? 1 : 0;
        }
        return "line " + std::to_string(line);
    }

private:
    void skipLine()
    {
        const void* nl = std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_));
        p_ = nl ? static_cast<const char*>(nl) + 1 : end_;
    }

    void punct(Token& t, Tok kind)
    {
        t.kind = kind;
        t.text = std::string_view(p_, 1);
        ++p_;
    }

    void fail(Token& t, const char* why)
    {
        t.kind = Tok::Error;
        error_ = why;
    }

    void quoted(Token& t)
    {
        const char* start = p_ + 1;
        const void* close = std::memchr(start, '"', static_cast<std::size_t>(end_ - start));
        if (!close) {
            fail(t, "unterminated string");
            return;
        }
        const char* stop = static_cast<const char*>(close);
        t.kind = Tok::String;
        t.text = std::string_view(start, static_cast<std::size_t>(stop - start));
        p_ = stop + 1;
    }

    void guid(Token& t)
    {
        const char* start = p_ + 1;
        const char* q = start;
        const char* limit = (end_ - start > 80) ? start + 80 : end_;
        while (q < limit && *q != '>') {
            ++q;
        }
        if (q >= limit) {
            fail(t, "unterminated uuid");
            return;
        }
        const char* a = start;
        const char* b = q;
        while (a < b && classOf(*a) == kSpace) {
            ++a;
        }
        while (b > a && classOf(b[-1]) == kSpace) {
            --b;
        }
        t.kind = Tok::Guid;
        t.text = std::string_view(a, static_cast<std::size_t>(b - a));
        p_ = q + 1;
    }

    void word(Token& t)
    {
        const char* start = p_;
        const char* q = p_;
        for (;;) {
            while (q < end_ && classOf(*q) == kWord) {
                ++q;
            }
            // A single slash belongs to the word; two start a comment.
            if (q < end_ && *q == '/' && !(q + 1 < end_ && q[1] == '/')) {
                ++q;
                continue;
            }
            break;
        }
        p_ = q;
        t.text = std::string_view(start, static_cast<std::size_t>(q - start));
        const char c = *start;
        if (isDigit(c) || c == '-' || c == '+' || c == '.') {
            if (number(t, start, q)) {
                return;
            }
        }
        t.kind = Tok::Name;
    }

    static bool number(Token& t, const char* s, const char* e)
    {
        const char* q = s;
        bool negative = false;
        if (*q == '-' || *q == '+') {
            negative = (*q == '-');
            ++q;
        }
        const char* digits = q;
        std::uint64_t v = 0;
        bool overflow = false;
        while (q < e && isDigit(*q)) {
            const auto d = static_cast<std::uint64_t>(*q - '0');
            if (v > (std::numeric_limits<std::uint64_t>::max() - d) / 10) {
                overflow = true;
            } else {
                v = v * 10 + d;
            }
            ++q;
        }
        if (q == e && q > digits) {
            t.kind = Tok::Integer;
            constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
            const std::uint64_t m = (overflow || v > kMax) ? kMax : v;
            t.integer = negative ? -static_cast<std::int64_t>(m) : static_cast<std::int64_t>(m);
            t.real = static_cast<double>(t.integer);
            return true;
        }
        const char* f = (*s == '+') ? s + 1 : s;
        double d = 0.0;
        const auto r = std::from_chars(f, e, d, std::chars_format::general);
        if (r.ptr != e) {
            return false;
        }
        if (r.ec == std::errc::result_out_of_range) {
            // Overflow to infinity or underflow to zero, as strtod decides.
            const std::string copy(f, e);
            d = std::strtod(copy.c_str(), nullptr);
        } else if (r.ec != std::errc()) {
            return false;
        }
        t.kind = Tok::Float;
        t.real = d;
        t.integer = 0;
        return true;
    }

    const char* begin_;
    const char* p_;
    const char* end_;
};

} // namespace

std::unique_ptr<Lexer> makeTextLexer(const char* begin, const char* end)
{
    return std::make_unique<TextLexer>(begin, end);
}

} // namespace vorlu::xfile
