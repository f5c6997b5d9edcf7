#pragma once

// Grammar of ".x" data: templates, data objects, their member data and references. Works on the
// tokens of either encoding and fills an XFile.

#include "scene/XFile.h"
#include "scene/XLexer.h"
#include "scene/XTemplates.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorlu {

class XParser {
public:
    // inputSize: bytes of the token stream; sets the limits on work and on reference expansion.
    XParser(xfile::Lexer& lexer, XFile& file, std::size_t inputSize);

    // Throws xfile::ParseError.
    void run();

private:
    struct Reference {
        XObject* holder;
        std::size_t index;
        std::string name;
        std::string guid;
    };

    XObject* parseObject(int depth);
    void skipObjectBody();
    void parseReference(XObject& holder);
    void readMembers(const xfile::Template& t, XObject& out, int nesting);
    std::uint64_t readScalar(xfile::Prim prim, XObject& out);
    const xfile::Template& memberType(const xfile::Member& m) const;
    void resolveReferences();
    void checkGraph() const;

    xfile::Cursor cursor_;
    XFile& file_;
    xfile::TemplateSet templates_;
    std::vector<Reference> references_;
    std::unordered_map<std::string, XObject*> byName_;
    std::unordered_map<std::string, XObject*> byGuid_;
    std::size_t inputSize_;
    std::uint64_t work_ = 0;
    std::uint64_t workLimit_;
};

} // namespace vorlu
