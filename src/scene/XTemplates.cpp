#include "scene/XTemplates.h"

#include <limits>
#include <string_view>
#include <unordered_map>

namespace vorlu::xfile {
namespace {

std::string nameOf(const Cursor& c)
{
    return std::string(c.tok().text);
}

void parseRestriction(Cursor& c, Template& t)
{
    c.advance(); // '['
    bool open = false;
    while (c.kind() == Tok::Dot || (c.kind() == Tok::Name && c.tok().text.find_first_not_of('.') == std::string_view::npos)) {
        open = true;
        c.advance();
    }
    if (open) {
        t.restriction = Template::Restriction::Open;
        c.expect(Tok::CBracket, "']' after '...'");
        return;
    }
    while (c.kind() != Tok::CBracket) {
        if (c.kind() == Tok::Name || c.kind() == Tok::Primitive) {
            t.allowed.push_back(nameOf(c));
            c.advance();
            if (c.kind() == Tok::Guid) {
                c.advance();
            }
        } else if (c.kind() == Tok::Comma) {
            c.advance();
        } else {
            c.fail("expected a template name in the restriction of '" + t.name + "'");
        }
    }
    c.advance();
    t.restriction = t.allowed.empty() ? Template::Restriction::Closed : Template::Restriction::Restricted;
}

// Members of the template being declared, by name (the first of a name wins): a size lookup
// per array must not scan every earlier member.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using MemberIndex = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;

// An array size names an earlier scalar member; give that member a slot to keep its value in.
int sizeSlot(Cursor& c, Template& t, const MemberIndex& index, std::string_view ref, int& slots)
{
    const auto it = index.find(ref);
    if (it == index.end()) {
        c.fail("array size '" + std::string(ref) + "' is not an earlier member of '" + t.name + "'");
    }
    Member& m = t.members[it->second];
    if (m.isArray || m.prim == Prim::None || m.prim == Prim::String) {
        c.fail("array size '" + std::string(ref) + "' is not a number member");
    }
    if (m.slot < 0) {
        if (slots >= kMaxSizeSlots) {
            c.fail("too many array sizes in template '" + t.name + "'");
        }
        m.slot = slots++;
    }
    return m.slot;
}

void parseMember(Cursor& c, Template& t, MemberIndex& index, int& slots)
{
    Member m;
    if (c.isKeyword(Tok::Array, "array")) {
        m.isArray = true;
        c.advance();
    }
    m.prim = c.primitive();
    if (m.prim == Prim::None) {
        if (c.kind() != Tok::Name) {
            c.fail("expected a member type in template '" + t.name + "'");
        }
        m.typeName = nameOf(c);
    }
    c.advance();
    if (c.kind() == Tok::Name) {
        m.name = nameOf(c);
        c.advance();
    }
    while (c.kind() == Tok::OBracket) {
        c.advance();
        Dim d;
        if (c.kind() == Tok::Integer) {
            const std::int64_t v = c.tok().integer;
            if (v < 0 || v > std::numeric_limits<std::uint32_t>::max()) {
                c.fail("bad array size");
            }
            d.fixed = static_cast<std::uint32_t>(v);
        } else if (c.kind() == Tok::Name) {
            d.slot = sizeSlot(c, t, index, c.tok().text, slots);
        } else {
            c.fail("expected an array size");
        }
        c.advance();
        c.expect(Tok::CBracket, "']'");
        m.dims.push_back(d);
    }
    if (m.isArray != !m.dims.empty()) {
        c.fail(m.isArray ? "array member without a size" : "size on a member that is not an array");
    }
    if (!c.isSeparator() && c.kind() != Tok::CBrace && c.kind() != Tok::OBracket) {
        c.fail("expected ';' after member '" + m.name + "'");
    }
    c.skipSeparators();
    if (!m.name.empty()) {
        index.emplace(m.name, t.members.size());
    }
    t.members.push_back(std::move(m));
}

// The declarations of the DirectX retained-mode and skinning templates.
constexpr const char* kStandardTemplates = R"(
template Header { <3D82AB43-62DA-11CF-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }
template Vector { <3D82AB5E-62DA-11CF-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { <F6F23F44-7686-11CF-8F52-0040333594A3> FLOAT u; FLOAT v; }
template Matrix4x4 { <F6F23F45-7686-11CF-8F52-0040333594A3> array FLOAT matrix[16]; }
template ColorRGBA { <35FF44E0-6C7C-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { <D3E16E81-7835-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { <1630B820-7842-11CF-8F52-0040333594A3> DWORD index; ColorRGBA indexColor; }
template Boolean { <4885AE61-78E8-11CF-8F52-0040333594A3> WORD truefalse; }
template Boolean2d { <4885AE63-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template MaterialWrap { <4885AE60-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template TextureFilename { <A42790E1-7810-11CF-8F52-0040333594A3> STRING filename; }
template Material { <3D82AB4D-62DA-11CF-AB39-0020AF71E433>
  ColorRGBA faceColor; FLOAT power; ColorRGB specularColor; ColorRGB emissiveColor; [...] }
template MeshFace { <3D82AB5F-62DA-11CF-AB39-0020AF71E433>
  DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshFaceWraps { <4885AE62-78E8-11CF-8F52-0040333594A3>
  DWORD nFaceWrapValues; array Boolean2d faceWrapValues[nFaceWrapValues]; }
template MeshTextureCoords { <F6F23F40-7686-11CF-8F52-0040333594A3>
  DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshMaterialList { <F6F23F42-7686-11CF-8F52-0040333594A3>
  DWORD nMaterials; DWORD nFaceIndexes; array DWORD faceIndexes[nFaceIndexes];
  [Material <3D82AB4D-62DA-11CF-AB39-0020AF71E433>] }
template MeshNormals { <F6F23F43-7686-11CF-8F52-0040333594A3>
  DWORD nNormals; array Vector normals[nNormals]; DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }
template MeshVertexColors { <1630B821-7842-11CF-8F52-0040333594A3>
  DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template Mesh { <3D82AB44-62DA-11CF-AB39-0020AF71E433>
  DWORD nVertices; array Vector vertices[nVertices]; DWORD nFaces; array MeshFace faces[nFaces]; [...] }
template FrameTransformMatrix { <F6F23F41-7686-11CF-8F52-0040333594A3> Matrix4x4 frameMatrix; }
template Frame { <3D82AB46-62DA-11CF-AB39-0020AF71E433> [...] }
template FloatKeys { <10DD46A9-775B-11CF-8F52-0040333594A3> DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { <F406B180-7B3B-11CF-8F52-0040333594A3> DWORD time; FloatKeys tfkeys; }
template AnimationKey { <10DD46A8-775B-11CF-8F52-0040333594A3>
  DWORD keyType; DWORD nKeys; array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { <E2BF56C0-840F-11CF-8F52-0040333594A3> DWORD openclosed; DWORD positionquality; }
template Animation { <3D82AB4F-62DA-11CF-AB39-0020AF71E433> [...] }
template AnimationSet { <3D82AB50-62DA-11CF-AB39-0020AF71E433> [Animation <3D82AB4F-62DA-11CF-AB39-0020AF71E433>] }
template AnimTicksPerSecond { <9E415A43-7BA6-4A73-8743-B73D47E88476> DWORD AnimTicksPerSecond; }
template InlineData { <3A23EEA0-94B1-11D0-AB39-0020AF71E433> [BINARY] }
template Url { <3A23EEA1-94B1-11D0-AB39-0020AF71E433> DWORD nUrls; array STRING urls[nUrls]; }
template ProgressiveMesh { <8A63C360-997D-11D0-941C-0080C80CFA7B> [Url, InlineData] }
template Guid { <A42790E0-7810-11CF-8F52-0040333594A3> DWORD data1; WORD data2; WORD data3; array UCHAR data4[8]; }
template StringProperty { <7F0F21E0-BFE1-11D1-82C0-00A0C9697271> STRING key; STRING value; }
template PropertyBag { <7F0F21E1-BFE1-11D1-82C0-00A0C9697271> [StringProperty] }
template ExternalVisual { <98116AA0-BDBA-11D1-82C0-00A0C9697271> Guid guidExternalVisual; [...] }
template RightHanded { <7F5D5EA0-D53A-11D1-82C0-00A0C9697271> DWORD bRightHanded; }
template XSkinMeshHeader { <3CF169CE-FF7C-44AB-93C0-F78F62D172E2>
  WORD nMaxSkinWeightsPerVertex; WORD nMaxSkinWeightsPerFace; WORD nBones; }
template VertexDuplicationIndices { <B8D65549-D7C9-4995-89CF-53A9A8B031E3>
  DWORD nIndices; DWORD nOriginalVertices; array DWORD indices[nIndices]; }
template FaceAdjacency { <A64C844A-E282-4756-8B80-250CDE04398C> DWORD nIndices; array DWORD indices[nIndices]; }
template SkinWeights { <6F0D123B-BAD2-4167-A0D0-80224F25FABB>
  STRING transformNodeName; DWORD nWeights; array DWORD vertexIndices[nWeights]; array FLOAT weights[nWeights];
  Matrix4x4 matrixOffset; }
template Patch { <A3EB5D44-FC22-429D-9AFB-3221CB9719A6> DWORD nControlIndices; array DWORD controlIndices[nControlIndices]; }
template PatchMesh { <D02C95CC-EDBA-4305-9B5D-1820D7704BDD>
  DWORD nVertices; array Vector vertices[nVertices]; DWORD nPatches; array Patch patches[nPatches]; [...] }
template PatchMesh9 { <B9EC94E1-B9A6-4251-BA18-94893F02C0EA>
  DWORD Type; DWORD Degree; DWORD Basis; DWORD nVertices; array Vector vertices[nVertices];
  DWORD nPatches; array Patch patches[nPatches]; [...] }
template EffectFloats { <F1CFE2B3-0DE3-4E28-AFA1-155A750A282D> DWORD nFloats; array FLOAT Floats[nFloats]; }
template EffectString { <D55B097E-BDB6-4C52-B03D-6051C89D0E42> STRING Value; }
template EffectDWord { <622C0ED0-956E-4DA9-908A-2AF94F3CE716> DWORD Value; }
template EffectParamFloats { <3014B9A0-62F5-478C-9B86-E4AC9F4E418B>
  STRING ParamName; DWORD nFloats; array FLOAT Floats[nFloats]; }
template EffectParamString { <1DBC4C88-94C1-46EE-9076-2C28818C9481> STRING ParamName; STRING Value; }
template EffectParamDWord { <E13963BC-AE51-4C5D-B00F-CFA3A9D97CE5> STRING ParamName; DWORD Value; }
template EffectInstance { <E331F7E4-0559-4CC2-8E99-1CEC1657928F> STRING EffectFilename; [...] }
template VertexElement { <F752461C-1E23-48F6-B9F8-8350850F336F>
  DWORD Type; DWORD Method; DWORD Usage; DWORD UsageIndex; }
template DeclData { <BF22E553-292C-4781-9FEA-62BD554BDD93>
  DWORD nElements; array VertexElement Elements[nElements]; DWORD nDWords; array DWORD data[nDWords]; }
template FVFData { <B6E70A0E-8EF9-4E83-94AD-ECC8B0C04897> DWORD dwFVF; DWORD nDWords; array DWORD data[nDWords]; }
template CompressedAnimationSet { <7F9B00B3-F125-4890-876E-1C42BF697C4D>
  DWORD CompressedBlockSize; FLOAT TicksPerSec; DWORD PlaybackType; DWORD BufferLength;
  array DWORD CompressedData[BufferLength]; }
)";

TemplateSet buildStandard()
{
    TemplateSet set;
    const char* text = kStandardTemplates;
    const std::unique_ptr<Lexer> lexer = makeTextLexer(text, text + std::char_traits<char>::length(text));
    Cursor c(*lexer);
    while (c.kind() != Tok::End) {
        parseTemplate(c, set);
    }
    return set;
}

} // namespace

const Template* TemplateSet::find(std::string_view name) const
{
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void TemplateSet::add(std::shared_ptr<const Template> t)
{
    byName_[t->name] = t.get();
    storage_.push_back(std::move(t));
}

void parseTemplate(Cursor& c, TemplateSet& set)
{
    c.advance(); // "template"
    if (c.kind() != Tok::Name) {
        c.fail("expected a template name");
    }
    auto t = std::make_shared<Template>();
    t->name = nameOf(c);
    c.advance();
    c.expect(Tok::OBrace, "'{' after the template name");
    if (c.kind() == Tok::Guid) {
        t->guid = nameOf(c);
        c.advance();
    }
    int slots = 0;
    MemberIndex index;
    for (;;) {
        if (c.kind() == Tok::CBrace) {
            break;
        }
        if (c.kind() == Tok::OBracket) {
            parseRestriction(c, *t);
            c.skipSeparators();
            if (c.kind() != Tok::CBrace) {
                c.fail("expected '}' after the restriction of '" + t->name + "'");
            }
            break;
        }
        parseMember(c, *t, index, slots);
    }
    c.advance();
    set.add(std::move(t));
}

const TemplateSet& standardTemplates()
{
    static const TemplateSet set = buildStandard();
    return set;
}

} // namespace vorlu::xfile
