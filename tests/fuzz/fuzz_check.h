// How a fuzz target reports a broken property: it prints what was wanted and
// what came, with the input, and aborts, so that libFuzzer keeps the input as
// a crash artifact that can be replayed. Also the check every engine target
// makes of the x87 unit after its call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// An extended value as an exact hex float ("0x8p-3"), the form the engine's
// tables use, so that a failure can be pasted into a regression row.
inline std::string HexText(long double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%La", value);
    return text;
}

// The input's bytes, printable ones as they are and the rest as \xNN.
inline std::string EscapedText(std::string_view input)
{
    std::string text;
    for (const char c : input) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            text += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text;
}

// Stops the run: `what` names the broken property, `want` and `got` say what
// it expected and what it found, `input` is the text (or a description) that
// broke it.
[[noreturn]] inline void Fail(std::string_view input, std::string_view what, std::string_view want,
                              std::string_view got)
{
    std::fprintf(stderr, "property broken: %.*s\n  input: \"%s\"\n  want:  %.*s\n  got:   %.*s\n",
                 static_cast<int>(what.size()), what.data(), EscapedText(input).c_str(),
                 static_cast<int>(want.size()), want.data(), static_cast<int>(got.size()), got.data());
    std::abort();
}

// x87 status word: the stack fault flag, and the three bits of the register
// stack's top (0 when the stack is empty, as the calling convention leaves it
// between calls).
inline constexpr unsigned kStatusStackFault = 0x0040;
inline constexpr unsigned kStatusTopMask = 0x3800;

// Stops the run unless the engine's x87 code left the register stack as the
// calling convention wants it. The stack fault flag is sticky (until the mode
// is loaded again) and the top stays where a faulty asm statement leaves it, so
// one look after a series of calls covers them all.
inline void CheckX87StackBalanced(std::string_view input)
{
    std::uint16_t status;
    asm volatile("fnstsw %0" : "=m"(status) : : "memory");
    if ((status & kStatusStackFault) != 0 || (status & kStatusTopMask) != 0)
        Fail(input, "the x87 register stack is left balanced", "no stack fault, top 0",
             "status word " + std::to_string(status));
}

}  // namespace fuzz
