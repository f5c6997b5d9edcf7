#pragma once

// Template declarations of the ".x" format: the predeclared standard set and those a file declares.

#include "scene/XLexer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlu::xfile {

// Earlier scalar members an array size can name; more is never seen in practice.
constexpr int kMaxSizeSlots = 16;

struct Dim {
    std::uint32_t fixed = 0;
    int slot = -1; // >= 0: size is the value of an earlier member kept in this slot
};

struct Member {
    Prim prim = Prim::None; // None: a member of template type typeName
    std::string typeName;
    std::string name;
    bool isArray = false;
    std::vector<Dim> dims;
    int slot = -1; // >= 0: an array size refers to this member
};

struct Template {
    enum class Restriction { Closed, Open, Restricted };

    std::string name;
    std::string guid;
    std::vector<Member> members;
    Restriction restriction = Restriction::Closed;
    std::vector<std::string> allowed;
};

class TemplateSet {
public:
    const Template* find(std::string_view name) const;
    // A later declaration of a name replaces the earlier one; earlier pointers stay valid.
    void add(std::shared_ptr<const Template> t);
    std::size_t size() const { return byName_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::vector<std::shared_ptr<const Template>> storage_;
    std::unordered_map<std::string, const Template*, Hash, std::equal_to<>> byName_;
};

// Parses "template Name { <uuid> members... [restriction] }" with the cursor on the keyword.
void parseTemplate(Cursor& cursor, TemplateSet& set);

// The templates every file may use without declaring them.
const TemplateSet& standardTemplates();

} // namespace vorlu::xfile
