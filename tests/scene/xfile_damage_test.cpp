#include "xfile_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

using vorlu::XFile;
using vorlu::XObject;
using xtest::TokenWriter;

namespace {

std::string repeat(std::string_view s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

struct DamageCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* errorPart;
};

std::vector<DamageCase> damageCases()
{
    const std::string t = "xof 0303txt 0032\n";
    std::vector<DamageCase> cases = {
        {"empty", {}, "bad header"},
        {"short header", xtest::bytesOf("xof 0303txt"), "bad header"},
        {"wrong magic", xtest::bytesOf("xox 0303txt 0032 Frame a { }"), "bad header"},
        {"version not digits", xtest::bytesOf("xof 03a3txt 0032"), "version"},
        {"unknown format", xtest::bytesOf("xof 0303abc 0032"), "format"},
        {"unknown float size", xtest::bytesOf("xof 0303txt 0016"), "float size"},
        {"unterminated string", xtest::bytesOf(t + "TextureFilename { \"abc; }"), "unterminated string"},
        {"unterminated uuid", xtest::bytesOf(t + "Frame a { <1234"), "unterminated uuid"},
        {"control character", xtest::bytesOf(t + "Frame a {\x01}"), "control character"},
        {"missing closing brace", xtest::bytesOf(t + "Frame a { Frame b { }"), "end of file"},
        {"stray bracket", xtest::bytesOf(t + "Frame a { ] }"), "expected '}'"},
        {"too few values", xtest::bytesOf(t + "Vector v { 1; 2; }"), "expected a number"},
        {"string for a number", xtest::bytesOf(t + "Vector v { 1; \"2\"; 3; }"), "expected a number"},
        {"number for a string", xtest::bytesOf(t + "TextureFilename { 12; }"), "expected a string"},
        {"count larger than file", xtest::bytesOf(t + "Mesh m { 4000000000; 1;2;3;; 0; }"), "larger than the file"},
        {"negative count", xtest::bytesOf(t + "Mesh m { -1; 1;2;3;; 0; }"), "larger than the file"},
        {"a billion faces", xtest::bytesOf(t + "Mesh m { 3; 0;0;0;,1;0;0;,0;1;0;; 1000000000; 3;0,1,2;; }"),
         "larger than the file"},
        {"huge multi-dimensional", xtest::bytesOf(t + "template G { DWORD a; array DWORD g[a][a][a][a]; } G x { 65536; }"),
         "larger than the file"},
        {"unknown member type", xtest::bytesOf(t + "template T { Foo f; } T x { 1; }"), "unknown template 'Foo'"},
        {"template containing itself", xtest::bytesOf(t + "template R { R r; } R x { }"), "nested too deeply"},
        {"size not an earlier member", xtest::bytesOf(t + "template B { array DWORD x[n]; DWORD n; }"), "not an earlier member"},
        {"size of a string member", xtest::bytesOf(t + "template B { STRING n; array DWORD x[n]; }"), "not a number member"},
        {"arrays of empty elements", xtest::bytesOf(t + "template E { } template D { array E e[1000]; } template C { array D d[1000]; } C c { }\n//" + std::string(2000, 'x')),
         "larger than the file can hold"},
        {"objects nested too deep", xtest::bytesOf(t + repeat("Frame a {", 300) + repeat("}", 300)), "nested too deeply"},
        {"unresolved reference", xtest::bytesOf(t + "Frame a { { nowhere } }"), "unresolved reference to 'nowhere'"},
        {"empty reference", xtest::bytesOf(t + "Frame a { { } }"), "name in a reference"},
        {"reference to itself", xtest::bytesOf(t + "Frame a { { a } }"), "reference cycle"},
        {"reference cycle", xtest::bytesOf(t + "Frame a { { b } } Frame b { Frame c { { a } } }"), "reference cycle"},
        {"unterminated unknown object", xtest::bytesOf(t + "Vendor v { 1; { 2; }"), "end of file"},
        {"data at top level", xtest::bytesOf(t + "1; 2; 3;"), "expected a template or a data object"},
        {"binary unknown token", TokenWriter().name("Frame").tok(99).file(), "unknown binary token"},
        {"binary truncated name", TokenWriter().tok(1).raw({50, 0, 0, 0, 'F'}).file(), "truncated name"},
        {"binary list longer than file", TokenWriter().name("Mesh").tok(xtest::kOBrace).tok(6).raw({9, 0, 0, 0, 1, 0, 0, 0}).file(),
         "list longer than the file"},
        {"binary odd trailing byte", TokenWriter().name("Frame").tok(xtest::kOBrace).tok(xtest::kCBrace).raw({7}).file(),
         "truncated token"},
    };

    // A chain of objects each referring twice to the next expands to 2^40 objects.
    std::string chain = t + "Frame f0 { }\n";
    for (int i = 1; i <= 40; ++i) {
        const std::string prev = "f" + std::to_string(i - 1);
        chain += "Frame f" + std::to_string(i) + " { {" + prev + "} {" + prev + "} }\n";
    }
    cases.push_back({"exponential references", xtest::bytesOf(chain), "too many objects"});
    std::string deepRefs = t + "Frame r0 { }\n";
    for (int i = 1; i <= 300; ++i) {
        deepRefs += "Frame r" + std::to_string(i) + " { {r" + std::to_string(i - 1) + "} }\n";
    }
    cases.push_back({"references nest too deep", xtest::bytesOf(deepRefs), "too deeply"});

    const auto body = xtest::bytesOf("Frame a { }");
    auto noCk = xtest::mszip("xof 0303tzip0032", body);
    noCk[24] = 'X';
    cases.push_back({"mszip without CK", noCk, "CK"});
    auto truncated = xtest::mszip("xof 0303tzip0032", body);
    truncated.erase(truncated.end() - 3, truncated.end());
    cases.push_back({"mszip truncated block", truncated, "truncated compressed block"});
    auto wrongSize = xtest::mszip("xof 0303tzip0032", body);
    wrongSize[16] += 5;
    cases.push_back({"mszip wrong declared size", wrongSize, "size"});
    auto shortBlock = xtest::mszip("xof 0303tzip0032", body);
    shortBlock[20] += 1; // claims one more decompressed byte than the block holds
    shortBlock[16] += 1;
    cases.push_back({"mszip block shorter than declared", shortBlock, "damaged compressed block"});
    auto huge = xtest::mszip("xof 0303tzip0032", body);
    huge[19] = 0x7F;
    cases.push_back({"mszip absurd size", huge, "256 MB"});
    return cases;
}

TEST(XFileDamage, DamagedInputFailsWithAOneLineReason)
{
    for (const DamageCase& c : damageCases()) {
        std::string error;
        auto file = xtest::parse(c.bytes, error);
        EXPECT_FALSE(file) << c.what;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.what << ": got '" << error << "'";
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
}

// Touches every reachable object so that a dangling pointer would show.
std::size_t walk(const XObject* o, int depth)
{
    if (depth > 300) {
        ADD_FAILURE() << "object graph deeper than the reader allows";
        return 0;
    }
    std::size_t n = o->data().size() + o->name().size() + o->strings().size();
    for (const XObject* c : o->children()) {
        EXPECT_NE(c, nullptr);
        if (c) {
            n += walk(c, depth + 1);
        }
    }
    return n;
}

void expectCleanOutcome(const std::vector<std::uint8_t>& bytes, const char* what, std::size_t detail)
{
    std::string error;
    auto file = xtest::parse(bytes, error);
    if (file) {
        EXPECT_TRUE(error.empty()) << what << " " << detail;
        for (const XObject* o : file->topLevel()) {
            walk(o, 0);
        }
    } else {
        EXPECT_FALSE(error.empty()) << what << " " << detail;
        EXPECT_EQ(error.find('\n'), std::string::npos) << what << " " << detail;
    }
}

std::vector<std::pair<const char*, std::vector<std::uint8_t>>> validInputs()
{
    const char* text = R"(xof 0303txt 0032
template Pair { <12345678-0000-0000-0000-000000000000> DWORD n; array FLOAT v[n]; STRING s; [...] }
Material M { 1;0;0;1;; 2; 0;0;0;; 0;0;0;; TextureFilename { "t.bmp"; } }
Frame F {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { M } } }
  Pair p { 2; 0.5, 1.5; "x"; Frame G { { M } } }
}
)";
    TokenWriter w;
    w.name("Frame").name("F").tok(xtest::kOBrace);
    w.name("Mesh").tok(xtest::kOBrace).ints({3}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).ints({1, 3, 0, 1, 2});
    w.name("MeshMaterialList").tok(xtest::kOBrace).ints({1, 1, 0});
    w.name("Material").tok(xtest::kOBrace).floats({1, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0});
    w.name("TextureFilename").tok(xtest::kOBrace).str("t.bmp").tok(xtest::kCBrace);
    w.tok(xtest::kCBrace).tok(xtest::kCBrace).tok(xtest::kCBrace).tok(xtest::kCBrace);
    const auto textBytes = xtest::bytesOf(text);
    const std::vector<std::uint8_t> textBody(textBytes.begin() + 16, textBytes.end());
    return {
        {"text", textBytes},
        {"binary", w.file()},
        {"tzip", xtest::mszip("xof 0303tzip0032", textBody, 200)},
        {"bzip", xtest::mszip("xof 0303bzip0032", w.body(), 64)},
    };
}

// A cheap stand-in for fuzzing: every truncation and many byte flips must end in a result or
// an error, never in a crash, a hang or a dangling child.
TEST(XFileDamage, TruncatedAndFlippedInputNeverCrashes)
{
    for (const auto& [what, bytes] : validInputs()) {
        std::string error;
        ASSERT_TRUE(xtest::parse(bytes, error)) << what << ": " << error;
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            expectCleanOutcome(cut, what, n);
        }
        std::uint32_t seed = 12345;
        auto rnd = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return seed >> 8;
        };
        for (int i = 0; i < 3000; ++i) {
            std::vector<std::uint8_t> flipped = bytes;
            const int flips = 1 + static_cast<int>(rnd() % 4);
            for (int f = 0; f < flips; ++f) {
                const std::size_t at = 16 + rnd() % (flipped.size() - 16);
                flipped[at] = (rnd() % 3 == 0) ? static_cast<std::uint8_t>(rnd()) : static_cast<std::uint8_t>(flipped[at] ^ (1u << (rnd() % 8)));
            }
            expectCleanOutcome(flipped, what, static_cast<std::size_t>(i));
        }
    }
}

TEST(XFileOpen, ReadsAFileAndNamesTheFileInErrors)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path good = dir.filePath("part.x").toStdString();
    {
        std::ofstream out(good, std::ios::binary);
        out << "xof 0303txt 0032\nFrame Frame0Cylinder_a1 { }\n";
    }
    std::string error;
    auto file = XFile::open(good, error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->topLevel()[0]->name(), "Frame0Cylinder_a1");

    const std::filesystem::path bad = dir.filePath("bad.x").toStdString();
    {
        std::ofstream out(bad, std::ios::binary);
        out << "xof 0303txt 0032\nFrame a {";
    }
    EXPECT_FALSE(XFile::open(bad, error));
    EXPECT_NE(error.find("bad.x"), std::string::npos) << error;

    EXPECT_FALSE(XFile::open(dir.filePath("missing.x").toStdString(), error));
    EXPECT_NE(error.find("missing.x"), std::string::npos) << error;
    EXPECT_FALSE(XFile::open(dir.path().toStdString(), error)) << "a folder is not a file";
    EXPECT_FALSE(error.empty());
}

} // namespace
