// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/number_text.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

static_assert(LDBL_MANT_DIG == 64, "the engine computes in the 80-bit extended format");

namespace zentu {
namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t kPow10[20] = {1ULL,
                                      10ULL,
                                      100ULL,
                                      1000ULL,
                                      10000ULL,
                                      100000ULL,
                                      1000000ULL,
                                      10000000ULL,
                                      100000000ULL,
                                      1000000000ULL,
                                      10000000000ULL,
                                      100000000000ULL,
                                      1000000000000ULL,
                                      10000000000000ULL,
                                      100000000000000ULL,
                                      1000000000000000ULL,
                                      10000000000000000ULL,
                                      100000000000000000ULL,
                                      1000000000000000000ULL,
                                      10000000000000000000ULL};

// Powers of ten that the extended format holds exactly (5^27 < 2^64).
constexpr long double kExactPow10[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                         1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                         1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                         1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// 10^k for k = 0..38, all below 2^128.
struct WidePowers {
    u128 p[39];
    constexpr WidePowers() : p() {
        p[0] = 1;
        for (int k = 1; k < 39; ++k) p[k] = p[k - 1] * 10;
    }
};
constexpr WidePowers kWidePow10;

// 10^k for k = -40..40, nearest extended values: a first guess at a value's leading
// digit position (the exact digits are checked afterwards).
struct NearPowers {
    long double p[81];
    NearPowers() {
        for (int k = -40; k <= 40; ++k) p[k + 40] = std::pow(10.0L, k);
    }
};
const NearPowers kNearPowers;

// For a binary exponent b (a value in [2^b, 2^(b+1))), the normalised 64-bit significand
// of the power of ten just above the estimate floor(b * log10(2)) when that power lies in
// the same binade, else all ones: a value whose normalised significand reaches it has
// one leading digit more. Integer compares cost less than the x87 ones; being a guess,
// the table may be off by a unit, which the digit count checks.
constexpr int kBinadeMin = -140, kBinadeMax = 140;
struct NextPowerTable {
    std::uint64_t threshold[kBinadeMax - kBinadeMin + 1];
    NextPowerTable() {
        for (int b = kBinadeMin; b <= kBinadeMax; ++b) {
            const int dec = (b * 78913) >> 18;
            std::uint64_t t = UINT64_MAX;
            if (dec + 1 >= -40 && dec + 1 <= 40) {
                const long double p = kNearPowers.p[dec + 1 + 40];
                int e;
                const long double frac = std::frexp(p, &e);  // p = frac * 2^e, frac in [0.5, 1)
                if (e - 1 == b) t = static_cast<std::uint64_t>(std::ldexp(frac, 64));
            }
            threshold[b - kBinadeMin] = t;
        }
    }
};
const NextPowerTable kNextPower;

// Rounds m * 2^e * 10^k to the nearest integer, ties to even, when the result fits in
// 64 bits. Returns false when the fast integer path cannot do it exactly.
bool ScaledRoundWide(std::uint64_t m, int e, int k, std::uint64_t& out);

// The common case inline: m * 10^k < 2^128, so one wide product does it.
inline bool ScaledRound(std::uint64_t m, int e, int k, std::uint64_t& out) {
    const int s = -e;
    if (k < 0 || k > 19 || e >= 0 || s >= 128) return ScaledRoundWide(m, e, k, out);
    const u128 n = u128(m) * kPow10[k];
    const u128 q = n >> s;
    if (q >> 64) return false;
    const u128 rem = n & ((u128(1) << s) - 1);
    const u128 half = u128(1) << (s - 1);
    std::uint64_t r = std::uint64_t(q);
    if (rem > half || (rem == half && (r & 1u))) {
        if (r == UINT64_MAX) return false;
        ++r;
    }
    out = r;
    return true;
}

__attribute__((noinline)) bool ScaledRoundWide(std::uint64_t m, int e, int k, std::uint64_t& out) {
    if (k >= 0) {
        if (k > 38 || e >= 0) return false;
        const int s = -e;
        // N = m * 10^k as three 64-bit limbs.
        const u128 p = kWidePow10.p[k];
        const u128 lo = u128(m) * std::uint64_t(p);
        const u128 hi = u128(m) * std::uint64_t(p >> 64);
        std::uint64_t w[3];
        w[0] = std::uint64_t(lo);
        u128 mid = (lo >> 64) + std::uint64_t(hi);
        w[1] = std::uint64_t(mid);
        w[2] = std::uint64_t(hi >> 64) + std::uint64_t(mid >> 64);
        if (s >= 192) return false;
        // q = N >> s must fit in 64 bits.
        const int limb = s / 64, sh = s % 64;
        std::uint64_t q;
        if (sh == 0) {
            q = w[limb];
            for (int i = limb + 1; i < 3; ++i)
                if (w[i]) return false;
        } else {
            const std::uint64_t low = w[limb] >> sh;
            const std::uint64_t high = limb + 1 < 3 ? w[limb + 1] : 0;
            if (limb + 1 < 3 && (high >> sh) != 0) return false;
            for (int i = limb + 2; i < 3; ++i)
                if (w[i]) return false;
            q = low | (high << (64 - sh));
        }
        // Remainder against one half: bit s-1, then anything below it.
        const int hb = s - 1;
        if ((w[hb / 64] >> (hb % 64)) & 1u) {
            bool below = (w[hb / 64] & ((std::uint64_t(1) << (hb % 64)) - 1)) != 0;
            for (int i = 0; i < hb / 64 && !below; ++i) below = w[i] != 0;
            if (below || (q & 1u)) {
                if (q == UINT64_MAX) return false;
                ++q;
            }
        }
        out = q;
        return true;
    }
    const int d = -k;  // divide by 10^d
    if (d > 19) return false;
    const std::uint64_t p = kPow10[d];
    if (e >= 0) {
        if (e > 63) return false;
        const u128 w = u128(m) << e;
        if ((w >> e) != m) return false;
        u128 q = w / p, r = w % p;
        if (2 * r > p || (2 * r == p && (q & 1u))) ++q;
        if (q >> 64) return false;
        out = std::uint64_t(q);
        return true;
    }
    const int s = -e;
    if (s >= 64) return false;
    const std::uint64_t whole = m >> s;
    const std::uint64_t frac = m & ((std::uint64_t(1) << s) - 1);
    std::uint64_t q = whole / p, r = whole % p;
    // Compare r + frac/2^s with p/2.
    const u128 twice = (u128(r) << (s + 1)) + (u128(frac) << 1);
    const u128 half = u128(p) << s;
    if (twice > half || (twice == half && (q & 1u))) ++q;
    out = q;
    return true;
}

Decimal18 SlowDecimal18(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    Decimal18 d;
    const char* c = buf;
    if (*c == '-') {
        d.negative = true;
        ++c;
    }
    std::uint64_t digits = 0;
    for (; *c && *c != 'e'; ++c)
        if (IsDigit(*c)) digits = digits * 10 + std::uint64_t(*c - '0');
    d.digits = digits;
    d.exponent = (*c == 'e' ? std::atoi(c + 1) : 0) - 17;
    return d;
}

char* WriteUnsigned(char* p, std::uint64_t v) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) *p++ = tmp[--n];
    return p;
}

char* WriteFixedDigits(char* p, std::uint64_t v, int width) {
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + v % 10);
        v /= 10;
    }
    return p + width;
}

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// A value's bits: the 64-bit significand (explicit integer bit) and the sign and
// exponent field. Read once per conversion, so the value is not passed through memory
// again for each step.
struct ExtendedBits {
    long double value = 0;
    std::uint64_t m = 0;
    unsigned se = 0;
    unsigned Biased() const { return se & 0x7FFF; }
    bool Negative() const { return (se & 0x8000) != 0; }
    // A finite number in the normal encoding (integer bit set), zero excluded.
    bool Normal() const { return (m >> 63) != 0 && Biased() != 0 && Biased() != 0x7FFF; }
};

inline ExtendedBits BitsOf(long double v) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &v, sizeof bytes);
    ExtendedBits b;
    b.value = v;
    std::memcpy(&b.m, bytes, 8);
    b.se = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    return b;
}

// Straight from the bits: the x87 compares cost more than the conversion's arithmetic.
inline Decimal18 Decimal18Of(const ExtendedBits& b) {
    Decimal18 d;
    const std::uint64_t m = b.m;
    const unsigned biased = b.Biased();
    if (biased == 0x7FFF || m == 0) return d;  // not finite, or zero
    d.negative = b.Negative();
    const int e = biased == 0 ? 1 - 16383 - 63 : int(biased) - 16383 - 63;
    // Estimate the decimal exponent of the leading digit from the binary one; it may be
    // one too small, which the digit count below corrects.
    const int lz = __builtin_clzll(m);
    const int bits = 63 - lz + e;    // |v| in [2^bits, 2^(bits+1))
    int dec = (bits * 78913) >> 18;  // floor(bits * log10(2)) for the exponents met here
    if (bits >= kBinadeMin && bits <= kBinadeMax &&
        (m << lz) >= kNextPower.threshold[bits - kBinadeMin])
        ++dec;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint64_t q;
        if (!ScaledRound(m, e, 17 - dec, q)) return SlowDecimal18(b.value);
        if (q >= kPow10[18]) {  // estimate one too small, or rounding carried
            ++dec;
            continue;
        }
        if (q < kPow10[17]) {
            --dec;
            continue;
        }
        d.digits = q;
        d.exponent = dec - 17;
        return d;
    }
    return SlowDecimal18(b.value);
}

// Eight digits of v < 10^8, leading zeros included, in two independent halves.
inline void EightDigits(std::uint32_t v, char* o) {
    const std::uint32_t high = v / 10000u, low = v % 10000u;
    std::memcpy(o, kTwoDigits + 2 * (high / 100u), 2);
    std::memcpy(o + 2, kTwoDigits + 2 * (high % 100u), 2);
    std::memcpy(o + 4, kTwoDigits + 2 * (low / 100u), 2);
    std::memcpy(o + 6, kTwoDigits + 2 * (low % 100u), 2);
}

// The 18 digits of d < 10^18 as characters, leading zeros included.
void EighteenDigits(std::uint64_t d, char* out) {
    const std::uint64_t rest = d % 10000000000000000ULL;
    std::memcpy(out, kTwoDigits + 2 * (d / 10000000000000000ULL), 2);
    EightDigits(std::uint32_t(rest / 100000000u), out + 2);
    EightDigits(std::uint32_t(rest % 100000000u), out + 10);
}

// Twelve digits of v < 10^12, leading zeros included.
char* TwelveDigits(char* p, std::uint64_t v) {
    const auto high = std::uint32_t(v / 100000000u), low = std::uint32_t(v % 100000000u);
    std::memcpy(p, kTwoDigits + 2 * (high / 100u), 2);
    std::memcpy(p + 2, kTwoDigits + 2 * (high % 100u), 2);
    EightDigits(low, p + 4);
    return p + 12;
}

// Drops the last `drop` (0..18) of a value's decimal digits, rounding half away from
// zero on them.
template <int Drop>
std::uint64_t DropDigitsBy(std::uint64_t q) {
    return (q + kPow10[Drop] / 2) / kPow10[Drop];  // a division by a constant: a multiplication
}
template <std::size_t... Drop>
constexpr std::array<std::uint64_t (*)(std::uint64_t), sizeof...(Drop)> DropTable(
    std::index_sequence<Drop...>) {
    return {&DropDigitsBy<int(Drop)>...};
}
constexpr auto kDropDigits = DropTable(std::make_index_sequence<19>());

inline std::uint64_t DropDigits(std::uint64_t q, int drop) {
    return kDropDigits[std::size_t(drop)](q);
}

// A value's significant digits as characters: |v| = 0.d[0]d[1]... * 10^(lead + 1).
struct DigitText {
    bool negative = false;
    char buffer[18];
    int first = 0;  // where d[0] stands in the buffer
    int count = 18;
    int lead = 0;  // decimal exponent of d[0]
    const char* d() const { return buffer + first; }
};

// The value's first `keep` (1..18) significant digits: the exact 18-digit value with its
// last digits dropped, half away from zero. A carry out of the first digit (99.96 to two
// digits) gives 1 followed by zeros and one more in the exponent.
DigitText DigitsOf(const ExtendedBits& bits, int keep) {
    const Decimal18 dec = Decimal18Of(bits);
    DigitText t;
    t.negative = dec.negative;
    t.lead = dec.exponent + 17;
    std::uint64_t q = DropDigits(dec.digits, 18 - keep);
    if (q == kPow10[keep]) {
        q /= 10;
        ++t.lead;
    }
    EighteenDigits(q, t.buffer);
    t.first = 18 - keep;
    t.count = keep;
    return t;
}

// Writes a NaN or an infinity in the spelling of the form at hand; false for a finite
// value, which is left to the caller.
bool AppendNonFinite(std::string& out, long double v, std::string_view nan, std::string_view inf,
                     std::string_view minus_inf) {
    if (std::isnan(v))
        out += nan;
    else if (std::isinf(v))
        out += v < 0 ? minus_inf : inf;
    else
        return false;
    return true;
}

// General form shared by the result text (15 digits, plain for exponents -3..15 of
// 0.d1d2...) and the constants (18 digits, plain for -3..18).
void AppendGeneral(std::string& out, long double v, int keep, int plain_max,
                   std::string_view separator) {
    const ExtendedBits bits = BitsOf(v);
    if (!bits.Normal()) {
        if (v == 0) {
            out += '0';
            return;
        }
        if (AppendNonFinite(out, v, "NAN", "INF", "-INF")) return;
    }
    const DigitText t = DigitsOf(bits, keep);
    int count = t.count;
    const char* digits = t.d();
    while (count > 1 && digits[count - 1] == '0') --count;
    const int first = t.lead;
    const int e = first + 1;  // |v| = 0.d1d2... * 10^e
    // Built in a local buffer and appended once; a separator longer than any real one
    // is put in afterwards in place of a ".".
    if (separator.size() > 8) {
        std::string text;
        AppendGeneral(text, v, keep, plain_max, ".");
        const std::size_t point = text.find('.');
        if (point != std::string::npos) text.replace(point, 1, separator);
        out += text;
        return;
    }
    char buf[64];
    char* p = buf;
    const auto put = [&p](const char* from, int n) {
        std::memcpy(p, from, std::size_t(n));
        p += n;
    };
    const auto zeros = [&p](int n) {
        std::memset(p, '0', std::size_t(n));
        p += n;
    };
    const auto point = [&put, separator] { put(separator.data(), int(separator.size())); };
    if (t.negative) *p++ = '-';
    if (e >= -3 && e <= plain_max) {
        if (e <= 0) {
            *p++ = '0';
            point();
            zeros(-e);
            put(digits, count);
        } else if (count <= e) {
            put(digits, count);
            zeros(e - count);
        } else {
            put(digits, e);
            point();
            put(digits + e, count - e);
        }
        out.append(buf, p);
        return;
    }
    *p++ = digits[0];
    if (count > 1) {
        point();
        put(digits + 1, count - 1);
    }
    *p++ = 'E';
    if (first < 0) *p++ = '-';
    p = WriteUnsigned(p, std::uint64_t(first < 0 ? -first : first));
    out.append(buf, p);
}

const long double kFixedMin = 0x1p-116L;
const long double kFixedMax = 664613997892457935983529168893640704.0L;  // (2^64 - 13) * 2^55

// Where a finite value falls for the fixed form: written, too small to reach the 12th
// decimal (zero included), or outside the fixed range (exponent form).
enum class FixedRange { Written, Below, Outside };

FixedRange FixedRangeOf(const ExtendedBits& bits) {
    const std::uint64_t m = bits.m;
    const int biased = int(bits.Biased());
    const long double a = std::fabs(bits.value);
    constexpr int kBias = 16383;
    // Normal numbers from the exponent field and the significand; the edges of
    // [4.9e-13, kFixedMax] that share a binade with other values are compared exactly.
    if (bits.Normal()) {
        if (biased < kBias - 116) return FixedRange::Outside;
        if (biased < kBias - 41 || (biased == kBias - 41 && a < 4.9e-13L)) return FixedRange::Below;
        if (biased < kBias + 118 || (biased == kBias + 118 && m <= 0xFFFFFFFFFFFFFFF3ULL))
            return FixedRange::Written;
        return FixedRange::Outside;
    }
    if (a == 0 || (a >= kFixedMin && a < 4.9e-13L)) return FixedRange::Below;
    if (!(a >= kFixedMin && a <= kFixedMax)) return FixedRange::Outside;
    return FixedRange::Written;
}

}  // namespace

Decimal18 ToDecimal18(long double v) {
    return Decimal18Of(BitsOf(v));
}

namespace {

// Exponent form: two significant digits (of the 18-digit value, rounded half away from
// zero) and a four-digit exponent, written at p and terminated. The two digits come from
// the value scaled in extended precision; only when that scaled value lies too close to a
// rounding boundary for its last bits to be trusted is the exact 18-digit conversion used.
void AppendExponentForm(char* p, long double a) {
    int lead = 0;
    int kept = -1;  // the two digits, 10..99
    int binary_exponent;
    std::frexp(a, &binary_exponent);
    lead = int(std::floor((binary_exponent - 1) * 0.30102999566398119521L));
    // a * 10^(1 - lead), in two steps so neither power leaves the range.
    const int k = 1 - lead;
    long double scaled = a * std::pow(10.0L, k / 2) * std::pow(10.0L, k - k / 2);
    if (scaled >= 100) {
        scaled /= 10;
        ++lead;
    } else if (scaled < 10) {
        scaled *= 10;
        --lead;
    }
    const long double whole = std::floor(scaled), frac = scaled - whole;
    constexpr long double kTrust = 1e-13L;
    if (scaled >= 10 && scaled < 100 && std::fabs(frac - 0.5L) > kTrust && frac > kTrust &&
        frac < 1 - kTrust) {
        kept = int(whole) + (frac > 0.5L ? 1 : 0);
        if (kept == 100) {
            kept = 10;
            ++lead;
        }
    } else {
        const DigitText t = DigitsOf(BitsOf(a), 2);
        kept = (t.d()[0] - '0') * 10 + (t.count > 1 ? t.d()[1] - '0' : 0);
        lead = t.lead;
    }
    *p++ = char('0' + kept / 10);
    *p++ = '.';
    *p++ = char('0' + kept % 10);
    *p++ = 'E';
    *p++ = lead < 0 ? '-' : '+';
    p = WriteFixedDigits(p, std::uint64_t(lead < 0 ? -lead : lead), 4);
    *p = '\0';
}

}  // namespace

void AppendNumberText(std::string& out, long double v) {
    const ExtendedBits bits = BitsOf(v);
    if (!bits.Normal() && AppendNonFinite(out, v, "Nan", "+Inf", "-Inf")) return;
    char buf[80];
    char* p = buf;
    const long double a = std::fabs(v);
    if (v < 0) *p++ = '-';
    const FixedRange range = FixedRangeOf(bits);
    if (range == FixedRange::Below) {
        // Too small to reach the 12th decimal, even after rounding to 18 digits.
        std::memcpy(p, "0.000000000000", 14);
        out.append(buf, std::size_t(p + 14 - buf));
        return;
    }
    if (range == FixedRange::Outside) {
        AppendExponentForm(p, a);
        out.append(buf, std::strlen(buf));
        return;
    }
    // Fixed form: the 18 digits placed around the point, cut to 12 decimals (half away
    // from zero); places past the 18th digit are zeros.
    const Decimal18 dec = Decimal18Of(bits);
    if (dec.exponent >= -12) {
        // Every digit stands before the 12th decimal: nothing to round.
        char digits[18];
        EighteenDigits(dec.digits, digits);
        if (dec.exponent >= 0) {
            std::memcpy(p, digits, 18);
            p += 18;
            std::memset(p, '0', std::size_t(dec.exponent));
            p += dec.exponent;
            std::memcpy(p, ".000000000000", 13);
            p += 13;
        } else {
            const int whole = 18 + dec.exponent;
            std::memcpy(p, digits, std::size_t(whole));
            p += whole;
            *p++ = '.';
            std::memcpy(p, digits + whole, std::size_t(-dec.exponent));
            p += -dec.exponent;
            std::memset(p, '0', std::size_t(12 + dec.exponent));
            p += 12 + dec.exponent;
        }
    } else {
        // The value in units of 10^-12; values of at least 4.9e-13 drop at most 18 digits.
        const std::uint64_t units = DropDigits(dec.digits, -12 - dec.exponent);
        p = WriteUnsigned(p, units / 1000000000000ULL);
        *p++ = '.';
        p = TwelveDigits(p, units % 1000000000000ULL);
    }
    out.append(buf, p);
}

std::string NumberToText(long double v) {
    std::string s;
    AppendNumberText(s, v);
    return s;
}

bool IsWellFormedToken(std::string_view t) {
    std::size_t i = 0;
    bool dot = false;
    for (; i < t.size() && t[i] != 'E'; ++i) {
        if (t[i] == '.') {
            if (dot) return false;
            dot = true;
        } else if (!IsDigit(t[i])) {
            return false;
        }
    }
    if (i == t.size()) return true;
    ++i;  // the "E"
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i)
        if (!IsDigit(t[i])) return false;
    return true;
}

namespace {

// Appends the run of digits at c to `mant` (mant * 10^n + digits), eight at a time where
// it can; more than 19 digits overflow, which the caller checks by counting.
inline const char* ReadDigits(const char* c, const char* end, std::uint64_t& mant) {
    while (end - c >= 8) {
        std::uint64_t v;
        std::memcpy(&v, c, 8);
        // All eight bytes "0".."9"?
        if (((v & 0xF0F0F0F0F0F0F0F0ULL) |
             (((v + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) != 0x3333333333333333ULL)
            break;
        v -= 0x3030303030303030ULL;
        v = (v * 10) + (v >> 8);
        v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
             (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
            32;
        mant = mant * 100000000ULL + v;
        c += 8;
    }
    while (c != end && unsigned(*c - '0') < 10) mant = mant * 10 + unsigned(*c++ - '0');
    return c;
}

// The common token: optional sign, at most 19 significant digits with an optional ".",
// an optional exponent, and a power of ten the extended format holds exactly. Then the
// value is one correctly rounded multiplication or division. Returns false for anything
// else, which the general reader below handles.
bool FastTextToNumber(std::string_view t, long double& value) {
    const char* c = t.data();
    const char* const end = c + t.size();
    bool negative = false;
    if (c != end && (*c == '+' || *c == '-')) negative = *c++ == '-';
    std::uint64_t mant = 0;
    const char* const int_start = c;
    c = ReadDigits(c, end, mant);
    std::size_t digits = std::size_t(c - int_start);
    int frac = 0;
    if (c != end && *c == '.') {
        const char* const frac_start = ++c;
        c = ReadDigits(c, end, mant);
        frac = int(c - frac_start);
        digits += std::size_t(frac);
    }
    // Up to 19 digits the integer is exact; longer tokens take the general reader.
    if (digits == 0 || digits > 19) return false;
    int exponent = 0;
    if (c != end) {
        if (*c != 'E' && *c != 'e') return false;
        ++c;
        bool exp_negative = false;
        if (c != end && (*c == '+' || *c == '-')) exp_negative = *c++ == '-';
        if (c == end) return false;
        for (; c != end; ++c) {
            const unsigned d = unsigned(*c - '0');
            if (d >= 10 || exponent > 9999) return false;
            exponent = exponent * 10 + int(d);
        }
        if (exp_negative) exponent = -exponent;
    }
    const int p = exponent - frac;
    if (mant == 0) {
        if (p >= 5120) return false;
        value = negative ? -0.0L : 0.0L;
        return true;
    }
    if (p < -27 || p > 27) return false;
    value = p >= 0 ? (long double)mant * kExactPow10[p] : (long double)mant / kExactPow10[-p];
    if (negative) value = -value;
    return true;
}

}  // namespace

long double SlowTextToNumber(std::string_view t);

long double TextToNumber(std::string_view t) {
    long double fast;
    if (FastTextToNumber(t, fast)) return fast;
    return SlowTextToNumber(t);
}

// Every token the fast reader declines: long mantissas, far exponents, malformed text.
__attribute__((noinline)) long double SlowTextToNumber(std::string_view t) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    // Mantissa digits, leading zeros skipped and trailing zeros counted apart, so that
    // the significant ones can be read exactly.
    std::uint64_t mant = 0;
    int sig = 0;            // significant digits kept in mant (up to 19)
    int dropped = 0;        // significant digits beyond those 19
    int frac_digits = 0;    // digits after the "."
    int pending_zeros = 0;  // zeros after the last non-zero digit
    bool any_digit = false, dot = false, malformed = false;
    long double all_digits = 0;  // the digits read so far, for a malformed token
    std::string many;            // the significant digits beyond 19, when there are any
    auto take_digit = [&](int dg) {
        all_digits = all_digits * 10 + dg;
        any_digit = true;
        if (dot) ++frac_digits;
        if (dg == 0) {
            if (sig > 0 || dropped > 0) ++pending_zeros;
            return;
        }
        // Flush zeros that turned out to be inside the number.
        for (; pending_zeros > 0; --pending_zeros) {
            if (sig < 19) {
                mant *= 10;
                ++sig;
            } else {
                many += '0';
                ++dropped;
            }
        }
        if (sig < 19) {
            mant = mant * 10 + std::uint64_t(dg);
            ++sig;
        } else {
            many += char('0' + dg);
            ++dropped;
        }
    };
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (IsDigit(c)) {
            take_digit(c - '0');
        } else if (c == '.') {
            if (dot) {
                malformed = true;
                break;
            }
            dot = true;
        } else {
            break;
        }
    }
    long exponent = 0;
    if (!malformed && i < t.size()) {
        if (t[i] == 'E' || t[i] == 'e') {
            ++i;
            bool exp_negative = false;
            if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
                exp_negative = t[i] == '-';
                ++i;
            }
            if (i == t.size() || !IsDigit(t[i])) {
                malformed = true;
            } else {
                for (; i < t.size() && IsDigit(t[i]); ++i)
                    if (exponent < 100000) exponent = exponent * 10 + (t[i] - '0');
                if (i < t.size()) malformed = true;  // a second "E" or "." in the exponent
                if (exp_negative) exponent = -exponent;
            }
        } else {
            malformed = true;
        }
    }
    if (malformed) return all_digits;

    const long power = exponent - frac_digits;
    if (power >= 5120) return negative ? -HUGE_VALL : HUGE_VALL;
    if (power <= -5120) return 0;
    if (sig == 0) return negative ? -0.0L : 0.0L;
    // The value is mant' * 10^p where mant' holds every significant digit.
    long p = power + pending_zeros;
    long double value;
    if (dropped == 0 && p >= -27 && p <= 27) {
        // Exact integer and exact power of ten: one correctly rounded operation.
        value = p >= 0 ? (long double)mant * kExactPow10[p] : (long double)mant / kExactPow10[-p];
    } else {
        std::string clean = std::to_string(mant);
        clean += many;
        clean += 'E';
        clean += std::to_string(p);
        value = std::strtold(clean.c_str(), nullptr);
        if (std::isinf(value)) throw EvalFailure{};  // scaled beyond the extended range
    }
    return negative ? -value : value;
}

std::optional<long long> ReadInteger(std::string_view text) {
    // from_chars reads a "-" itself, but neither a "+" nor a second sign.
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits[0] == '-') return std::nullopt;
    }
    long long v = 0;
    const char* const end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, v);
    if (stop != end) return std::nullopt;
    if (error == std::errc::result_out_of_range)
        return digits[0] == '-' ? std::numeric_limits<long long>::min()
                                : std::numeric_limits<long long>::max();
    if (error != std::errc()) return std::nullopt;
    return v;
}

void AppendResultText(std::string& out, long double v, std::string_view separator) {
    AppendGeneral(out, v, 15, 15, separator);
}

std::string ResultText(long double v, std::string_view separator) {
    std::string s;
    AppendResultText(s, v, separator);
    return s;
}

std::string ConstantGeneralText(long double v) {
    std::string s;
    AppendGeneral(s, v, 18, 18, ".");
    return s;
}

std::string ConstantExponentText(long double v) {
    const Decimal18 d = ToDecimal18(v);
    const int first = d.exponent + 17;
    char buf[48];
    char* p = buf;
    if (d.negative) *p++ = '-';
    char digits[18];
    WriteFixedDigits(digits, d.digits, 18);
    *p++ = digits[0];
    *p++ = '.';
    std::memcpy(p, digits + 1, 17);
    p += 17;
    *p++ = 'E';
    *p++ = first < 0 ? '-' : '+';
    p = WriteUnsigned(p, std::uint64_t(first < 0 ? -first : first));
    return std::string(buf, p);
}

long double RoundToDecimals(long double v, int d, bool& overflow) {
    static const long double kInversePow10[13] = {1e-0L, 1e-1L, 1e-2L, 1e-3L,  1e-4L,  1e-5L, 1e-6L,
                                                  1e-7L, 1e-8L, 1e-9L, 1e-10L, 1e-11L, 1e-12L};
    overflow = false;
    if (d < 0 || d > 12) return v;
    const long double scaled = v * kExactPow10[d];
    if (std::isinf(scaled) && std::isfinite(v)) {
        overflow = true;
        return v;
    }
    // rint rounds ties to even in the default rounding mode, like nearbyint, without
    // saving and restoring the floating-point environment.
    return std::rint(scaled) * kInversePow10[d];
}

}  // namespace zentu
