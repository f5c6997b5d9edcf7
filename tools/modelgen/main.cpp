// Writes the model files of the drive units and racks from the model description.
//
//   vorlu-modelgen DESCRIPTION OUTPUT_FOLDER
//
// Every file is written beside its final name and renamed into place, so an
// interrupted run never leaves a half-written model file.

#include "Description.h"
#include "XWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

std::size_t triangles(const modelgen::Frame& f)
{
    std::size_t n = f.mesh.faces.size();
    for (const auto& c : f.children) {
        n += triangles(c);
    }
    return n;
}

void check(const modelgen::Frame& f, const std::string& file)
{
    if (const std::string problem = modelgen::checkMesh(f.mesh); !problem.empty()) {
        throw std::runtime_error(file + ", frame " + f.name + ": " + problem);
    }
    for (const auto& c : f.children) {
        check(c, file);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: vorlu-modelgen DESCRIPTION OUTPUT_FOLDER\n";
        return 2;
    }
    namespace fs = std::filesystem;
    try {
        std::ifstream in(argv[1]);
        if (!in) {
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        }
        const modelgen::Model model = modelgen::parseDescription(in, fs::path(argv[1]).filename().string());
        const fs::path folder = argv[2];
        fs::create_directories(folder);
        std::size_t total = 0;
        for (const auto& file : model.files) {
            for (const auto& f : file.frames) {
                check(f, file.name);
                total += triangles(f);
            }
            const fs::path target = folder / file.name;
            const fs::path temp = folder / (file.name + ".tmp");
            {
                std::ofstream out(temp, std::ios::binary | std::ios::trunc);
                modelgen::writeXFile(out, file, model.materials);
                out.flush();
                if (!out) {
                    fs::remove(temp);
                    throw std::runtime_error("cannot write " + temp.string());
                }
            }
            fs::rename(temp, target);
        }
        std::cout << "modelgen: " << model.files.size() << " files, " << total << " triangles\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "modelgen: " << e.what() << "\n";
        return 1;
    }
}
