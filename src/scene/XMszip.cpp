#include "scene/XMszip.h"

#include <zlib.h>

#include <algorithm>

namespace vorlu::xfile {
namespace {

constexpr std::size_t kHistory = 32768;

std::uint32_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
}

std::uint32_t le32(const std::uint8_t* p)
{
    return le16(p) | (le16(p + 2) << 16);
}

struct Inflater {
    z_stream zs{};
    bool ready = false;
    Inflater() { ready = inflateInit2(&zs, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (ready) {
            inflateEnd(&zs);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

} // namespace

// Layout: DWORD decompressed size, then blocks of WORD decompressed size, WORD compressed size
// and that many bytes: "CK" and raw deflate data whose history is the output so far.
bool inflateMszip(const std::uint8_t* body, std::size_t size, std::vector<std::uint8_t>& out, std::string& error)
{
    out.clear();
    if (size < 4) {
        error = "truncated compressed file";
        return false;
    }
    const std::size_t declared = le32(body);
    if (declared > kMaxDecompressedSize) {
        error = "compressed file declares more than 256 MB";
        return false;
    }
    Inflater inf;
    if (!inf.ready) {
        error = "cannot start decompression";
        return false;
    }
    std::size_t pos = 4;
    std::size_t copied = 0;
    while (pos < size) {
        if (size - pos < 4) {
            error = "truncated compressed block";
            return false;
        }
        const std::size_t unpacked = le16(body + pos);
        const std::size_t packed = le16(body + pos + 2);
        pos += 4;
        if (packed < 2 || packed > size - pos) {
            error = "truncated compressed block";
            return false;
        }
        if (body[pos] != 'C' || body[pos + 1] != 'K') {
            error = "damaged compressed block (no CK signature)";
            return false;
        }
        if (out.size() + unpacked > declared) {
            error = "compressed data larger than declared";
            return false;
        }
        if (unpacked == 0) {
            // Nothing to inflate, and nothing a later block could refer back to.
            pos += packed;
            continue;
        }
        // Each block restarts from a copy of up to 32 KB of history. Writers fill blocks to 32 KB,
        // so that copying stays within twice the output; tiny blocks would make it cost 32 KB per
        // few bytes of input.
        const std::size_t dict = std::min(kHistory, out.size());
        copied += dict;
        if (copied > 2 * (out.size() + unpacked) + 2 * kHistory) {
            error = "damaged compressed file (blocks too small)";
            return false;
        }
        if (inflateReset(&inf.zs) != Z_OK) {
            error = "damaged compressed block";
            return false;
        }
        if (dict > 0) {
            if (inflateSetDictionary(&inf.zs, out.data() + out.size() - dict, static_cast<uInt>(dict)) != Z_OK) {
                error = "damaged compressed block";
                return false;
            }
        }
        const std::size_t start = out.size();
        out.resize(start + unpacked);
        inf.zs.next_in = const_cast<Bytef*>(body + pos + 2); // zlib does not write through it
        inf.zs.avail_in = static_cast<uInt>(packed - 2);
        inf.zs.next_out = out.data() + start;
        inf.zs.avail_out = static_cast<uInt>(unpacked);
        const int r = inflate(&inf.zs, Z_FINISH);
        const bool complete = inf.zs.avail_out == 0 && (r == Z_STREAM_END || r == Z_OK || r == Z_BUF_ERROR);
        if (!complete) {
            error = "damaged compressed block";
            return false;
        }
        pos += packed;
    }
    // Writers disagree on whether the declared size counts the 16-byte file header.
    if (out.size() != declared && out.size() + 16 != declared) {
        error = "decompressed size does not match the declared size";
        return false;
    }
    return true;
}

} // namespace vorlu::xfile
