#include "platform/JsonReader.h"

#include <gtest/gtest.h>

using namespace vorlu;

namespace {

JsonValue parsed(const std::string& text)
{
    JsonValue v;
    std::string error;
    EXPECT_TRUE(parseJson(text, v, error)) << error;
    return v;
}

std::string failure(const std::string& text)
{
    JsonValue v;
    std::string error;
    EXPECT_FALSE(parseJson(text, v, error)) << text;
    return error;
}

} // namespace

TEST(JsonReader, RecordsLineAndColumnOfEveryValueAndKey)
{
    const JsonValue v = parsed("{\n  \"a\": [1, true],\n\t\"b\" : \"x\"\n}");
    ASSERT_EQ(v.type, JsonValue::Type::Object);
    EXPECT_EQ(v.position.line, 1);
    EXPECT_EQ(v.position.column, 1);
    const JsonMember* a = v.member("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->keyPosition.line, 2);
    EXPECT_EQ(a->keyPosition.column, 3);
    ASSERT_EQ(a->value.items.size(), 2u);
    EXPECT_EQ(a->value.items[1].position.line, 2);
    EXPECT_EQ(a->value.items[1].position.column, 12);
    const JsonMember* b = v.member("b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->value.position.line, 3);
    EXPECT_EQ(b->value.position.column, 8); // a tab counts as one column
}

TEST(JsonReader, ColumnsCountCharactersNotBytes)
{
    const JsonValue v = parsed("[\"\xC3\xA9\xC3\xA9\", 7]");
    EXPECT_EQ(v.items[1].position.column, 8);
}

TEST(JsonReader, KeepsNumbersAsWrittenAndDecodesEscapes)
{
    const JsonValue v = parsed("[-1, 3, 2.50, 1e3, \"a\\\"b\\\\c\\/\\n\\u00e9\\ud83d\\ude00\"]");
    EXPECT_EQ(v.items[0].text, "-1");
    EXPECT_EQ(v.items[2].text, "2.50");
    EXPECT_EQ(v.items[3].text, "1e3");
    EXPECT_EQ(v.items[4].text, "a\"b\\c/\n\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(JsonReader, AcceptsByteOrderMarkAndSurroundingBlanks)
{
    const JsonValue v = parsed("\xEF\xBB\xBF  \r\n null \n");
    EXPECT_TRUE(v.isNull());
}

TEST(JsonReader, SyntaxErrorsGiveThePositionAndWhatWasExpected)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "1:1: expected a value, found the end of the document"},
        {"{\"a\": 1,\n \"b\" 2}", "2:6: expected ':' after the key"},
        {"[1 2]", "1:4: expected ',' or ']' after an array item"},
        {"{\"a\": 1 \"b\": 2}", "1:9: expected ',' or '}' after an object member"},
        {"{\"a\": 1,}", "1:9: expected a key in double quotes"},
        {"[01]", "1:3: a number cannot have a leading zero"},
        {"[1.]", "1:4: expected a digit"},
        {"[tru]", "1:2: expected a value"},
        {"[\"abc", "1:6: expected '\"' to close the string"},
        {"[\"a\nb\"]", "1:4: expected '\"' before the end of the line"},
        {"[\"\\x\"]", "1:4: expected an escape: \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\u"},
        {"[\"\\ud800x\"]", "1:3: expected a low surrogate after a high surrogate"},
        {"{} {}", "1:4: expected the end of the document"},
        {"{\"a\": 1, \"a\": 2}", "1:10: duplicate key \"a\""},
        {"// note\n{}", "1:1: expected a value"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failure(c.text), c.error) << c.text;
}

TEST(JsonReader, RefusesNestingDeepEnoughToExhaustTheStack)
{
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(failure(deep), "1:130: nesting too deep");
}
