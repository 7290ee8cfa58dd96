// SPDX-License-Identifier: GPL-3.0-or-later
// Number text: the exact conversions between extended values and the engine's texts.
#include "engine/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace zentu {
namespace {

TEST(NumberToText, FixedAndExponentForms) {
    const struct {
        long double v;
        const char* text;
    } cases[] = {
        {0, "0.000000000000"},
        {5, "5.000000000000"},
        {1.0L / 3, "0.333333333333"},
        {-2.0L / 3, "-0.666666666667"},
        {1e20L, "100000000000000000000.000000000000"},
        {4e-13L, "0.000000000000"},
        {6e-13L, "0.000000000001"},
        {5e-13L, "0.000000000001"},  // the 18 digits are 5000..., rounded half away from zero
        {-1e-20L, "-0.000000000000"},
        {2.0000000000005L, "2.000000000001"},  // rounds the decimal digits, not the binary value
        {0.1L + 0.2L, "0.300000000000"},
        {123456789.123456789L, "123456789.123456789000"},  // digits past the 18th are zeros
        {999999999999.9999995L, "1000000000000.000000000000"},
        {1.234e40L, "1.2E+0040"},
        {9.96e40L, "1.0E+0041"},
        {5e-40L, "5.0E-0040"},
        {-1.25e40L, "-1.3E+0040"},
        {664613997892457935983529168893640704.0L,
         "664613997892457936000000000000000000.000000000000"},
        {6.71234e35L, "6.7E+0035"},
        {0x1p-116L, "0.000000000000"},
        {0x1p-117L, "6.0E-0036"},
        {HUGE_VALL, "+Inf"},
        {-HUGE_VALL, "-Inf"},
        {std::nanl(""), "Nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberToText(c.v), c.text) << double(c.v);
}

TEST(TextToNumber, WellFormedTokens) {
    EXPECT_EQ(TextToNumber(""), 0);
    EXPECT_EQ(TextToNumber("."), 0);
    EXPECT_EQ(TextToNumber("5."), 5);
    EXPECT_EQ(TextToNumber(".5"), 0.5L);
    EXPECT_EQ(TextToNumber("E5"), 0);
    EXPECT_EQ(TextToNumber("-3"), -3);
    EXPECT_EQ(TextToNumber("1E-5"), 1e-5L);
    EXPECT_EQ(TextToNumber("1.0E+0040"), 1e40L);
    EXPECT_EQ(TextToNumber("0.333333333333"), 333333333333.0L / 1e12L);
    // More than 19 digits and far exponents are read correctly rounded, like the fast path.
    EXPECT_EQ(TextToNumber("123456789012345678901234567890"), 123456789012345678901234567890.0L);
    EXPECT_EQ(TextToNumber("1E-4940"), 1e-4940L);
    EXPECT_EQ(TextToNumber("1E5120"), HUGE_VALL);
    EXPECT_EQ(TextToNumber("-1E9999"), -HUGE_VALL);
    EXPECT_EQ(TextToNumber("1E-5120"), 0);
    EXPECT_THROW(TextToNumber("1E5000"), EvalFailure);
    EXPECT_THROW(TextToNumber("2E4932"), EvalFailure);
}

// A random token of the calculator's number syntax: an optional sign, digits with an
// optional "." anywhere among them (leading and trailing zeros included), and an
// optional "E" exponent with an optional sign. Lengths reach past the 19 digits that the
// fast path holds, exponents past its 27 powers of ten, past the extended range
// (about 1E4932 and 1E-4951) and past 5120 either way. `power` is the exponent minus the
// digits after the ".".
struct RandomToken {
    std::string text;
    bool negative = false;
    long long power = 0;
};

RandomToken MakeToken(std::mt19937_64& random) {
    const auto below = [&random](unsigned long long n) { return (long long)(random() % n); };
    RandomToken t;
    if (below(4) == 0) {
        t.text += '-';
        t.negative = true;
    } else if (below(8) == 0) {
        t.text += '+';
    }
    const long long kind = below(20);
    const long long length = kind < 12   ? 1 + below(19)
                             : kind < 17 ? 20 + below(11)
                                         : 31 + below(15);
    std::string digits;
    if (below(5) == 0) digits.append(std::size_t(1 + below(25)), '0');
    for (long long i = 0; i < length; ++i) digits += char('0' + below(10));
    if (below(5) == 0) digits.append(std::size_t(1 + below(25)), '0');
    long long frac = 0;
    if (below(3) != 0) {
        const long long point = below((long long)digits.size() + 1);
        frac = (long long)digits.size() - point;
        digits.insert(std::size_t(point), 1, '.');
    }
    t.text += digits;
    long long exponent = 0;
    if (below(4) != 0) {
        const long long range = below(20);
        if (range < 7)
            exponent = below(71) - 35;
        else if (range < 10)
            exponent = below(801) - 400;
        else if (range < 13)
            exponent = (4890 + below(101)) * (below(2) ? 1 : -1);
        else if (range < 16)
            exponent = (5080 + below(81)) * (below(2) ? 1 : -1);
        else if (range < 18)
            exponent = ((below(2) ? 9995 : 99995) + below(11)) * (below(2) ? 1 : -1);
        else
            exponent = below(3000000) * (below(2) ? 1 : -1);
        t.text += 'E';
        if (exponent < 0)
            t.text += '-';
        else if (below(3) == 0)
            t.text += '+';
        if (below(10) == 0) t.text.append(std::size_t(1 + below(3)), '0');
        t.text += std::to_string(exponent < 0 ? -exponent : exponent);
    }
    t.power = exponent - frac;
    return t;
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;  // the 80 value bits, not the padding
}

// The reader against the C library's correctly rounded strtold on random tokens of every
// shape. Where the reader's rules for far powers of ten differ from strtold, the rule
// itself is checked: a power of 5120 or more is infinity with the token's sign and no
// failure, whatever the digits; a power of -5120 or less is 0; in between, a value beyond
// the extended range is an overflow failure instead of strtold's infinity.
TEST(TextToNumber, AgreesWithStrtold) {
    std::mt19937_64 random(5120);
    int infinite = 0, zero = 0, overflow = 0, value = 0;
    for (int i = 0; i < 200000; ++i) {
        const RandomToken t = MakeToken(random);
        const long double want = std::strtold(t.text.c_str(), nullptr);
        if (t.power >= 5120) {
            ++infinite;
            ASSERT_EQ(TextToNumber(t.text), t.negative ? -HUGE_VALL : HUGE_VALL) << t.text;
        } else if (t.power <= -5120) {
            ++zero;
            ASSERT_EQ(TextToNumber(t.text), 0) << t.text;
            ASSERT_EQ(want, 0) << t.text;  // so few digits cannot lift it into the range
        } else if (std::isinf(want)) {
            ++overflow;
            ASSERT_THROW(TextToNumber(t.text), EvalFailure) << t.text;
        } else {
            ++value;
            const long double got = TextToNumber(t.text);
            ASSERT_TRUE(SameBits(got, want))
                << t.text << ": " << double(got) << " for " << double(want);
        }
    }
    // Every rule was met many times over.
    EXPECT_GT(std::min({infinite, zero, overflow, value}), 1000);
}

TEST(TextToNumber, MalformedTokensGiveTheDigitsReadSoFar) {
    EXPECT_EQ(TextToNumber("1.5.2"), 15);
    EXPECT_EQ(TextToNumber("5E"), 5);
    EXPECT_EQ(TextToNumber("1.5E+"), 15);
    EXPECT_EQ(TextToNumber("-"), 0);
    EXPECT_EQ(TextToNumber("2.0000000000003.000000000000"), 20000000000003.0L);
    EXPECT_FALSE(IsWellFormedToken("1.5.2"));
    EXPECT_FALSE(IsWellFormedToken("5E"));
    EXPECT_FALSE(IsWellFormedToken("1.5E+"));
    EXPECT_FALSE(IsWellFormedToken("1E5E3"));
    EXPECT_TRUE(IsWellFormedToken("5."));
    EXPECT_TRUE(IsWellFormedToken(".5"));
    EXPECT_TRUE(IsWellFormedToken("1.5E-07"));
}

// The step counts of INT and DIF and the graph's sample count are read by ReadInteger:
// the whole text, one sign at most, any number of digits.
TEST(ReadInteger, WholeTextWithOneSignHeldAtTheRangeEnds) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    constexpr long long kMin = std::numeric_limits<long long>::min();
    const struct {
        const char* text;
        std::optional<long long> value;
    } cases[] = {
        {"0", 0},
        {"-0", 0},
        {"+17", 17},
        {"-17", -17},
        {"0065535", 65535},
        {"9223372036854775807", kMax},
        {"9223372036854775808", kMax},
        {"99999999999999999999999999", kMax},
        {"-9223372036854775808", kMin},
        {"-9223372036854775809", kMin},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-5", std::nullopt},
        {"-+5", std::nullopt},
        {"--5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"1.5", std::nullopt},
        {"1E3", std::nullopt},
        {"0x10", std::nullopt},
        {"99999999999999999999x", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadInteger(c.text), c.value) << '"' << c.text << '"';
}

// The integer fast path of the 18-digit conversion agrees with the C library's exact
// conversion over values of every magnitude the engine writes.
TEST(Decimal18, AgreesWithExactConversion) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> exponent(-40, 40);
    for (int i = 0; i < 200000; ++i) {
        long double v = std::pow(10.0L, exponent(random)) * (1 + (random() % 1000000) / 1e6L);
        if (i % 3 == 0) v = std::nearbyint(v * 1e6L) / 1e6L;  // decimal-looking values
        if (v == 0) continue;
        if (i % 7 == 0) v = -v;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", v);
        const Decimal18 d = ToDecimal18(v);
        char mine[64];
        std::snprintf(mine, sizeof mine, "%s%llu e%d", d.negative ? "-" : "",
                      static_cast<unsigned long long>(d.digits), d.exponent);
        std::string digits;
        for (const char* c = buf; *c && *c != 'e'; ++c)
            if (*c >= '0' && *c <= '9') digits += *c;
        const int exp = std::atoi(std::strchr(buf, 'e') + 1) - 17;
        ASSERT_EQ(std::string(mine), (v < 0 ? "-" : "") + digits + " e" + std::to_string(exp))
            << buf;
    }
}

// The exponent form (beyond 2^119 and below 2^-116) agrees with the exact 18 digits
// rounded to two, over the whole extended range.
TEST(NumberToText, ExponentFormAgreesWithExactConversion) {
    std::mt19937_64 random(4932);
    std::uniform_real_distribution<double> exponent(36, 4931);
    for (int i = 0; i < 100000; ++i) {
        long double v =
            std::pow(10.0L, (long double)exponent(random)) * (1 + (random() % 100000) / 1e5L);
        if (i % 2) v = 1 / v;
        if (i % 5 == 0)
            v = std::nearbyint(v / std::pow(10.0L, std::floor(std::log10(v)) - 3)) *
                std::pow(10.0L, std::floor(std::log10(v)) - 3);  // near x.x5 boundaries
        if (!std::isfinite(v) || v == 0 || (v >= 0x1p-116L && v <= 6.64e35L)) continue;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", v);
        std::string digits;
        for (const char* c = buf; *c && *c != 'e'; ++c)
            if (*c >= '0' && *c <= '9') digits += *c;
        int exp = std::atoi(std::strchr(buf, 'e') + 1);
        int two = (digits[0] - '0') * 10 + (digits[1] - '0') + (digits[2] >= '5' ? 1 : 0);
        if (two == 100) {
            two = 10;
            ++exp;
        }
        char want[32];
        std::snprintf(want, sizeof want, "%d.%dE%c%04d", two / 10, two % 10, exp < 0 ? '-' : '+',
                      exp < 0 ? -exp : exp);
        ASSERT_EQ(NumberToText(v), want) << buf;
    }
}

// The fixed form of v from its exact 18 digits, rounded to 12 decimals half away from
// zero with character arithmetic.
std::string ReferenceFixed(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    std::string digits;
    for (const char* c = buf; *c && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9') digits += *c;
    const int lead = std::atoi(std::strchr(buf, 'e') + 1);
    // All digits down to the 13th decimal, the point after `whole` of them.
    std::string all = lead >= 0 ? digits : std::string(std::size_t(-lead), '0') + digits;
    const std::size_t whole = lead >= 0 ? std::size_t(lead) + 1 : 1;
    all.resize(whole + 13, '0');
    const bool up = all.back() >= '5';
    all.pop_back();
    for (std::size_t i = all.size(); up && i-- > 0;) {
        if (all[i] == '9') {
            all[i] = '0';
            if (i == 0) all.insert(all.begin(), '1');
        } else {
            ++all[i];
            break;
        }
    }
    std::string text = all.substr(0, all.size() - 12);
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    return (v < 0 ? "-" : "") + text + "." + all.substr(all.size() - 12);
}

// The fixed form against the exact 18 digits placed around the point and cut to 12
// decimals half away from zero with character arithmetic.
TEST(NumberToText, FixedFormAgreesWithExactConversion) {
    std::mt19937_64 random(1212);
    std::uniform_real_distribution<double> exponent(-13, 36);
    for (int i = 0; i < 200000; ++i) {
        long double v = std::pow(10.0L, exponent(random)) * (1 + (random() % 1000000) / 1e6L);
        if (i % 4 == 0) v = (std::nearbyint(v * 1e12L) + 0.5L) / 1e12L;  // at a 13th-decimal half
        if (i % 7 == 0) v = -v;
        if (!(std::fabs(v) >= 4.9e-13L && std::fabs(v) <= 6.6e35L)) continue;
        ASSERT_EQ(NumberToText(v), ReferenceFixed(v)) << static_cast<double>(v);
    }
}

// The edges of the fixed form and their neighbours: below 4.9e-13 the text is zero,
// outside [2^-116, (2^64 - 13) * 2^55] it is the exponent form.
TEST(NumberToText, EdgesOfTheFixedRange) {
    const long double fixed_max = 664613997892457935983529168893640704.0L;
    const long double edges[] = {4.9e-13L, 0x1p-41L, 0x1p-40L,    0x1p-116L,   fixed_max,
                                 0x1p118L, 0x1p119L, 0x1p-16445L, 0x1p-16382L, 0.0L};
    for (const long double edge : edges) {
        for (const long double v :
             {std::nextafter(edge, -1.0L), edge, std::nextafter(edge, 1e300L)}) {
            for (const long double s : {v, -v}) {
                const long double a = std::fabs(s);
                const std::string text = NumberToText(s);
                if (a == 0 || (a >= 0x1p-116L && a < 4.9e-13L))
                    EXPECT_EQ(text, s < 0 ? "-0.000000000000" : "0.000000000000")
                        << static_cast<double>(s);
                else if (!(a >= 0x1p-116L && a <= fixed_max))
                    EXPECT_NE(text.find('E'), std::string::npos) << text;
                else
                    EXPECT_EQ(text, ReferenceFixed(s)) << static_cast<double>(s);
            }
        }
    }
}

TEST(ResultText, GeneralFormWithFifteenDigits) {
    const struct {
        long double v;
        const char* text;
    } cases[] = {
        {14, "14"},
        {0.333333333333L, "0.333333333333"},
        {0.0001L, "0.0001"},
        {0.00001L, "1E-5"},
        {123456789012345.0L, "123456789012345"},
        {1e15L, "1E15"},
        {-2.5e20L, "-2.5E20"},
        {1234567890123456.0L, "1.23456789012346E15"},
        {0.0000123L, "1.23E-5"},
        {-0.0L, "0"},
        {HUGE_VALL, "INF"},
        {-HUGE_VALL, "-INF"},
        {std::nanl(""), "NAN"},
        {999999999999999.5L, "1E15"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResultText(c.v), c.text);
    EXPECT_EQ(ResultText(2.5L, ","), "2,5");
    EXPECT_EQ(ResultText(1.5e-7L, ","), "1,5E-7");
    EXPECT_EQ(ResultText(-0.0025L, " dec. "), "-0 dec. 0025");
    EXPECT_EQ(ResultText(12.5L, "<a long separator>"), "12<a long separator>5");
    EXPECT_EQ(ResultText(1e20L, "<a long separator>"), "1E20");
}

TEST(RoundToDecimals, TiesToEvenAndOverflow) {
    bool overflow = false;
    EXPECT_EQ(ResultText(RoundToDecimals(2.5L, 0, overflow)), "2");
    EXPECT_EQ(ResultText(RoundToDecimals(3.5L, 0, overflow)), "4");
    EXPECT_EQ(ResultText(RoundToDecimals(1.0L / 3, 2, overflow)), "0.33");
    EXPECT_FALSE(overflow);
    RoundToDecimals(1e4930L, 12, overflow);
    EXPECT_TRUE(overflow);
}

}  // namespace
}  // namespace zentu
