#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vorlu {

class XParser;

// One data object of a DirectX ".x" file.
class XObject {
public:
    XObject(const XObject&) = delete;
    XObject& operator=(const XObject&) = delete;

    const std::string& templateName() const { return templateName_; }
    const std::string& name() const { return name_; }
    // Members packed little-endian in template order: DWORD/FLOAT 4 bytes (64-bit file floats are
    // narrowed), WORD 2, CHAR/UCHAR/BYTE 1, DOUBLE 8, arrays and nested template members inline.
    // STRING members take no bytes here; they are in strings().
    const std::vector<std::uint8_t>& data() const { return data_; }
    const std::vector<std::string>& strings() const { return strings_; }
    // Child data objects in file order; a reference to a named object is resolved to that object.
    const std::vector<const XObject*>& children() const { return children_; }
    const std::string& templateGuid() const { return templateGuid_; }

private:
    friend class XParser;
    XObject() = default;

    std::string templateName_;
    std::string name_;
    std::string templateGuid_;
    std::string guid_;
    std::vector<std::uint8_t> data_;
    std::vector<std::string> strings_;
    std::vector<const XObject*> children_;
    std::size_t index_ = 0; // position in the owning file's object list
};

// A parsed ".x" file (text, binary or MSZIP-compressed, 32- or 64-bit floats). Owns all its objects.
class XFile {
public:
    XFile(const XFile&) = delete;
    XFile& operator=(const XFile&) = delete;
    ~XFile();

    // nullptr and a one-line error text on failure. Never throws; memory and time stay bounded
    // by the input size on any input.
    static std::unique_ptr<XFile> open(const std::filesystem::path& path, std::string& error);
    static std::unique_ptr<XFile> parse(const std::uint8_t* bytes, std::size_t size, std::string& error);

    const std::vector<const XObject*>& topLevel() const { return topLevel_; }

private:
    friend class XParser;
    XFile() = default;

    std::vector<std::unique_ptr<XObject>> objects_;
    std::vector<const XObject*> topLevel_;
};

} // namespace vorlu
