// The JSON writer of the command line: escaping, numbers, and the layout of
// nested objects.

#include "json.h"

#include <cmath>
#include <cstdio>

namespace {

// printf conversion giving 21 significant digits: an extended value (64-bit
// significand) needs 21 to be told apart from its neighbours.
constexpr const char* kNumberFormat = "%.21Lg";
// Enough for the sign, 21 digits, point and a five-digit exponent.
constexpr std::size_t kNumberBufferSize = 48;

constexpr std::string_view kIndentStep = "  ";
constexpr char kHexDigits[] = "0123456789abcdef";

// Highest control character, and DEL, which is escaped as well so that every
// byte that does not show as itself is spelled out.
constexpr unsigned char kLastControlCharacter = 0x1F;
constexpr unsigned char kDelete = 0x7F;

void AppendUnicodeEscape(std::string& out, unsigned char byte)
{
    out += "\\u00";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\b': out += "\\b"; continue;
        case '\f': out += "\\f"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (byte <= kLastControlCharacter || byte >= kDelete)
            AppendUnicodeEscape(out, byte);  // above DEL: the Latin-1 character of that code
        else
            out += c;
    }
    out += '"';
}

std::string JsonNumber(long double value)
{
    if (std::isnan(value))
        return "\"nan\"";
    if (std::isinf(value))
        return value > 0 ? "\"inf\"" : "\"-inf\"";
    char buffer[kNumberBufferSize];
    std::snprintf(buffer, sizeof buffer, kNumberFormat, value);
    return buffer;
}

void JsonWriter::BeginObject()
{
    out_ += '{';
    objectHasMembers_.push_back(false);
}

void JsonWriter::EndObject()
{
    const bool hadMembers = objectHasMembers_.back();
    objectHasMembers_.pop_back();
    if (hadMembers) {
        out_ += '\n';
        Indent(objectHasMembers_.size());
    }
    out_ += '}';
}

void JsonWriter::Key(std::string_view key)
{
    if (objectHasMembers_.back())
        out_ += ',';
    objectHasMembers_.back() = true;
    out_ += '\n';
    Indent(objectHasMembers_.size());
    AppendJsonString(out_, key);
    out_ += ": ";
}

void JsonWriter::String(std::string_view text) { AppendJsonString(out_, text); }
void JsonWriter::Null() { out_ += "null"; }
void JsonWriter::Bool(bool value) { out_ += value ? "true" : "false"; }
void JsonWriter::Integer(long long value) { out_ += std::to_string(value); }
void JsonWriter::Number(long double value) { out_ += JsonNumber(value); }

void JsonWriter::Indent(std::size_t depth)
{
    for (std::size_t i = 0; i < depth; ++i)
        out_ += kIndentStep;
}
