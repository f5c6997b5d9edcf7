#pragma once

// MSZIP-compressed ".x" bodies ("tzip" and "bzip").

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorlu::xfile {

// Largest decompressed body accepted; far above any model, well below trouble.
constexpr std::size_t kMaxDecompressedSize = std::size_t{256} << 20;

// body: the bytes after the 16-byte file header. False and a reason on damaged input.
bool inflateMszip(const std::uint8_t* body, std::size_t size, std::vector<std::uint8_t>& out, std::string& error);

} // namespace vorlu::xfile
