#include "xfile_support.h"

#include <gtest/gtest.h>

using vorlu::XFile;
using vorlu::XObject;
using xtest::DataReader;

namespace {

constexpr const char* kScene = R"(xof 0302txt 0032
// A drive part as an exporter writes it.
# hash comments too
Header { 1; 0; 1; }

Material RedPaint {
  1.000000;0.000000;0.000000;0.500000;;
  8.0;
  0.5;0.5;0.5;;
  0.0;0.0;0.0;;
  TextureFilename { "tex\\red part.bmp"; }
}

Frame Frame0Cylinder_a1 {
  FrameTransformMatrix {
    1.0,0.0,0.0,0.0,
    0.0,1.0,0.0,0.0,
    0.0,0.0,1.0,0.0,
    10.5,-2.0,3.25,1.0;;
  }
  Frame 1-body.001 {
    Mesh {   // unnamed
      5;
      0.0;0.0;0.0;,
      1.0;0.0;0.0;,
      1.0;1.0;0.0;,
      0.0;1.0;0.0;,
      0.5;0.5;1.0;;
      2;
      4;0,1,2,3;,
      3;0,1,4;;
      MeshMaterialList {
        1; 2; 0, 0;;
        { RedPaint }
      }
    }
  }
}
)";

TEST(XFileText, ReadsFramesMeshesMaterialsAndReferences)
{
    std::string error;
    auto file = xtest::parse(kScene, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->topLevel().size(), 3u);
    EXPECT_EQ(file->topLevel()[0]->templateName(), "Header");

    const XObject* material = file->topLevel()[1];
    EXPECT_EQ(material->templateName(), "Material");
    EXPECT_EQ(material->name(), "RedPaint");
    ASSERT_EQ(material->data().size(), 11u * 4);
    DataReader m(material->data());
    EXPECT_EQ(m.f32(), 1.0f);
    m.f32();
    m.f32();
    EXPECT_EQ(m.f32(), 0.5f);
    EXPECT_EQ(m.f32(), 8.0f);
    ASSERT_EQ(material->children().size(), 1u);
    EXPECT_TRUE(material->children()[0]->data().empty());
    ASSERT_EQ(material->children()[0]->strings().size(), 1u);
    EXPECT_EQ(material->children()[0]->strings()[0], "tex\\\\red part.bmp");

    const XObject* frame = file->topLevel()[2];
    EXPECT_EQ(frame->templateName(), "Frame");
    EXPECT_EQ(frame->name(), "Frame0Cylinder_a1");
    EXPECT_EQ(frame->templateGuid(), "3D82AB46-62DA-11CF-AB39-0020AF71E433");
    ASSERT_EQ(frame->children().size(), 2u);

    const XObject* matrix = frame->children()[0];
    EXPECT_EQ(matrix->templateName(), "FrameTransformMatrix");
    ASSERT_EQ(matrix->data().size(), 64u);
    DataReader mx(matrix->data());
    for (int i = 0; i < 12; ++i) {
        mx.f32();
    }
    EXPECT_EQ(mx.f32(), 10.5f);
    EXPECT_EQ(mx.f32(), -2.0f);
    EXPECT_EQ(mx.f32(), 3.25f);
    EXPECT_EQ(mx.f32(), 1.0f);

    const XObject* inner = frame->children()[1];
    EXPECT_EQ(inner->name(), "1-body.001");
    ASSERT_EQ(inner->children().size(), 1u);
    const XObject* mesh = inner->children()[0];
    EXPECT_EQ(mesh->templateName(), "Mesh");
    EXPECT_EQ(mesh->name(), "");
    ASSERT_EQ(mesh->data().size(), 4u + 15 * 4 + 4 + (4 + 16) + (4 + 12));
    DataReader d(mesh->data());
    EXPECT_EQ(d.u32(), 5u);
    for (int i = 0; i < 12; ++i) {
        d.f32();
    }
    EXPECT_EQ(d.f32(), 0.5f);
    EXPECT_EQ(d.f32(), 0.5f);
    EXPECT_EQ(d.f32(), 1.0f);
    EXPECT_EQ(d.u32(), 2u);
    const std::uint32_t faces[] = {4, 0, 1, 2, 3, 3, 0, 1, 4};
    for (std::uint32_t f : faces) {
        EXPECT_EQ(d.u32(), f);
    }

    ASSERT_EQ(mesh->children().size(), 1u);
    const XObject* list = mesh->children()[0];
    EXPECT_EQ(list->templateName(), "MeshMaterialList");
    EXPECT_EQ(list->data().size(), 16u);
    ASSERT_EQ(list->children().size(), 1u);
    EXPECT_EQ(list->children()[0], material) << "a reference is the named object itself";
}

// Exporters disagree about separators; all of these spell the same triangle.
TEST(XFileText, SloppySeparatorsGiveTheSameData)
{
    const char* bodies[] = {
        "3;0.0;0.0;0.0;,1.0;0.0;0.0;,0.0;1.0;0.0;;1;3;0,1,2;;",
        "3; 0;0;0; 1;0;0; 0;1;0;; 1; 3;0,1,2;;",
        "3, 0,0,0, 1,0,0, 0,1,0, 1, 3,0,1,2",
        "3;0.0;0.0;0.0;,1.0;0.0;0.0;,0.0;1.0;0.0;,;1;3;0,1,2;,;",
        "3 0 0 0 1 0 0 0 1 0 1 3 0 1 2",
        "3;;;0;0;0;;,,1.;+0e0;.0;,0;1.0e+0;-0;;1;3;0;1;2;;;",
        "3; // count\n 0;0;0;, # first\n 1;0;0;, 0;1;0;; 1; 3; 0, 1, 2;;",
    };
    std::vector<std::uint8_t> expected;
    for (const char* body : bodies) {
        std::string error;
        auto file = xtest::parse(std::string("xof 0303txt 0032 Mesh tri { ") + body + " }", error);
        ASSERT_TRUE(file) << body << ": " << error;
        ASSERT_EQ(file->topLevel().size(), 1u);
        const auto& data = file->topLevel()[0]->data();
        EXPECT_EQ(data.size(), 4u + 36 + 4 + 16) << body;
        if (expected.empty()) {
            expected = data;
        } else {
            std::vector<std::uint8_t> got = data;
            // -0 and 0 differ only in the sign bit.
            EXPECT_EQ(got.size(), expected.size());
            if (got.size() == expected.size()) {
                for (std::size_t i = 0; i < got.size(); i += 4) {
                    float a = 0;
                    float b = 0;
                    std::memcpy(&a, got.data() + i, 4);
                    std::memcpy(&b, expected.data() + i, 4);
                    EXPECT_TRUE(std::memcmp(&a, &b, 4) == 0 || a == b) << body << " at byte " << i;
                }
            }
        }
    }
}

TEST(XFileText, FileDeclaredTemplatesWithAllMemberKinds)
{
    const char* text = R"(xof 0303txt 0032
template Sample {
  <11111111-2222-3333-4444-555555555555>
  WORD w; DOUBLE d; CHAR c; DWORD rows; DWORD cols;
  array FLOAT grid[rows][cols];
  array STRING tags[2];
  Vector v;
  array UCHAR raw[3];
  [ Frame <3D82AB46-62DA-11CF-AB39-0020AF71E433>, Open ]
}
template Open { <22222222-2222-3333-4444-555555555555> DWORD a; [...] }
template Closed { <33333333-2222-3333-4444-555555555555> STRING s; }
Sample s1 {
  7; 0.1; -1; 2; 3;
  1, 2, 3,
  4, 5, 6;;
  "first", "second";
  1.5; 2.5; 3.5;;
  9, 8, 255;
  Open o { 5; Closed { "deep"; } }
}
)";
    std::string error;
    auto file = xtest::parse(text, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->topLevel().size(), 1u);
    const XObject* s = file->topLevel()[0];
    EXPECT_EQ(s->templateName(), "Sample");
    EXPECT_EQ(s->templateGuid(), "11111111-2222-3333-4444-555555555555");
    ASSERT_EQ(s->data().size(), 2u + 8 + 1 + 4 + 4 + 24 + 12 + 3);
    DataReader r(s->data());
    EXPECT_EQ(r.u16(), 7u);
    EXPECT_EQ(r.f64(), 0.1) << "DOUBLE members keep full precision";
    EXPECT_EQ(r.u8(), 0xFFu);
    EXPECT_EQ(r.u32(), 2u);
    EXPECT_EQ(r.u32(), 3u);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(r.f32(), static_cast<float>(i));
    }
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.f32(), 2.5f);
    EXPECT_EQ(r.f32(), 3.5f);
    EXPECT_EQ(r.u8(), 9u);
    EXPECT_EQ(r.u8(), 8u);
    EXPECT_EQ(r.u8(), 255u);
    EXPECT_EQ(s->strings(), (std::vector<std::string>{"first", "second"}));
    ASSERT_EQ(s->children().size(), 1u);
    EXPECT_EQ(s->children()[0]->name(), "o");
    ASSERT_EQ(s->children()[0]->children().size(), 1u);
    EXPECT_EQ(s->children()[0]->children()[0]->strings()[0], "deep");
}

TEST(XFileText, SkinningAndEffectTemplatesArePredeclared)
{
    const char* text = R"(xof 0303txt 0032
Mesh m {
  1; 0;0;0;; 0;
  XSkinMeshHeader { 1; 2; 1; }
  SkinWeights { "Bone01"; 1; 0; 1.0; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  VertexDuplicationIndices { 1; 1; 0; }
  DeclData { 1; 2;0;3;0;; 3; 1,2,3; }
  EffectInstance { "shader.fx"; EffectParamDWord { "Passes"; 2; } }
}
AnimTicksPerSecond { 4800; }
AnimationSet run { Animation { { m } AnimationKey { 0; 1; 0; 4; 1.0, 0.0, 0.0, 1.0;;; } } }
)";
    std::string error;
    auto file = xtest::parse(text, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->topLevel().size(), 3u);
    const XObject* mesh = file->topLevel()[0];
    ASSERT_EQ(mesh->children().size(), 5u);
    EXPECT_EQ(mesh->children()[0]->data().size(), 6u);
    EXPECT_EQ(mesh->children()[1]->strings()[0], "Bone01");
    EXPECT_EQ(mesh->children()[1]->data().size(), 4u + 4 + 4 + 64);
    EXPECT_EQ(mesh->children()[3]->data().size(), 4u + 16 + 4 + 12);
    EXPECT_EQ(mesh->children()[4]->children()[0]->strings()[0], "Passes");
    EXPECT_EQ(file->topLevel()[2]->children()[0]->children()[0], mesh);
}

TEST(XFileText, ReferencesByNameAndUuidForwardAndNested)
{
    const char* text = R"(xof 0303txt 0032
Frame User {
  { Later }
  { Inner <AAAAAAAA-0000-0000-0000-000000000001> }
  { <BBBBBBBB-0000-0000-0000-000000000002> }
}
Frame Holder { Frame Inner { } }
Frame Later { }
Frame ByUuid { <BBBBBBBB-0000-0000-0000-000000000002> }
)";
    std::string error;
    auto file = xtest::parse(text, error);
    ASSERT_TRUE(file) << error;
    const auto& top = file->topLevel();
    ASSERT_EQ(top.size(), 4u);
    ASSERT_EQ(top[0]->children().size(), 3u);
    EXPECT_EQ(top[0]->children()[0], top[2]);
    EXPECT_EQ(top[0]->children()[1], top[1]->children()[0]);
    EXPECT_EQ(top[0]->children()[2], top[3]);
}

// Objects of templates neither standard nor declared are passed over; the rest still loads.
TEST(XFileText, UndeclaredTemplatesAreSkippedWhole)
{
    const char* text = R"(xof 0303txt 0032
VendorInfo info { "exporter"; 3; Frame hidden { { x } } }
Frame Part {
  VendorExtra { 1, 2, 3; }
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
}
)";
    std::string error;
    auto file = xtest::parse(text, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->topLevel().size(), 1u);
    EXPECT_EQ(file->topLevel()[0]->name(), "Part");
    ASSERT_EQ(file->topLevel()[0]->children().size(), 1u);
    EXPECT_EQ(file->topLevel()[0]->children()[0]->templateName(), "FrameTransformMatrix");
}

TEST(XFileText, LargeMeshKeepsEveryValue)
{
    std::string error;
    auto file = xtest::parse(xtest::gridMeshText(60), error);
    ASSERT_TRUE(file) << error;
    const XObject* mesh = file->topLevel()[0]->children()[0];
    DataReader d(mesh->data());
    ASSERT_EQ(d.u32(), 3600u);
    for (int i = 0; i < 3599; ++i) {
        d.f32();
        d.f32();
        d.f32();
    }
    EXPECT_EQ(d.f32(), 59.5f);
    EXPECT_EQ(d.f32(), 59.25f);
    d.f32();
    EXPECT_EQ(d.u32(), 59u * 59u);
    EXPECT_EQ(d.left(), 59u * 59u * 20u);
}

} // namespace
