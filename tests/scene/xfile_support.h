#pragma once

// Builders for ".x" test inputs: binary token streams, MSZIP bodies, and a reader for packed data.

#include "scene/XFile.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xtest {

enum BinToken : std::uint16_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOBrace = 10,
    kCBrace = 11,
    kOBracket = 14,
    kCBracket = 15,
    kDot = 18,
    kComma = 19,
    kSemicolon = 20,
    kTemplate = 31,
    kDword = 41,
    kFloat = 42,
    kDouble = 43,
    kArray = 52,
};

inline std::vector<std::uint8_t> bytesOf(std::string_view s)
{
    return {s.begin(), s.end()};
}

inline std::unique_ptr<vorlu::XFile> parse(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    return vorlu::XFile::parse(bytes.data(), bytes.size(), error);
}

inline std::unique_ptr<vorlu::XFile> parse(std::string_view text, std::string& error)
{
    return vorlu::XFile::parse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), error);
}

// Writes the binary encoding token by token.
class TokenWriter {
public:
    explicit TokenWriter(bool doubles = false) : doubles_(doubles) {}

    TokenWriter& tok(std::uint16_t t)
    {
        put16(t);
        return *this;
    }
    TokenWriter& name(std::string_view s)
    {
        put16(kName);
        put32(static_cast<std::uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    // Writers disagree on the width of the terminator.
    TokenWriter& str(std::string_view s, bool dwordTerminator = false)
    {
        put16(kString);
        put32(static_cast<std::uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        if (dwordTerminator) {
            put32(kSemicolon);
        } else {
            put16(kSemicolon);
        }
        return *this;
    }
    TokenWriter& integer(std::uint32_t v)
    {
        put16(kInteger);
        put32(v);
        return *this;
    }
    TokenWriter& guid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::initializer_list<std::uint8_t> d4)
    {
        put16(kGuid);
        put32(d1);
        put16(d2);
        put16(d3);
        bytes_.insert(bytes_.end(), d4.begin(), d4.end());
        return *this;
    }
    TokenWriter& ints(std::initializer_list<std::uint32_t> v)
    {
        put16(kIntegerList);
        put32(static_cast<std::uint32_t>(v.size()));
        for (std::uint32_t x : v) {
            put32(x);
        }
        return *this;
    }
    TokenWriter& floats(std::initializer_list<double> v)
    {
        put16(kFloatList);
        put32(static_cast<std::uint32_t>(v.size()));
        for (double x : v) {
            if (doubles_) {
                append(&x, 8);
            } else {
                const auto f = static_cast<float>(x);
                append(&f, 4);
            }
        }
        return *this;
    }
    TokenWriter& raw(std::initializer_list<std::uint8_t> b)
    {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }

    const std::vector<std::uint8_t>& body() const { return bytes_; }
    std::vector<std::uint8_t> file() const
    {
        auto out = bytesOf(doubles_ ? "xof 0303bin 0064" : "xof 0303bin 0032");
        out.insert(out.end(), bytes_.begin(), bytes_.end());
        return out;
    }

private:
    void append(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    void put16(std::uint16_t v) { append(&v, 2); }
    void put32(std::uint32_t v) { append(&v, 4); }

    bool doubles_;
    std::vector<std::uint8_t> bytes_;
};

// An MSZIP file: header, DWORD size, blocks of raw deflate each primed with the output before it.
inline std::vector<std::uint8_t> mszip(std::string_view header, const std::vector<std::uint8_t>& body,
                                       std::size_t blockSize = 32768, bool sizeCountsHeader = true)
{
    std::vector<std::uint8_t> out(header.begin(), header.end());
    const auto total = static_cast<std::uint32_t>(body.size() + (sizeCountsHeader ? 16 : 0));
    const auto* t = reinterpret_cast<const std::uint8_t*>(&total);
    out.insert(out.end(), t, t + 4);
    for (std::size_t pos = 0; pos < body.size(); pos += blockSize) {
        const std::size_t n = std::min(blockSize, body.size() - pos);
        z_stream zs{};
        deflateInit2(&zs, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        if (pos > 0) {
            const std::size_t dict = std::min<std::size_t>(32768, pos);
            deflateSetDictionary(&zs, body.data() + pos - dict, static_cast<uInt>(dict));
        }
        std::vector<std::uint8_t> packed(deflateBound(&zs, static_cast<uLong>(n)) + 16);
        zs.next_in = const_cast<Bytef*>(body.data() + pos);
        zs.avail_in = static_cast<uInt>(n);
        zs.next_out = packed.data();
        zs.avail_out = static_cast<uInt>(packed.size());
        deflate(&zs, Z_FINISH);
        const std::size_t used = packed.size() - zs.avail_out;
        deflateEnd(&zs);
        const auto u = static_cast<std::uint16_t>(n);
        const auto c = static_cast<std::uint16_t>(used + 2);
        out.insert(out.end(), reinterpret_cast<const std::uint8_t*>(&u), reinterpret_cast<const std::uint8_t*>(&u) + 2);
        out.insert(out.end(), reinterpret_cast<const std::uint8_t*>(&c), reinterpret_cast<const std::uint8_t*>(&c) + 2);
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(used));
    }
    return out;
}

// Reads packed member data in order.
class DataReader {
public:
    explicit DataReader(const std::vector<std::uint8_t>& d) : d_(d) {}
    std::uint32_t u32() { return get<std::uint32_t>(); }
    std::uint16_t u16() { return get<std::uint16_t>(); }
    std::uint8_t u8() { return get<std::uint8_t>(); }
    float f32() { return get<float>(); }
    double f64() { return get<double>(); }
    std::size_t left() const { return d_.size() - pos_; }

private:
    template <class T>
    T get()
    {
        T v{};
        if (pos_ + sizeof v <= d_.size()) {
            std::memcpy(&v, d_.data() + pos_, sizeof v);
        }
        pos_ += sizeof v;
        return v;
    }
    const std::vector<std::uint8_t>& d_;
    std::size_t pos_ = 0;
};

// A text mesh of n x n vertices, big enough to span several compressed blocks.
inline std::string gridMeshText(int n)
{
    std::string s = "xof 0303txt 0032\nFrame Grid {\n Mesh GridMesh {\n  " + std::to_string(n * n) + ";\n";
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            s += "  " + std::to_string(x) + ".5;" + std::to_string(y) + ".25;0.000000;" +
                 ((x == n - 1 && y == n - 1) ? ";\n" : ",\n");
        }
    }
    const int faces = (n - 1) * (n - 1);
    s += "  " + std::to_string(faces) + ";\n";
    for (int y = 0; y + 1 < n; ++y) {
        for (int x = 0; x + 1 < n; ++x) {
            const int a = y * n + x;
            s += "  4;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + n + 1) + "," +
                 std::to_string(a + n) + ";" + ((y == n - 2 && x == n - 2) ? ";\n" : ",\n");
        }
    }
    s += " }\n}\n";
    return s;
}

} // namespace xtest
