// Reading the simulated network file: every field is checked for its type and
// range, and every problem points at the value that caused it.
#include "platform/SimulatedNetwork.h"

#include "platform/JsonReader.h"
#include "platform/TextCase.h"

#include <fstream>
#include <initializer_list>
#include <limits>
#include <iterator>
#include <system_error>
#include <unordered_set>

namespace vorlu {

namespace {

struct FormatError {
    JsonPosition position;
    std::string message;
};

using Type = JsonValue::Type;

// A simulated node answers no more than a real one could sensibly hold, so that a
// broken or hostile file cannot make the program keep more than it can show.
constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr std::size_t kMaxDrives = 256;
constexpr std::size_t kMaxValueBytes = 64u << 10;

// Unknown keys are refused: a misspelt field would otherwise silently fall back
// to its default and change the network under test.
void checkKeys(const JsonValue& object, std::initializer_list<const char*> allowed, const std::string& what)
{
    for (const JsonMember& m : object.members) {
        bool known = false;
        std::string list;
        for (const char* key : allowed) {
            known = known || m.key == key;
            list += list.empty() ? "" : ", ";
            list += key;
        }
        if (!known)
            throw FormatError{m.keyPosition, "unknown field " + jsonQuoted(m.key) + " in " + what + "; expected one of: " + list};
    }
}

[[noreturn]] void expected(const JsonValue& v, const std::string& what, const std::string& field)
{
    throw FormatError{v.position, "expected " + what + " for " + jsonQuoted(field)};
}

const JsonValue& typed(const JsonValue& v, Type type, const std::string& field)
{
    if (v.type != type)
        expected(v, jsonTypeName(type), field);
    return v;
}

bool readBool(const JsonValue& v, const std::string& field) { return typed(v, Type::Bool, field).boolean; }

std::string readString(const JsonValue& v, const std::string& field) { return typed(v, Type::String, field).text; }

long long readInteger(const JsonValue& v, const std::string& field, long long low, long long high)
{
    const std::string range = "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    if (v.type != Type::Number || v.text.find_first_of(".eE") != std::string::npos)
        expected(v, range, field);
    long long value = 0;
    try {
        value = std::stoll(v.text);
    } catch (const std::exception&) {
        expected(v, range, field);
    }
    if (value < low || value > high)
        expected(v, range, field);
    return value;
}

// One decimal number 0..255 without leading zeros, as an address prints it.
bool readByte(const std::string& text, std::size_t& pos, int& out)
{
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 4)
        ++pos;
    const std::size_t len = pos - start;
    if (len == 0 || len > 3 || (len > 1 && text[start] == '0'))
        return false;
    out = std::stoi(text.substr(start, len));
    return out <= 255;
}

std::string readAddress(const JsonValue& v, const std::string& field)
{
    const char* what = "a dotted IPv4 address such as \"192.168.1.10\"";
    if (v.type != Type::String)
        expected(v, what, field);
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        int byte = 0;
        if (!readByte(v.text, pos, byte) || (i < 3 && (pos >= v.text.size() || v.text[pos++] != '.')))
            expected(v, what, field);
    }
    if (pos != v.text.size())
        expected(v, what, field);
    return v.text;
}

std::uint16_t readVersion(const JsonValue& v, const std::string& field)
{
    const char* what = "\"major.minor\" with numbers from 0 to 255, such as \"1.1\"";
    if (v.type != Type::String)
        expected(v, what, field);
    std::size_t pos = 0;
    int major = 0;
    int minor = 0;
    if (!readByte(v.text, pos, major) || pos >= v.text.size() || v.text[pos++] != '.' ||
        !readByte(v.text, pos, minor) || pos != v.text.size())
        expected(v, what, field);
    // Low byte major, high byte minor, as the socket layer reports it.
    return static_cast<std::uint16_t>(major | (minor << 8));
}

WmiRow readRow(const JsonValue& v, const std::string& field)
{
    typed(v, Type::Object, field);
    std::vector<std::pair<std::string, std::optional<std::string>>> props;
    std::unordered_set<std::string> seen; // lower-case names
    for (const JsonMember& m : v.members) {
        if (!seen.insert(lowerAscii(m.key)).second)
            throw FormatError{m.keyPosition, "property " + jsonQuoted(m.key) + " is given twice (property names "
                                             "are matched without regard to letter case)"};
        switch (m.value.type) {
        case Type::Null: props.emplace_back(m.key, std::nullopt); break;
        case Type::Bool: props.emplace_back(m.key, m.value.boolean ? "True" : "False"); break;
        case Type::Number:
        case Type::String:
            if (m.value.text.size() > kMaxValueBytes)
                throw FormatError{m.value.position, "value of " + jsonQuoted(m.key) + " is longer than " +
                                                        std::to_string(kMaxValueBytes) + " bytes"};
            props.emplace_back(m.key, m.value.text);
            break;
        default: expected(m.value, "a number, true, false, a string or null", m.key);
        }
    }
    return WmiRow(std::move(props));
}

SimulatedNetwork::Management readManagement(const JsonValue& v, const std::string& computerName)
{
    typed(v, Type::Object, "management");
    checkKeys(v, {"reachable", "namespaces", "accounts", "computerSystem", "cdromDrives", "queryError"},
              "\"management\"");
    SimulatedNetwork::Management m;
    m.computerSystem = WmiRow({{"Name", computerName}});
    for (const JsonMember& f : v.members) {
        const JsonValue& x = f.value;
        if (f.key == "reachable") {
            m.reachable = readBool(x, f.key);
        } else if (f.key == "namespaces") {
            m.namespaces.clear();
            for (const JsonValue& ns : typed(x, Type::Array, f.key).items)
                m.namespaces.push_back(readString(ns, "namespaces"));
        } else if (f.key == "accounts") {
            for (const JsonValue& a : typed(x, Type::Array, f.key).items) {
                typed(a, Type::Object, "accounts");
                checkKeys(a, {"user", "password"}, "an account");
                const JsonMember* user = a.member("user");
                const JsonMember* password = a.member("password");
                if (!user || !password)
                    throw FormatError{a.position, std::string("expected field \"") + (user ? "password" : "user") +
                                                      "\" (a string) in this account"};
                m.accounts.push_back({readString(user->value, "user"), readString(password->value, "password")});
            }
        } else if (f.key == "computerSystem") {
            m.computerSystem = readRow(x, f.key);
        } else if (f.key == "cdromDrives") {
            const auto& rows = typed(x, Type::Array, f.key).items;
            if (rows.size() > kMaxDrives)
                throw FormatError{x.position, "more than " + std::to_string(kMaxDrives) + " drives in \"cdromDrives\""};
            for (const JsonValue& row : rows)
                m.cdromDrives.push_back(readRow(row, "cdromDrives"));
        } else if (f.key == "queryError") {
            m.queryError = readBool(x, f.key);
        }
    }
    return m;
}

SimulatedNetwork::Computer readComputer(const JsonValue& v)
{
    typed(v, Type::Object, "computers");
    checkKeys(v, {"name", "listed", "address", "latencyMs", "management"}, "a computer");
    SimulatedNetwork::Computer c;
    const JsonMember* name = v.member("name");
    if (!name)
        throw FormatError{v.position, "expected field \"name\" (a string) in this computer"};
    c.name = readString(name->value, "name");
    c.management.computerSystem = WmiRow({{"Name", c.name}});
    for (const JsonMember& f : v.members) {
        const JsonValue& x = f.value;
        if (f.key == "listed")
            c.listed = readBool(x, f.key);
        else if (f.key == "address" && !x.isNull())
            c.address = readAddress(x, f.key);
        else if (f.key == "latencyMs")
            c.latencyMs = static_cast<int>(readInteger(x, f.key, 0, 60000));
        else if (f.key == "management")
            c.management = readManagement(x, c.name);
    }
    return c;
}

void readNetwork(const JsonValue& root, SimulatedNetwork& net)
{
    if (root.type != Type::Object)
        throw FormatError{root.position, "expected an object with the network's fields"};
    checkKeys(root, {"localAddress", "sockets", "enumeration", "computers"}, "the network");
    for (const JsonMember& f : root.members) {
        const JsonValue& x = f.value;
        if (f.key == "localAddress") {
            net.localAddress = readAddress(x, f.key);
        } else if (f.key == "sockets") {
            typed(x, Type::Object, f.key);
            checkKeys(x, {"startupError", "version", "maxSockets"}, "\"sockets\"");
            for (const JsonMember& s : x.members) {
                if (s.key == "startupError")
                    net.sockets.error = static_cast<int>(readInteger(s.value, s.key, std::numeric_limits<int>::min(),
                                                                     std::numeric_limits<int>::max()));
                else if (s.key == "version")
                    net.sockets.version = readVersion(s.value, s.key);
                else
                    net.sockets.maxSockets = static_cast<int>(readInteger(s.value, s.key, 0, 65535));
            }
        } else if (f.key == "enumeration") {
            typed(x, Type::Object, f.key);
            checkKeys(x, {"error", "fail"}, "\"enumeration\"");
            for (const JsonMember& e : x.members) {
                if (e.key == "fail") {
                    net.enumerationFail = readBool(e.value, e.key);
                    continue;
                }
                const auto code = readInteger(e.value, e.key, 0, 0xFFFFFFFFLL);
                // 234 asks the caller to call again, and every call answers the
                // same: the enumeration would never end.
                if (code == 234)
                    throw FormatError{e.value.position, "expected an error code other than 234 (more data) for "
                                                        "\"error\": the enumeration would never end"};
                net.enumerationError = static_cast<std::uint32_t>(code);
            }
        } else if (f.key == "computers") {
            for (const JsonValue& c : typed(x, Type::Array, f.key).items)
                net.computers.push_back(readComputer(c));
        }
    }
}

} // namespace

std::shared_ptr<SimulatedNetwork> SimulatedNetwork::parse(const std::string& text, const std::string& fileName,
                                                          std::string& error)
{
    JsonValue root;
    std::string syntax;
    if (!parseJson(text, root, syntax)) {
        error = fileName + ":" + syntax;
        return nullptr;
    }
    auto net = std::make_shared<SimulatedNetwork>();
    try {
        readNetwork(root, *net);
    } catch (const FormatError& e) {
        error = fileName + ":" + std::to_string(e.position.line) + ":" + std::to_string(e.position.column) + ": " +
                e.message;
        return nullptr;
    }
    return net;
}

std::shared_ptr<SimulatedNetwork> SimulatedNetwork::load(const std::filesystem::path& file, std::string& error)
{
    const std::string name = file.string();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        error = name + ": the file does not exist";
        return nullptr;
    }
    if (std::filesystem::is_directory(file, ec)) {
        error = name + ": is a folder, expected a network file";
        return nullptr;
    }
    // A device or a FIFO would be read for ever or wait for a writer that never comes.
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = name + ": is not a regular file (a device, a FIFO or a socket), expected a network file";
        return nullptr;
    }
    const std::string tooLarge = name + ": the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
    if (const auto size = std::filesystem::file_size(file, ec); !ec && size > kMaxFileBytes) {
        error = tooLarge;
        return nullptr;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text;
    // Read no more than the limit allows, even from a file that grows meanwhile.
    text.resize(kMaxFileBytes + 1);
    if (in)
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in && !in.eof()) {
        error = name + ": the file cannot be read";
        return nullptr;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        error = tooLarge;
        return nullptr;
    }
    return parse(text, name, error);
}

} // namespace vorlu
