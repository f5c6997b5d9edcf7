#include "scene/XParser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vorlu {

using xfile::Member;
using xfile::ParseError;
using xfile::Prim;
using xfile::Template;
using xfile::Tok;
using xfile::Token;

namespace {

// Deeper object trees than this are damage, not models; it also bounds the recursion.
constexpr int kMaxDepth = 256;
// Templates containing templates; catches templates that contain themselves.
constexpr int kMaxMemberNesting = 32;

template <class T>
void put(std::vector<std::uint8_t>& out, T value)
{
    const std::size_t n = out.size();
    out.resize(n + sizeof value);
    std::memcpy(out.data() + n, &value, sizeof value);
}

std::int64_t toInteger(const Token& t)
{
    if (t.kind == Tok::Integer) {
        return t.integer;
    }
    const double d = t.real;
    if (std::isnan(d)) {
        return 0;
    }
    if (d >= 9.2e18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (d <= -9.2e18) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(d);
}

float toFloat(double d)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    if (d > kMax) {
        return std::numeric_limits<float>::infinity();
    }
    if (d < -kMax) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(d);
}

} // namespace

XParser::XParser(xfile::Lexer& lexer, XFile& file, std::size_t inputSize)
    : cursor_(lexer),
      file_(file),
      templates_(xfile::standardTemplates()),
      inputSize_(inputSize),
      workLimit_(32 * static_cast<std::uint64_t>(inputSize) + 4096)
{
}

void XParser::run()
{
    auto& c = cursor_;
    while (c.kind() != Tok::End) {
        if (c.isKeyword(Tok::Template, "template")) {
            xfile::parseTemplate(c, templates_);
        } else if (c.kind() == Tok::Name) {
            if (XObject* o = parseObject(0)) {
                file_.topLevel_.push_back(o);
            }
        } else if (c.isSeparator()) {
            c.advance();
        } else {
            c.fail("expected a template or a data object");
        }
    }
    resolveReferences();
    checkGraph();
}

XObject* XParser::parseObject(int depth)
{
    auto& c = cursor_;
    if (depth >= kMaxDepth) {
        c.fail("objects nested too deeply");
    }
    std::string typeName(c.tok().text);
    c.advance();
    std::string name;
    std::string guid;
    if (c.isName()) {
        name = c.tok().text;
        c.advance();
    }
    if (c.kind() == Tok::Guid) {
        guid = c.tok().text;
        c.advance();
    }
    c.expect(Tok::OBrace, ("'{' after '" + typeName + "'").c_str());
    if (c.kind() == Tok::Guid) {
        guid = c.tok().text;
        c.advance();
    }
    const Template* t = templates_.find(typeName);
    if (!t) {
        // Exporters add private templates without declaring them; such objects carry nothing
        // this reader's users need, so they are passed over whole.
        skipObjectBody();
        return nullptr;
    }

    file_.objects_.push_back(std::unique_ptr<XObject>(new XObject));
    XObject* o = file_.objects_.back().get();
    o->index_ = file_.objects_.size() - 1;
    o->templateName_ = t->name;
    o->templateGuid_ = t->guid;
    o->name_ = std::move(name);
    o->guid_ = std::move(guid);
    if (!o->name_.empty()) {
        byName_.emplace(o->name_, o);
    }
    if (!o->guid_.empty()) {
        byGuid_.emplace(o->guid_, o);
    }

    readMembers(*t, *o, 0);

    for (;;) {
        c.skipSeparators();
        if (c.kind() == Tok::CBrace) {
            c.advance();
            break;
        }
        if (c.kind() == Tok::OBrace) {
            parseReference(*o);
        } else if (c.isKeyword(Tok::Template, "template")) {
            xfile::parseTemplate(c, templates_);
        } else if (c.kind() == Tok::Name) {
            if (XObject* child = parseObject(depth + 1)) {
                o->children_.push_back(child);
            }
        } else {
            c.fail("expected '}', a child object or a reference in '" + o->templateName_ + "'");
        }
    }
    return o;
}

void XParser::skipObjectBody()
{
    auto& c = cursor_;
    std::size_t open = 1;
    while (open > 0) {
        if (c.kind() == Tok::End) {
            c.fail("unterminated object");
        }
        if (c.kind() == Tok::OBrace) {
            ++open;
        } else if (c.kind() == Tok::CBrace) {
            --open;
        }
        c.advance();
    }
}

void XParser::parseReference(XObject& holder)
{
    auto& c = cursor_;
    c.advance(); // '{'
    Reference r{&holder, holder.children_.size(), {}, {}};
    if (c.isName()) {
        r.name = c.tok().text;
        c.advance();
    }
    if (c.kind() == Tok::Guid) {
        r.guid = c.tok().text;
        c.advance();
    }
    if (r.name.empty() && r.guid.empty()) {
        c.fail("expected a name in a reference");
    }
    c.expect(Tok::CBrace, "'}' after a reference");
    holder.children_.push_back(nullptr);
    references_.push_back(std::move(r));
}

const Template& XParser::memberType(const Member& m) const
{
    const Template* t = templates_.find(m.typeName);
    if (!t) {
        cursor_.fail("unknown template '" + m.typeName + "' of member '" + m.name + "'");
    }
    return *t;
}

void XParser::readMembers(const Template& t, XObject& out, int nesting)
{
    auto& c = cursor_;
    if (nesting > kMaxMemberNesting) {
        c.fail("templates nested too deeply in '" + t.name + "'");
    }
    // Members that read nothing from the input (empty templates, zero-sized arrays) still cost
    // time; the budget keeps that proportional to the input.
    if (++work_ > workLimit_) {
        c.fail("data larger than the file can hold");
    }
    std::uint64_t sizes[xfile::kMaxSizeSlots] = {};
    for (const Member& m : t.members) {
        if (!m.isArray) {
            if (m.prim != Prim::None) {
                const std::uint64_t v = readScalar(m.prim, out);
                if (m.slot >= 0) {
                    sizes[m.slot] = v;
                }
            } else {
                readMembers(memberType(m), out, nesting + 1);
            }
            continue;
        }
        std::uint64_t count = 1;
        for (const xfile::Dim& d : m.dims) {
            const std::uint64_t n = d.slot >= 0 ? sizes[d.slot] : d.fixed;
            count = (n != 0 && count > std::numeric_limits<std::uint64_t>::max() / n) ? std::numeric_limits<std::uint64_t>::max() : count * n;
        }
        // Every element takes at least one byte of input; more elements than bytes is damage.
        if (count > c.remaining() + 1) {
            c.fail("array '" + m.name + "' of " + std::to_string(count) + " elements is larger than the file");
        }
        if (m.prim != Prim::None) {
            for (std::uint64_t i = 0; i < count; ++i) {
                readScalar(m.prim, out);
            }
        } else if (count > 0) {
            const Template& element = memberType(m);
            for (std::uint64_t i = 0; i < count; ++i) {
                readMembers(element, out, nesting + 1);
            }
        }
    }
}

std::uint64_t XParser::readScalar(Prim prim, XObject& out)
{
    auto& c = cursor_;
    c.skipSeparators();
    const Token& t = c.tok();
    if (prim == Prim::String) {
        if (t.kind != Tok::String && t.kind != Tok::Name) {
            c.fail("expected a string");
        }
        out.strings_.emplace_back(t.text);
        c.advance();
        return 0;
    }
    if (t.kind != Tok::Integer && t.kind != Tok::Float) {
        c.fail("expected a number");
    }
    std::uint64_t value = 0;
    switch (prim) {
    case Prim::Float:
        put(out.data_, toFloat(t.real));
        value = static_cast<std::uint64_t>(toInteger(t));
        break;
    case Prim::Double:
        put(out.data_, t.real);
        value = static_cast<std::uint64_t>(toInteger(t));
        break;
    case Prim::Word:
    case Prim::Sword: {
        const auto v = static_cast<std::uint16_t>(toInteger(t));
        put(out.data_, v);
        value = v;
        break;
    }
    case Prim::Char:
    case Prim::Uchar: {
        const auto v = static_cast<std::uint8_t>(toInteger(t));
        put(out.data_, v);
        value = v;
        break;
    }
    default: {
        const auto v = static_cast<std::uint32_t>(toInteger(t));
        put(out.data_, v);
        value = v;
        break;
    }
    }
    c.advance();
    return value;
}

void XParser::resolveReferences()
{
    for (const Reference& r : references_) {
        XObject* target = nullptr;
        if (!r.name.empty()) {
            const auto it = byName_.find(r.name);
            target = it == byName_.end() ? nullptr : it->second;
        }
        if (!target && !r.guid.empty()) {
            const auto it = byGuid_.find(r.guid);
            target = it == byGuid_.end() ? nullptr : it->second;
        }
        if (!target) {
            throw ParseError{"unresolved reference to '" + (r.name.empty() ? r.guid : r.name) + "'"};
        }
        r.holder->children_[r.index] = target;
    }
}

// References turn the tree into a graph. Its users walk it recursively, so it must be acyclic,
// not too deep, and not blow up (a chain of objects each referring twice to the next).
void XParser::checkGraph() const
{
    const auto& objects = file_.objects_;
    const std::uint64_t cap = 4 * static_cast<std::uint64_t>(inputSize_) + 65536;
    std::vector<std::uint8_t> state(objects.size(), 0); // 0 new, 1 on the path, 2 done
    std::vector<int> depth(objects.size(), 0);
    std::vector<std::uint64_t> size(objects.size(), 0);
    struct Step {
        const XObject* o;
        std::size_t next;
    };
    std::vector<Step> path;
    for (const auto& root : objects) {
        if (state[root->index_] != 0) {
            continue;
        }
        state[root->index_] = 1;
        path.push_back({root.get(), 0});
        while (!path.empty()) {
            Step& s = path.back();
            if (s.next < s.o->children_.size()) {
                const XObject* child = s.o->children_[s.next++];
                if (state[child->index_] == 1) {
                    throw ParseError{"reference cycle through '" + child->name_ + "'"};
                }
                if (state[child->index_] == 0) {
                    state[child->index_] = 1;
                    path.push_back({child, 0});
                }
                continue;
            }
            int d = 0;
            std::uint64_t n = 1;
            for (const XObject* child : s.o->children_) {
                d = std::max(d, depth[child->index_]);
                n = std::min(cap + 1, n + size[child->index_]);
            }
            if (d + 1 > kMaxDepth) {
                throw ParseError{"references nest objects too deeply"};
            }
            depth[s.o->index_] = d + 1;
            size[s.o->index_] = n;
            state[s.o->index_] = 2;
            path.pop_back();
        }
    }
    std::uint64_t total = 0;
    for (const XObject* o : file_.topLevel_) {
        total = std::min(cap + 1, total + size[o->index_]);
    }
    if (total > cap) {
        throw ParseError{"references expand to too many objects"};
    }
}

} // namespace vorlu
