#include "Description.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

namespace modelgen {
namespace {

struct Line {
    int number = 0;
    std::vector<std::string> words;
};

struct Group {
    std::vector<Line> lines;
};

class Parser {
public:
    Parser(std::istream& in, std::string source) : source_(std::move(source))
    {
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            if (const auto hash = text.find('#'); hash != std::string::npos) {
                text.erase(hash);
            }
            std::istringstream words(text);
            Line line{number, {}};
            for (std::string w; words >> w;) {
                line.words.push_back(w);
            }
            if (!line.words.empty()) {
                lines_.push_back(std::move(line));
            }
        }
    }

    Model run()
    {
        while (next_ < lines_.size()) {
            const Line line = lines_[next_++];
            const std::string& key = line.words[0];
            if (key == "material") {
                material(line);
            } else if (key == "group") {
                group(line);
            } else if (key == "file") {
                file(line);
            } else {
                fail(line, "expected material, group or file, not '" + key + "'");
            }
        }
        return std::move(model_);
    }

private:
    [[noreturn]] void fail(const Line& line, const std::string& what) const
    {
        throw DescriptionError(source_ + ":" + std::to_string(line.number) + ": " + what);
    }

    double number(const Line& line, std::size_t i) const
    {
        if (i >= line.words.size()) {
            fail(line, "a number is missing");
        }
        const std::string& w = line.words[i];
        double v = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
        if (ec != std::errc() || end != w.data() + w.size() || !std::isfinite(v)) {
            fail(line, "'" + w + "' is not a number");
        }
        return v;
    }

    const std::string& word(const Line& line, std::size_t i, const char* what) const
    {
        if (i >= line.words.size()) {
            fail(line, std::string(what) + " is missing");
        }
        return line.words[i];
    }

    void keyword(const Line& line, std::size_t i, const char* expected) const
    {
        if (word(line, i, expected) != expected) {
            fail(line, std::string("expected '") + expected + "', not '" + line.words[i] + "'");
        }
    }

    void checkName(const Line& line, const std::string& name) const
    {
        bool ok = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) && name[0] != '-';
        for (char c : name) {
            ok = ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-');
        }
        if (!ok) {
            fail(line, "'" + name + "' is not a valid name (letters, digits, '_' and '-')");
        }
    }

    // material NAME R G B A power P specular R G B emissive R G B
    void material(const Line& line)
    {
        if (line.words.size() != 16) {
            fail(line, "material NAME R G B A power P specular R G B emissive R G B");
        }
        Material m;
        m.name = line.words[1];
        checkName(line, m.name);
        for (int i = 0; i < 4; ++i) {
            m.diffuse[i] = number(line, 2 + static_cast<std::size_t>(i));
        }
        keyword(line, 6, "power");
        m.power = number(line, 7);
        keyword(line, 8, "specular");
        keyword(line, 12, "emissive");
        for (int i = 0; i < 3; ++i) {
            m.specular[i] = number(line, 9 + static_cast<std::size_t>(i));
            m.emissive[i] = number(line, 13 + static_cast<std::size_t>(i));
        }
        if (!model_.materials.emplace(m.name, m).second) {
            fail(line, "material '" + m.name + "' is defined twice");
        }
    }

    // Lines up to the matching "end", which is consumed.
    std::vector<Line> block(const Line& opener)
    {
        std::vector<Line> body;
        int depth = 1;
        while (next_ < lines_.size()) {
            const Line& line = lines_[next_++];
            const std::string& key = line.words[0];
            if (key == "frame" || key == "group" || key == "file") {
                ++depth;
            } else if (key == "end" && --depth == 0) {
                return body;
            }
            body.push_back(line);
        }
        fail(opener, "no 'end' for this line");
    }

    void group(const Line& line)
    {
        const std::string& name = word(line, 1, "group name");
        if (line.words.size() != 2) {
            fail(line, "group NAME");
        }
        if (groups_.count(name) != 0) {
            fail(line, "group '" + name + "' is defined twice");
        }
        groups_[name].lines = block(line);
    }

    void file(const Line& line)
    {
        const std::string& name = word(line, 1, "file name");
        if (line.words.size() != 2 || name.size() < 3 || name.substr(name.size() - 2) != ".x" ||
            name.find_first_of("/\\") != std::string::npos) {
            fail(line, "file NAME.x");
        }
        for (const ModelFile& f : model_.files) {
            if (f.name == name) {
                fail(line, "file '" + name + "' is described twice");
            }
        }
        ModelFile result{name, {}};
        std::set<std::string> names;
        contents(block(line), result.frames, nullptr, names);
        if (result.frames.empty()) {
            fail(line, "file '" + name + "' has no frame");
        }
        model_.files.push_back(std::move(result));
    }

    // The lines inside a file or a frame: parts, frames, group uses and, in a
    // frame, the solids of its mesh.
    void contents(std::vector<Line> body, std::vector<Frame>& frames, Frame* owner, std::set<std::string>& names)
    {
        for (std::size_t i = 0; i < body.size(); ++i) {
            const Line line = body[i];
            const std::string& key = line.words[0];
            if (key == "use") {
                const auto expanded = use(line);
                body.insert(body.begin() + static_cast<std::ptrdiff_t>(i) + 1, expanded.begin(), expanded.end());
            } else if (key == "part" || key == "frame") {
                Frame& frame = frames.emplace_back();
                frame.name = word(line, 1, "frame name");
                checkName(line, frame.name);
                if (!names.insert(frame.name).second) {
                    fail(line, "frame '" + frame.name + "' occurs twice in this file");
                }
                keyword(line, 2, "at");
                frame.position = {number(line, 3), number(line, 4), number(line, 5)};
                if (key == "part") {
                    solid(line, 6, frame);
                } else {
                    // The frame's body runs to its "end"; nested opener lines are counted.
                    std::vector<Line> inner;
                    int depth = 1;
                    for (++i; i < body.size(); ++i) {
                        const std::string& k = body[i].words[0];
                        depth += (k == "frame") ? 1 : (k == "end") ? -1 : 0;
                        if (depth == 0) {
                            break;
                        }
                        inner.push_back(body[i]);
                    }
                    if (depth != 0) {
                        fail(line, "no 'end' for this frame");
                    }
                    contents(std::move(inner), frame.children, &frame, names);
                }
                if (frame.mesh.faces.empty() && frame.children.empty()) {
                    fail(line, "frame '" + frame.name + "' holds nothing");
                }
            } else if (owner != nullptr) {
                solid(line, 0, *owner);
            } else {
                fail(line, "expected part, frame or use, not '" + key + "'");
            }
        }
    }

    // use GROUP VAR=VALUE ...: the group's lines with every $VAR replaced.
    std::vector<Line> use(const Line& line)
    {
        const auto it = groups_.find(word(line, 1, "group name"));
        if (it == groups_.end()) {
            fail(line, "no group '" + line.words[1] + "'");
        }
        std::vector<std::pair<std::string, std::string>> vars;
        for (std::size_t i = 2; i < line.words.size(); ++i) {
            const auto eq = line.words[i].find('=');
            if (eq == std::string::npos || eq == 0) {
                fail(line, "expected VAR=VALUE, not '" + line.words[i] + "'");
            }
            vars.emplace_back("$" + line.words[i].substr(0, eq), line.words[i].substr(eq + 1));
        }
        std::vector<Line> out = it->second.lines;
        for (Line& l : out) {
            for (std::string& w : l.words) {
                for (const auto& [var, value] : vars) {
                    for (auto at = w.find(var); at != std::string::npos; at = w.find(var, at + value.size())) {
                        w.replace(at, var.size(), value);
                    }
                }
                if (w.find('$') != std::string::npos) {
                    fail(l, "'" + w + "' has a variable that '" + line.words[1] + "' is not given (line " +
                                std::to_string(line.number) + ")");
                }
            }
        }
        return out;
    }

    static Axis axis(const Parser& p, const Line& line, std::size_t i)
    {
        const std::string& w = p.word(line, i, "axis");
        if (w == "x") {
            return Axis::X;
        }
        if (w == "y") {
            return Axis::Y;
        }
        if (w == "z") {
            return Axis::Z;
        }
        p.fail(line, "axis must be x, y or z, not '" + w + "'");
    }

    // SHAPE ARGS... [at X Y Z] [seg N] mat MATERIAL, starting at word `i`.
    void solid(const Line& line, std::size_t i, Frame& frame)
    {
        const std::string& shape = word(line, i, "shape");
        static const std::map<std::string, std::size_t> kArgs = {
            {"box", 3}, {"bevel", 4}, {"cyl", 3}, {"ring", 4}, {"recess", 5}};
        const auto known = kArgs.find(shape);
        if (known == kArgs.end()) {
            fail(line, "unknown shape '" + shape + "' (box, bevel, cyl, ring, recess)");
        }
        const std::size_t args = i + 1;
        std::size_t opt = args + known->second;
        Vec3 at;
        int segments = 24;
        std::string materialName;
        while (opt < line.words.size()) {
            const std::string& o = line.words[opt];
            if (o == "at") {
                at = {number(line, opt + 1), number(line, opt + 2), number(line, opt + 3)};
                opt += 4;
            } else if (o == "seg") {
                const double s = number(line, opt + 1);
                if (s < 6 || s > 128 || s != std::floor(s)) {
                    fail(line, "seg must be a whole number from 6 to 128");
                }
                segments = static_cast<int>(s);
                opt += 2;
            } else if (o == "mat") {
                materialName = word(line, opt + 1, "material name");
                opt += 2;
            } else {
                fail(line, "unexpected '" + o + "' (at, seg or mat)");
            }
        }
        if (materialName.empty()) {
            fail(line, "the solid has no 'mat'");
        }
        if (model_.materials.count(materialName) == 0) {
            fail(line, "no material '" + materialName + "'");
        }
        int material = 0;
        while (material < static_cast<int>(frame.materials.size()) &&
               frame.materials[static_cast<std::size_t>(material)] != materialName) {
            ++material;
        }
        if (material == static_cast<int>(frame.materials.size())) {
            frame.materials.push_back(materialName);
        }
        auto size = [&](std::size_t k) {
            const double v = number(line, args + k);
            if (v <= 0) {
                fail(line, "sizes must be above zero");
            }
            return v;
        };
        MeshData& m = frame.mesh;
        if (shape == "box") {
            addBox(m, at, size(0), size(1), size(2), material);
        } else if (shape == "bevel") {
            addBevelBox(m, at, size(0), size(1), size(2), size(3), material);
        } else if (shape == "cyl") {
            addCylinder(m, at, size(0), size(1), axis(*this, line, args + 2), segments, material);
        } else if (shape == "ring") {
            if (size(1) >= size(0)) {
                fail(line, "a ring's hole must be smaller than the ring");
            }
            addRing(m, at, size(0), size(1), size(2), axis(*this, line, args + 3), segments, material);
        } else {
            const double w = size(0), h = size(1), d = size(2), r = size(3), depth = size(4);
            if (d > w || 2 * r >= d || depth >= h) {
                fail(line, "recess W H D R DEPTH needs D <= W, 2R < D and DEPTH < H");
            }
            addRecessPlate(m, at, w, h, d, r, depth, segments, material);
        }
    }

    std::string source_;
    std::vector<Line> lines_;
    std::size_t next_ = 0;
    std::map<std::string, Group> groups_;
    Model model_;
};

} // namespace

Model parseDescription(std::istream& in, const std::string& source)
{
    return Parser(in, source).run();
}

} // namespace modelgen
