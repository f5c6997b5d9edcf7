// Tokens of the binary encoding. Integer and float lists are handed out one value at a time so
// that the parser reads binary data the same way it reads text data.

#include "scene/XLexer.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace vorlu::xfile {
namespace {

static_assert(std::endian::native == std::endian::little, "list values are copied as stored");

enum : std::uint16_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOBrace = 10,
    kCBrace = 11,
    kOParen = 12,
    kCParen = 13,
    kOBracket = 14,
    kCBracket = 15,
    kOAngle = 16,
    kCAngle = 17,
    kDot = 18,
    kComma = 19,
    kSemicolon = 20,
    kTemplate = 31,
    kWord = 40,
    kDword = 41,
    kFloat = 42,
    kDouble = 43,
    kChar = 44,
    kUchar = 45,
    kSword = 46,
    kSdword = 47,
    kVoid = 48,
    kLpstr = 49,
    kUnicode = 50,
    kCstring = 51,
    kArray = 52,
};

class BinaryLexer final : public Lexer {
public:
    BinaryLexer(const std::uint8_t* begin, const std::uint8_t* end, bool doubles)
        : begin_(begin), p_(begin), end_(end), doubles_(doubles)
    {
    }

    void next(Token& t) override
    {
        for (;;) {
            if (listLeft_ > 0) {
                listValue(t);
                return;
            }
            if (p_ == end_) {
                t.kind = Tok::End;
                return;
            }
            std::uint16_t tok = 0;
            if (!read16(tok)) {
                fail(t, "truncated token");
                return;
            }
            switch (tok) {
            case kName:
            case kString: {
                std::uint32_t n = 0;
                if (!read32(n) || n > remaining()) {
                    fail(t, "truncated name or string");
                    return;
                }
                t.kind = (tok == kName) ? Tok::Name : Tok::String;
                t.text = std::string_view(reinterpret_cast<const char*>(p_), n);
                p_ += n;
                if (tok == kString) {
                    skipStringTerminator();
                }
                return;
            }
            case kInteger: {
                std::uint32_t v = 0;
                if (!read32(v)) {
                    fail(t, "truncated integer");
                    return;
                }
                t.kind = Tok::Integer;
                t.integer = v;
                t.real = v;
                t.text = {};
                return;
            }
            case kGuid:
                guid(t);
                return;
            case kIntegerList:
            case kFloatList: {
                std::uint32_t n = 0;
                if (!read32(n)) {
                    fail(t, "truncated list");
                    return;
                }
                listFloats_ = (tok == kFloatList);
                const std::size_t width = listFloats_ && doubles_ ? 8 : 4;
                if (n > remaining() / width) {
                    fail(t, "list longer than the file");
                    return;
                }
                listLeft_ = n;
                continue; // an empty list yields no token
            }
            case kOBrace: punct(t, Tok::OBrace); return;
            case kCBrace: punct(t, Tok::CBrace); return;
            case kOParen: punct(t, Tok::OParen); return;
            case kCParen: punct(t, Tok::CParen); return;
            case kOBracket: punct(t, Tok::OBracket); return;
            case kCBracket: punct(t, Tok::CBracket); return;
            case kOAngle: punct(t, Tok::OAngle); return;
            case kCAngle: punct(t, Tok::CAngle); return;
            case kDot: punct(t, Tok::Dot); return;
            case kComma: punct(t, Tok::Comma); return;
            case kSemicolon: punct(t, Tok::Semicolon); return;
            case kTemplate: punct(t, Tok::Template); return;
            case kArray: punct(t, Tok::Array); return;
            case kWord: prim(t, Prim::Word); return;
            case kDword: prim(t, Prim::Dword); return;
            case kFloat: prim(t, Prim::Float); return;
            case kDouble: prim(t, Prim::Double); return;
            case kChar: prim(t, Prim::Char); return;
            case kUchar: prim(t, Prim::Uchar); return;
            case kSword: prim(t, Prim::Sword); return;
            case kSdword: prim(t, Prim::Sdword); return;
            case kLpstr:
            case kUnicode:
            case kCstring: prim(t, Prim::String); return;
            case kVoid:
            default:
                fail(t, "unknown binary token");
                return;
            }
        }
    }

    std::size_t remaining() const override { return static_cast<std::size_t>(end_ - p_); }

    std::string where() const override
    {
        char buf[40];
        std::snprintf(buf, sizeof buf, "offset %zu", static_cast<std::size_t>(p_ - begin_));
        return buf;
    }

private:
    bool read16(std::uint16_t& v)
    {
        if (remaining() < 2) {
            return false;
        }
        v = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        p_ += 2;
        return true;
    }

    bool read32(std::uint32_t& v)
    {
        if (remaining() < 4) {
            return false;
        }
        v = static_cast<std::uint32_t>(p_[0]) | (static_cast<std::uint32_t>(p_[1]) << 8) |
            (static_cast<std::uint32_t>(p_[2]) << 16) | (static_cast<std::uint32_t>(p_[3]) << 24);
        p_ += 4;
        return true;
    }

    // A string ends in a comma or semicolon, written as a WORD by some writers and as a DWORD
    // by others; 0 is no token, so the high half of a DWORD is told apart safely.
    void skipStringTerminator()
    {
        std::uint16_t v = 0;
        if (peek16(v) && (v == kComma || v == kSemicolon)) {
            p_ += 2;
            if (peek16(v) && v == 0) {
                p_ += 2;
            }
        }
    }

    bool peek16(std::uint16_t& v) const
    {
        if (remaining() < 2) {
            return false;
        }
        v = static_cast<std::uint16_t>(p_[0] | (p_[1] << 8));
        return true;
    }

    void listValue(Token& t)
    {
        // The list length was checked against the input when the list began.
        --listLeft_;
        t.text = {};
        if (!listFloats_) {
            std::uint32_t v = 0;
            read32(v);
            t.kind = Tok::Integer;
            t.integer = v;
            t.real = v;
            return;
        }
        t.kind = Tok::Float;
        t.integer = 0;
        if (doubles_) {
            double d = 0;
            std::memcpy(&d, p_, sizeof d); // little-endian host
            p_ += sizeof d;
            t.real = d;
        } else {
            float f = 0;
            std::memcpy(&f, p_, sizeof f);
            p_ += sizeof f;
            t.real = f;
        }
    }

    void guid(Token& t)
    {
        if (remaining() < 16) {
            fail(t, "truncated uuid");
            return;
        }
        const std::uint8_t* g = p_;
        std::snprintf(guidText_, sizeof guidText_,
                      "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                      g[3], g[2], g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12],
                      g[13], g[14], g[15]);
        p_ += 16;
        t.kind = Tok::Guid;
        t.text = std::string_view(guidText_, 36);
    }

    void punct(Token& t, Tok kind)
    {
        t.kind = kind;
        t.text = {};
    }

    void prim(Token& t, Prim p)
    {
        t.kind = Tok::Primitive;
        t.prim = p;
        t.text = {};
    }

    void fail(Token& t, const char* why)
    {
        t.kind = Tok::Error;
        error_ = why;
    }

    const std::uint8_t* begin_;
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    bool doubles_;
    std::uint32_t listLeft_ = 0;
    bool listFloats_ = false;
    char guidText_[40] = {};
};

} // namespace

std::unique_ptr<Lexer> makeBinaryLexer(const std::uint8_t* begin, const std::uint8_t* end, bool doubles)
{
    return std::make_unique<BinaryLexer>(begin, end, doubles);
}

} // namespace vorlu::xfile
