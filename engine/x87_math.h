// The engine's elementary functions, taken straight from the x87 unit so that
// every build computes the same bits: the library routines of the two C
// runtimes may differ, the instructions do not. Private to the engine.
//
// Accuracy: fsin, fcos and fpatan deliver results within one unit in the last
// place of the extended format over the ranges the solver uses (|x| below a few
// radians); the tests compare them with quadruple-precision references.
// Range: fsin and fcos reduce arguments below 2^63 themselves; larger ones are
// reduced here by fprem1 modulo 2*pi first, as the unit leaves them untouched.
// Special cases: NaN gives NaN; an infinity gives NaN (invalid, masked).
#pragma once

namespace x87 {

// Status-word bit C2: set by fsin/fcos when the argument was out of range and
// by fprem1 while the reduction is incomplete.
inline constexpr unsigned short kStatusC2 = 0x0400;

// x modulo 2*pi by repeated partial remainders; each fprem1 lowers the
// exponent by up to 63, so a few hundred rounds reduce the largest values.
inline long double ReduceTwoPi(long double x)
{
    long double twoPi;
    asm("fldpi\n\tfadd %%st(0), %%st(0)" : "=t"(twoPi));
    unsigned short status;
    do {
        asm("fprem1\n\tfnstsw %%ax" : "+t"(x), "=a"(status) : "u"(twoPi));
    } while (status & kStatusC2);
    return x;
}

inline long double Sin(long double x)
{
    long double result;
    unsigned short status;
    asm("fsin\n\tfnstsw %%ax" : "=t"(result), "=a"(status) : "0"(x));
    if (status & kStatusC2)
        asm("fsin" : "=t"(result) : "0"(ReduceTwoPi(x)));
    return result;
}

inline long double Cos(long double x)
{
    long double result;
    unsigned short status;
    asm("fcos\n\tfnstsw %%ax" : "=t"(result), "=a"(status) : "0"(x));
    if (status & kStatusC2)
        asm("fcos" : "=t"(result) : "0"(ReduceTwoPi(x)));
    return result;
}

// Arctangent of x, in (-pi/2, pi/2): fpatan computes atan(st1 / st0).
inline long double Atan(long double x)
{
    long double result;
    asm("fpatan" : "=t"(result) : "0"(1.0L), "u"(x) : "st(1)");
    return result;
}

// x rounded to an integer in the current rounding mode (to nearest, ties to even).
inline long double RoundToInteger(long double x)
{
    long double result;
    asm("frndint" : "=t"(result) : "0"(x));
    return result;
}

}  // namespace x87
