#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vorlu {

// Where a token starts in the text: 1-based line and column (columns count
// characters, not bytes).
struct JsonPosition {
    int line = 1;
    int column = 1;
};

struct JsonMember;

// A parsed JSON value that remembers where it was written, so that readers of
// a format can point at the offending value, not just at a syntax error.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    JsonPosition position;
    bool boolean = false;
    std::string text;               // a string's value, or a number as written
    std::vector<JsonValue> items;   // Array
    std::vector<JsonMember> members; // Object, in file order

    bool isNull() const { return type == Type::Null; }
    // The member called key, or nullptr.
    const JsonMember* member(const std::string& key) const;
};

struct JsonMember {
    std::string key;
    JsonPosition keyPosition;
    JsonValue value;
};

// text in double quotes with JSON escapes for quotes, backslashes and control
// characters, so that a key quoted in a message keeps the message on one line.
std::string jsonQuoted(std::string_view text);

// Short name of a type for messages: "a string", "an object", ...
const char* jsonTypeName(JsonValue::Type type);

// Parses one JSON document (UTF-8, an optional byte order mark). On failure
// returns false and sets error to "line:column: what was expected". Duplicate
// keys in an object are an error: the file's meaning would depend on which one
// wins.
bool parseJson(const std::string& text, JsonValue& out, std::string& error);

} // namespace vorlu
