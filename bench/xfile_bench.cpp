// Text ".x" loading speed: our reader against a general-purpose importer on the same ~5 MB mesh.

#include "scene/CD3DFrame.h"
#include "support/RecordingDevice.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

#ifdef VORLU_BENCH_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A grid mesh written the way exporters write it: six decimals, normals, texture coordinates
// and a material list, about 5 MB in all.
std::string meshText(int n)
{
    std::string s = "xof 0303txt 0032\n"
                    "Material Grey { 0.5;0.5;0.5;1.000000;; 8.000000; 0.1;0.1;0.1;; 0.0;0.0;0.0;; }\n"
                    "Frame Frame0Drive_a1 {\n"
                    " FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
                    "0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;; }\n";
    char line[160];
    const int vertices = n * n;
    const int faces = 2 * (n - 1) * (n - 1);
    auto sep = [](int i, int count) { return i + 1 == count ? ";" : ","; };
    s += " Mesh Drive {\n  " + std::to_string(vertices) + ";\n";
    for (int i = 0; i < vertices; ++i) {
        std::snprintf(line, sizeof line, "  %f;%f;%f;%s\n", (i % n) * 0.731 - 40.0, (i / n) * 0.417 - 20.0,
                      ((i * 7919) % 1000) * 0.001, sep(i, vertices));
        s += line;
    }
    auto writeFaces = [&] {
        s += "  " + std::to_string(faces) + ";\n";
        int f = 0;
        for (int y = 0; y + 1 < n; ++y) {
            for (int x = 0; x + 1 < n; ++x) {
                const int a = y * n + x;
                std::snprintf(line, sizeof line, "  3;%d,%d,%d;,\n", a, a + 1, a + n);
                s += line;
                ++f;
                std::snprintf(line, sizeof line, "  3;%d,%d,%d;%s\n", a + 1, a + n + 1, a + n, sep(f, faces));
                s += line;
                ++f;
            }
        }
    };
    writeFaces();
    s += "  MeshNormals {\n  " + std::to_string(vertices) + ";\n";
    for (int i = 0; i < vertices; ++i) {
        std::snprintf(line, sizeof line, "  %f;%f;%f;%s\n", 0.0, ((i * 31) % 100) * 0.001, 0.99, sep(i, vertices));
        s += line;
    }
    writeFaces();
    s += "  }\n  MeshTextureCoords {\n  " + std::to_string(vertices) + ";\n";
    for (int i = 0; i < vertices; ++i) {
        std::snprintf(line, sizeof line, "  %f;%f;%s\n", (i % n) / double(n), (i / n) / double(n), sep(i, vertices));
        s += line;
    }
    s += "  }\n  MeshMaterialList { 1; 1; 0;; { Grey } }\n }\n}\n";
    return s;
}

struct BenchFile {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;

    BenchFile()
    {
        const std::string text = meshText(180);
        bytes.assign(text.begin(), text.end());
        path = std::filesystem::temp_directory_path() / ("vorlu-xfile-bench-" + std::to_string(getpid()) + ".x");
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    ~BenchFile()
    {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

const BenchFile& benchFile()
{
    static const BenchFile file;
    return file;
}

void BM_XFileOpen(benchmark::State& state)
{
    const BenchFile& f = benchFile();
    for (auto _ : state) {
        std::string error;
        auto file = vorlu::XFile::open(f.path, error);
        if (!file) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(file.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
    state.counters["file_MB"] = static_cast<double>(f.bytes.size()) / 1e6;
}
BENCHMARK(BM_XFileOpen)->Unit(benchmark::kMillisecond);

void BM_XFileParseInMemory(benchmark::State& state)
{
    const BenchFile& f = benchFile();
    for (auto _ : state) {
        std::string error;
        auto file = vorlu::XFile::parse(f.bytes.data(), f.bytes.size(), error);
        if (!file) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(file.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_XFileParseInMemory)->Unit(benchmark::kMillisecond);

// Hostile shapes that once cost far more than their size: a mesh referred to 16,000 times
// (64 KB) loaded into frames, and a template of many arrays sized by a late member (1.2 MB).
void BM_XFileMeshReferences(benchmark::State& state)
{
    std::string text = "xof 0303txt 0032\nMesh M{3;0;0;0;,1;0;0;,0;1;0;;1;3;0,1,2;;}\nFrame F{";
    while (text.size() < 65536)
        text += "{M}";
    text += "}\n";
    std::string error;
    const auto file = vorlu::XFile::parse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), error);
    vorlu::RecordingDevice device;
    vorlu::SceneContext context(&device);
    for (auto _ : state) {
        vorlu::CD3DFrame root;
        root.InitFromXFile(context, *file, &error);
        benchmark::DoNotOptimize(root.GetChildFrameCount());
    }
}
BENCHMARK(BM_XFileMeshReferences)->Unit(benchmark::kMillisecond);

void BM_XFileManyArrayTemplates(benchmark::State& state)
{
    std::string text = "xof 0303txt 0032\ntemplate T {";
    int i = 0;
    for (; text.size() < 600000; ++i)
        text += " DWORD m" + std::to_string(i) + ";";
    const std::string last = "m" + std::to_string(i - 1);
    for (int k = 0; text.size() < 1200000; ++k)
        text += " array DWORD a" + std::to_string(k) + "[" + last + "];";
    text += " }\n";
    for (auto _ : state) {
        std::string error;
        auto file = vorlu::XFile::parse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), error);
        benchmark::DoNotOptimize(file.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_XFileManyArrayTemplates)->Unit(benchmark::kMillisecond);

#ifdef VORLU_BENCH_ASSIMP
void BM_AssimpReadFile(benchmark::State& state)
{
    const BenchFile& f = benchFile();
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(f.path.string(), 0);
        if (!scene) {
            state.SkipWithError(importer.GetErrorString());
            break;
        }
        benchmark::DoNotOptimize(scene);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_AssimpReadFile)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
