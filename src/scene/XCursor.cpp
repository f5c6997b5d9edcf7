#include "scene/XLexer.h"

#include <algorithm>
#include <cctype>

namespace vorlu::xfile {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool Cursor::isKeyword(Tok binaryKind, std::string_view word) const
{
    return cur_.kind == binaryKind || (cur_.kind == Tok::Name && equalsNoCase(cur_.text, word));
}

Prim Cursor::primitive() const
{
    if (cur_.kind == Tok::Primitive) {
        return cur_.prim;
    }
    if (cur_.kind != Tok::Name || cur_.text.size() > 9) {
        return Prim::None;
    }
    struct Entry {
        std::string_view word;
        Prim prim;
    };
    static constexpr Entry kWords[] = {
        {"WORD", Prim::Word},     {"DWORD", Prim::Dword},   {"FLOAT", Prim::Float},
        {"DOUBLE", Prim::Double}, {"CHAR", Prim::Char},     {"UCHAR", Prim::Uchar},
        {"BYTE", Prim::Uchar},    {"SWORD", Prim::Sword},   {"SDWORD", Prim::Sdword},
        {"STRING", Prim::String}, {"LPSTR", Prim::String},  {"CSTRING", Prim::String},
        {"UNICODE", Prim::String},
    };
    for (const Entry& e : kWords) {
        if (equalsNoCase(cur_.text, e.word)) {
            return e.prim;
        }
    }
    return Prim::None;
}

} // namespace vorlu::xfile
