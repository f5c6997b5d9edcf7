#include "scene/XLexer.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cctype>

namespace vorlu::xfile {

bool Cursor::isKeyword(Tok binaryKind, std::string_view word) const
{
    return cur_.kind == binaryKind || (cur_.kind == Tok::Name && equalsIgnoringCase(cur_.text, word));
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
        if (equalsIgnoringCase(cur_.text, e.word)) {
            return e.prim;
        }
    }
    return Prim::None;
}

} // namespace vorlu::xfile
