// A small JSON writer for the command line's one object: strings escaped so
// that any input bytes make valid JSON, extended numbers with all their digits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends `text` as a JSON string. Quote, backslash and the control characters
// are escaped (\n, \t and the like, \u00XX for the others and for DEL). Texts
// are bytes without a declared encoding, so each byte above 0x7F is read as
// Latin-1 and written \u00XX: the output is plain ASCII and always valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

// `value` as a JSON value: a finite value as a number with 21 significant
// digits, enough to tell every extended value apart ("-0" for negative zero);
// NaN, plus and minus infinity as the strings "nan", "inf" and "-inf", which
// JSON has no numbers for.
std::string JsonNumber(long double value);

// Writes one object, pretty-printed with two-space indentation, members in the
// order given. The caller pairs each Key with one value and each BeginObject
// with EndObject; objects may nest.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void Key(std::string_view key);

    void String(std::string_view text);
    void Null();
    void Bool(bool value);
    void Integer(long long value);
    void Number(long double value);

    // The text so far; complete once every object is ended.
    const std::string& Text() const { return out_; }

private:
    void Indent(std::size_t depth);

    std::string out_;
    std::vector<bool> objectHasMembers_;  // one entry per open object
};
