// The JSON writer: escaping of any bytes, numbers with every digit an extended
// value needs, and the layout of nested objects.

#include "json.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string want;
};

const EscapeCase kEscapeCases[] = {
    {"plain", "1.025", "\"1.025\""},
    {"empty", "", "\"\""},
    {"quote and backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
    {"slash stays", "a/b", "\"a/b\""},
    {"short escapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
    {"other controls and DEL", "\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
    {"NUL inside", std::string("a\0b", 3), "\"a\\u0000b\""},
    {"bytes above 0x7F as Latin-1", "5\xB0\xFF", "\"5\\u00b0\\u00ff\""},
    {"UTF-8 is bytes too", "\xC3\xA9", "\"\\u00c3\\u00a9\""},
};

TEST(JsonStringTest, Escapes)
{
    for (const EscapeCase& c : kEscapeCases) {
        std::string out;
        AppendJsonString(out, c.text);
        EXPECT_EQ(c.want, out) << c.name;
    }
}

// No byte, alone or among others, can leave the output anything but printable ASCII.
TEST(JsonStringTest, EveryByteGivesPrintableAscii)
{
    for (int byte = 0; byte < 256; ++byte) {
        std::string out;
        AppendJsonString(out, std::string(1, static_cast<char>(byte)));
        for (const char c : out)
            EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << "byte " << byte << " gave " << out;
    }
}

struct NumberCase {
    const char* name;
    long double value;
    const char* want;
};

const NumberCase kNumberCases[] = {
    {"zero", 0.0L, "0"},
    {"negative zero", -0.0L, "-0"},
    {"integer", 12.0L, "12"},
    {"0.2 shows its extended error", 0.2L, "0.200000000000000000003"},
    {"start text of the pitch diameter", 1.025L, "1.02499999999999999998"},
    {"tolerance widened from single", static_cast<long double>(1e-15f), "1.00000000362749372554e-15"},
    {"2^127", 0x1p127L, "1.70141183460469231732e+38"},
    {"largest", LDBL_MAX, "1.18973149535723176502e+4932"},
    {"smallest denormal", 0x1p-16445L, "3.64519953188247460253e-4951"},
    {"negative", -0.0004L, "-0.000400000000000000000005"},
    {"NaN", NAN, "\"nan\""},
    {"negative NaN", -NAN, "\"nan\""},
    {"infinity", INFINITY, "\"inf\""},
    {"negative infinity", -INFINITY, "\"-inf\""},
};

TEST(JsonNumberTest, Texts)
{
    for (const NumberCase& c : kNumberCases)
        EXPECT_EQ(c.want, JsonNumber(c.value)) << c.name;
}

TEST(JsonWriterTest, NestedAndEmptyObjects)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.Integer(-1);
    json.Key("b");
    json.BeginObject();
    json.Key("c");
    json.Null();
    json.Key("d\n");
    json.Bool(true);
    json.EndObject();
    json.Key("e");
    json.BeginObject();
    json.EndObject();
    json.Key("f");
    json.Number(0.5L);
    json.EndObject();
    EXPECT_EQ("{\n"
              "  \"a\": -1,\n"
              "  \"b\": {\n"
              "    \"c\": null,\n"
              "    \"d\\n\": true\n"
              "  },\n"
              "  \"e\": {},\n"
              "  \"f\": 0.5\n"
              "}",
              json.Text());
}

}  // namespace
