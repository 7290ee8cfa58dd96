// SPDX-License-Identifier: GPL-3.0-or-later
// Number text: how the engine writes values into expression text and reads them back.
//
// Four text forms exist, each used where it belongs and never interchanged:
//   NumberToText   the engine's internal form: fixed with exactly 12 decimals, taken from
//                  the first 18 significant digits, or a 2-digit exponent form outside
//                  2^-116 .. 6.646e35 ("1.2E+0040"); "+Inf", "-Inf", "Nan".
//   ResultText     the calculator line's form: at most 15 significant digits, plain for
//                  decimal exponents -3..15, else "1.5E20" / "1E-5".
//   ConstantGeneralText / ConstantExponentText
//                  the 18-digit forms in which the named constants are inserted.
// All conversions are exact: a value's decimal digits are computed from its binary
// significand with integer arithmetic, rounded to nearest with ties to even, and only
// then rounded again on the decimal digits as each form prescribes.
//
// Where each part lives: the exact digits in number_digits.h/.cpp, the written forms in
// number_forms.cpp, the reader (TextToNumber, ReadInteger) in number_reader.cpp, the
// rounding of results in number_rounding.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentu {

// Thrown for every failure of an evaluation; caught by the innermost EvaluateExpression.
struct EvalFailure {};

// Characters of number tokens: ".", "0".."9" and the capital "E".
constexpr bool IsNumberChar(char c) {
    return c == '.' || c == 'E' || (c >= '0' && c <= '9');
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A finite value as 18 significant decimal digits: |v| = digits * 10^exponent, with
// 10^17 <= digits < 10^18 (digits = 0 for zero). Rounded to nearest, ties to even.
struct Decimal18 {
    bool negative = false;
    std::uint64_t digits = 0;
    int exponent = 0;
};
Decimal18 ToDecimal18(long double v);

std::string NumberToText(long double v);
void AppendNumberText(std::string& out, long double v);

// Reads a number token: an optional sign, digits with an optional ".", and an optional
// "E" (or "e") with an optional sign and digits; the empty token is 0. The value is the
// correctly rounded one, but for the power of ten p (the exponent minus the digits after
// the "."): p >= 5120 gives infinity with the token's sign, whatever the digits, and
// p <= -5120 gives 0; in between, a value beyond the extended range throws EvalFailure.
// A malformed token is no error: it gives the digits read so far, without sign or power.
long double TextToNumber(std::string_view token);

// Length of the number token that starts at text[p] (NumberChars, with a sign directly
// after an "E" taken along).
inline std::size_t NumberTokenLength(std::string_view text, std::size_t p) {
    const char* const begin = text.data() + p;
    const char* const end = text.data() + text.size();
    const char* c = begin;
    while (c != end && IsNumberChar(*c)) {
        if (*c++ == 'E' && c != end && (*c == '+' || *c == '-')) ++c;
    }
    return std::size_t(c - begin);
}

// Reads the whole text as a decimal integer: an optional sign and at least one digit, of
// any length; a value beyond the range of long long is held at the nearer end of it.
// Gives nothing for any other text (blanks included).
std::optional<long long> ReadInteger(std::string_view text);

// True when a token the user wrote is well formed: at most one ".", and an "E" only
// once, followed by an optional sign and at least one digit.
bool IsWellFormedToken(std::string_view token);

// The calculator line's result text (general form, 15 significant digits) with the
// given decimal separator.
std::string ResultText(long double v, std::string_view separator = ".");
void AppendResultText(std::string& out, long double v, std::string_view separator = ".");

// The constants' 18-digit forms (decimal point ".").
std::string ConstantGeneralText(long double v);
std::string ConstantExponentText(long double v);

// Rounding to d decimals: 10^-d * R(v * 10^d), R to nearest with ties to even.
// Sets `overflow` when the scaled value leaves the extended range.
long double RoundToDecimals(long double v, int d, bool& overflow);

}  // namespace zentu
