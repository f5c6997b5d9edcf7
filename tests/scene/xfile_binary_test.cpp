#include "xfile_support.h"

#include <gtest/gtest.h>

using vorlu::XFile;
using vorlu::XObject;
using xtest::DataReader;
using xtest::TokenWriter;

namespace {

constexpr const char* kTextScene = R"(xof 0303txt 0032
Material Blue { 0.0;0.0;1.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "blue.png"; } }
Frame Frame0Tray_b2 {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 4,5,6,1;; }
  Mesh Tray {
    4; 0;0;0;, 2;0;0;, 2;1;0;, 0;1;0;;
    1; 4;0,1,2,3;;
    MeshMaterialList { 1; 1; 0;; { Blue } }
  }
}
)";

// The same scene in the binary encoding, as a writer emits it: lists for data, names, braces.
TokenWriter binaryScene(bool doubles, bool dwordStringEnd = false)
{
    TokenWriter w(doubles);
    w.name("Material").name("Blue").tok(xtest::kOBrace);
    w.floats({0, 0, 1, 1, 5, 0, 0, 0, 0, 0, 0});
    w.name("TextureFilename").tok(xtest::kOBrace).str("blue.png", dwordStringEnd).tok(xtest::kCBrace);
    w.tok(xtest::kCBrace);
    w.name("Frame").name("Frame0Tray_b2").tok(xtest::kOBrace);
    w.name("FrameTransformMatrix").tok(xtest::kOBrace);
    w.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 1});
    w.tok(xtest::kCBrace);
    w.name("Mesh").name("Tray").tok(xtest::kOBrace);
    w.ints({4}).floats({0, 0, 0, 2, 0, 0, 2, 1, 0, 0, 1, 0}).ints({1, 4, 0, 1, 2, 3});
    w.name("MeshMaterialList").tok(xtest::kOBrace).ints({1, 1, 0});
    w.tok(xtest::kOBrace).name("Blue").tok(xtest::kCBrace);
    w.tok(xtest::kCBrace);
    w.tok(xtest::kCBrace).tok(xtest::kCBrace);
    return w;
}

void expectSameTree(const XObject* a, const XObject* b, int depth = 0)
{
    ASSERT_LT(depth, 20);
    EXPECT_EQ(a->templateName(), b->templateName());
    EXPECT_EQ(a->name(), b->name());
    EXPECT_EQ(a->data(), b->data()) << a->templateName() << " " << a->name();
    EXPECT_EQ(a->strings(), b->strings());
    ASSERT_EQ(a->children().size(), b->children().size());
    for (std::size_t i = 0; i < a->children().size(); ++i) {
        expectSameTree(a->children()[i], b->children()[i], depth + 1);
    }
}

void expectSameFile(const XFile& a, const XFile& b)
{
    ASSERT_EQ(a.topLevel().size(), b.topLevel().size());
    for (std::size_t i = 0; i < a.topLevel().size(); ++i) {
        expectSameTree(a.topLevel()[i], b.topLevel()[i]);
    }
}

std::unique_ptr<XFile> textScene()
{
    std::string error;
    auto file = xtest::parse(kTextScene, error);
    EXPECT_TRUE(file) << error;
    return file;
}

TEST(XFileBinary, ReadsTheSameObjectsAsText)
{
    auto text = textScene();
    ASSERT_TRUE(text);
    for (int variant = 0; variant < 3; ++variant) {
        std::string error;
        auto bin = xtest::parse(binaryScene(variant == 1, variant == 2).file(), error);
        ASSERT_TRUE(bin) << "variant " << variant << ": " << error;
        expectSameFile(*text, *bin);
        const XObject* list = bin->topLevel()[1]->children()[1]->children()[0];
        EXPECT_EQ(list->children()[0], bin->topLevel()[0]);
    }
}

TEST(XFileBinary, DeclaredTemplateWithDoublesAndSizedArrays)
{
    TokenWriter w(true);
    // template Pair { <guid> DWORD n; array FLOAT v[n]; DOUBLE precise; [...] }
    w.tok(xtest::kTemplate).name("Pair").tok(xtest::kOBrace);
    w.guid(0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8});
    w.tok(xtest::kDword).name("n").tok(xtest::kSemicolon);
    w.tok(xtest::kArray).tok(xtest::kFloat).name("v").tok(xtest::kOBracket).name("n").tok(xtest::kCBracket);
    w.tok(xtest::kSemicolon);
    w.tok(xtest::kDouble).name("precise").tok(xtest::kSemicolon);
    w.tok(xtest::kOBracket).tok(xtest::kDot).tok(xtest::kDot).tok(xtest::kDot).tok(xtest::kCBracket);
    w.tok(xtest::kCBrace);
    w.name("Pair").name("p").tok(xtest::kOBrace).ints({2}).floats({0.1, 0.2, 0.1});
    w.name("Frame").tok(xtest::kOBrace).tok(xtest::kCBrace);
    w.tok(xtest::kCBrace);

    std::string error;
    auto file = xtest::parse(w.file(), error);
    ASSERT_TRUE(file) << error;
    const XObject* p = file->topLevel()[0];
    EXPECT_EQ(p->templateGuid(), "12345678-9ABC-DEF0-0102-030405060708");
    ASSERT_EQ(p->data().size(), 4u + 8 + 8);
    DataReader r(p->data());
    EXPECT_EQ(r.u32(), 2u);
    EXPECT_EQ(r.f32(), 0.1f) << "64-bit file floats are narrowed for FLOAT members";
    EXPECT_EQ(r.f32(), 0.2f);
    EXPECT_EQ(r.f64(), 0.1) << "and kept whole for DOUBLE members";
    ASSERT_EQ(p->children().size(), 1u);
    EXPECT_EQ(p->children()[0]->templateName(), "Frame");
}

TEST(XFileMszip, CompressedTextAndBinaryReadLikeTheirPlainForms)
{
    // Several blocks, so every block after the first needs the history of the previous ones.
    const std::string grid = xtest::gridMeshText(70);
    ASSERT_GT(grid.size(), 3u * 32768);
    const auto plainGrid = xtest::bytesOf(grid);
    const std::vector<std::uint8_t> gridBody(plainGrid.begin() + 16, plainGrid.end());

    std::string error;
    auto plain = xtest::parse(plainGrid, error);
    ASSERT_TRUE(plain) << error;
    for (bool countsHeader : {true, false}) {
        auto zipped = xtest::parse(xtest::mszip("xof 0303tzip0032", gridBody, 32768, countsHeader), error);
        ASSERT_TRUE(zipped) << error;
        expectSameFile(*plain, *zipped);
    }

    auto text = textScene();
    ASSERT_TRUE(text);
    auto bzip = xtest::parse(xtest::mszip("xof 0303bzip0032", binaryScene(false).body(), 100), error);
    ASSERT_TRUE(bzip) << error;
    expectSameFile(*text, *bzip);
}

} // namespace
