#include "scene/XFile.h"

#include "scene/XLexer.h"
#include "scene/XMszip.h"
#include "scene/XParser.h"

#include <cstring>
#include <fstream>
#include <new>
#include <system_error>

namespace vorlu {
namespace {

// Files above this are not models.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{256} << 20;

bool isDigits(const std::uint8_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') {
            return false;
        }
    }
    return true;
}

// Error texts are one line of printable characters whatever the input held.
std::string oneLine(std::string text)
{
    for (char& ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 32 || u == 127) {
            ch = '?';
        }
    }
    return text;
}

} // namespace

XFile::~XFile() = default;

std::unique_ptr<XFile> XFile::parse(const std::uint8_t* bytes, std::size_t size, std::string& error)
{
    error.clear();
    try {
        // Header: "xof ", version "0302"/"0303", format, float size.
        if (!bytes || size < 16 || std::memcmp(bytes, "xof ", 4) != 0) {
            error = "not a DirectX file (bad header)";
            return nullptr;
        }
        if (!isDigits(bytes + 4, 4)) {
            error = "not a DirectX file (bad version)";
            return nullptr;
        }
        const std::string format(reinterpret_cast<const char*>(bytes + 8), 4);
        const bool text = format == "txt " || format == "tzip";
        const bool zipped = format == "tzip" || format == "bzip";
        if (!text && format != "bin " && format != "bzip") {
            error = oneLine("unsupported file format '" + format + "'");
            return nullptr;
        }
        const std::string floats(reinterpret_cast<const char*>(bytes + 12), 4);
        if (floats != "0032" && floats != "0064") {
            error = oneLine("unsupported float size '" + floats + "'");
            return nullptr;
        }

        const std::uint8_t* body = bytes + 16;
        std::size_t bodySize = size - 16;
        std::vector<std::uint8_t> inflated;
        if (zipped) {
            if (!xfile::inflateMszip(body, bodySize, inflated, error)) {
                return nullptr;
            }
            body = inflated.data();
            bodySize = inflated.size();
        }

        const std::unique_ptr<xfile::Lexer> lexer =
            text ? xfile::makeTextLexer(reinterpret_cast<const char*>(body), reinterpret_cast<const char*>(body) + bodySize)
                 : xfile::makeBinaryLexer(body, body + bodySize, floats == "0064");
        std::unique_ptr<XFile> file(new XFile);
        XParser parser(*lexer, *file, bodySize);
        parser.run();
        return file;
    } catch (const xfile::ParseError& e) {
        error = oneLine(e.message);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    } catch (const std::exception& e) {
        error = oneLine(e.what());
    }
    return nullptr;
}

std::unique_ptr<XFile> XFile::open(const std::filesystem::path& path, std::string& error)
{
    error.clear();
    try {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec) {
            error = oneLine("cannot open '" + path.string() + "': " + ec.message());
            return nullptr;
        }
        if (size > kMaxFileSize) {
            error = oneLine("'" + path.string() + "' is too large");
            return nullptr;
        }
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
            error = oneLine("cannot read '" + path.string() + "'");
            return nullptr;
        }
        auto file = parse(bytes.data(), bytes.size(), error);
        if (!file) {
            error = oneLine(path.filename().string() + ": " + error);
        }
        return file;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    } catch (const std::exception& e) {
        error = oneLine(e.what());
    }
    return nullptr;
}

} // namespace vorlu
