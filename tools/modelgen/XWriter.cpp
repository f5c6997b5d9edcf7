#include "XWriter.h"

#include <cstdio>
#include <string>

namespace modelgen {
namespace {

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    std::string s(buf);
    return s == "-0.000000" ? "0.000000" : s;
}

std::string vec(Vec3 v)
{
    return num(v.x) + ";" + num(v.y) + ";" + num(v.z) + ";";
}

class Writer {
public:
    Writer(std::ostream& out, const std::map<std::string, Material>& materials) : out_(out), materials_(materials) {}

    void frame(const Frame& f, const std::string& indent)
    {
        const std::string in = indent + " ";
        out_ << indent << "Frame " << f.name << " {\n";
        // Row vectors: the translation sits in the fourth row.
        out_ << in << "FrameTransformMatrix {\n"
             << in << " 1.000000,0.000000,0.000000,0.000000,\n"
             << in << " 0.000000,1.000000,0.000000,0.000000,\n"
             << in << " 0.000000,0.000000,1.000000,0.000000,\n"
             << in << " " << num(f.position.x) << "," << num(f.position.y) << "," << num(f.position.z)
             << ",1.000000;;\n"
             << in << "}\n";
        if (!f.mesh.faces.empty()) {
            mesh(f, in);
        }
        for (const Frame& child : f.children) {
            frame(child, in);
        }
        out_ << indent << "}\n";
    }

private:
    void faces(const MeshData& m, const std::string& in)
    {
        out_ << in << m.faces.size() << ";\n";
        for (std::size_t i = 0; i < m.faces.size(); ++i) {
            const auto& [a, b, c] = m.faces[i];
            out_ << in << "3;" << a << "," << b << "," << c << ";" << (i + 1 < m.faces.size() ? "," : ";") << "\n";
        }
    }

    void vectors(const std::vector<Vec3>& vs, const std::string& in)
    {
        out_ << in << vs.size() << ";\n";
        for (std::size_t i = 0; i < vs.size(); ++i) {
            out_ << in << vec(vs[i]) << (i + 1 < vs.size() ? "," : ";") << "\n";
        }
    }

    void mesh(const Frame& f, const std::string& indent)
    {
        const MeshData& m = f.mesh;
        const std::string in = indent + " ";
        out_ << indent << "Mesh " << f.name << "_mesh {\n";
        vectors(m.positions, in);
        faces(m, in);
        out_ << in << "MeshNormals {\n";
        vectors(m.normals, in + " ");
        faces(m, in + " ");
        out_ << in << "}\n";
        out_ << in << "MeshMaterialList {\n" << in << " " << f.materials.size() << ";\n"
             << in << " " << m.faceMaterial.size() << ";\n";
        for (std::size_t i = 0; i < m.faceMaterial.size(); ++i) {
            out_ << in << " " << m.faceMaterial[i] << (i + 1 < m.faceMaterial.size() ? "," : ";") << "\n";
        }
        for (const std::string& name : f.materials) {
            material(materials_.at(name), in + " ");
        }
        out_ << in << "}\n";
        out_ << indent << "}\n";
    }

    void material(const Material& m, const std::string& indent)
    {
        const std::string in = indent + " ";
        // Unnamed: the same material may serve several meshes of one file.
        out_ << indent << "Material {\n"
             << in << num(m.diffuse[0]) << ";" << num(m.diffuse[1]) << ";" << num(m.diffuse[2]) << ";"
             << num(m.diffuse[3]) << ";;\n"
             << in << num(m.power) << ";\n"
             << in << num(m.specular[0]) << ";" << num(m.specular[1]) << ";" << num(m.specular[2]) << ";;\n"
             << in << num(m.emissive[0]) << ";" << num(m.emissive[1]) << ";" << num(m.emissive[2]) << ";;\n"
             << indent << "}\n";
    }

    std::ostream& out_;
    const std::map<std::string, Material>& materials_;
};

} // namespace

void writeXFile(std::ostream& out, const ModelFile& file, const std::map<std::string, Material>& materials)
{
    out << "xof 0303txt 0032\n\n";
    Writer w(out, materials);
    for (const Frame& f : file.frames) {
        w.frame(f, "");
    }
}

} // namespace modelgen
