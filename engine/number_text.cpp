#include "number_text.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
constexpr long double kExactPow10[28] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

u128 Pow10Wide(int k) {  // k <= 38
    u128 r = 1;
    for (int i = 0; i < k; ++i) r *= 10;
    return r;
}

// Significand and binary exponent of a finite, non-zero extended value: |v| = m * 2^e.
void Unpack(long double v, std::uint64_t& m, int& e) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &v, sizeof bytes);
    std::memcpy(&m, bytes, 8);
    unsigned se = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    unsigned biased = se & 0x7FFF;
    e = biased == 0 ? 1 - 16383 - 63 : int(biased) - 16383 - 63;
}

// Rounds m * 2^e * 10^k to the nearest integer, ties to even, when the result fits in
// 64 bits. Returns false when the fast integer path cannot do it exactly.
bool ScaledRound(std::uint64_t m, int e, int k, std::uint64_t& out) {
    if (k >= 0) {
        if (k > 38 || e >= 0) return false;
        const int s = -e;
        // N = m * 10^k as three 64-bit limbs.
        const u128 p = Pow10Wide(k);
        const u128 lo = u128(m) * std::uint64_t(p);
        const u128 hi = u128(m) * std::uint64_t(p >> 64);
        std::uint64_t w[3];
        w[0] = std::uint64_t(lo);
        u128 mid = (lo >> 64) + std::uint64_t(hi);
        w[1] = std::uint64_t(mid);
        w[2] = std::uint64_t(hi >> 64) + std::uint64_t(mid >> 64);
        if (s >= 192) return false;
        // q = N >> s must fit in 64 bits.
        auto bit = [&](int i) { return (w[i / 64] >> (i % 64)) & 1u; };
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
        if (bit(s - 1)) {
            bool below = false;
            for (int i = 0; i < s - 1 && !below; ++i) {
                if (i % 64 == 0 && i + 64 <= s - 1) {
                    below = w[i / 64] != 0;
                    i += 63;
                } else {
                    below = bit(i);
                }
            }
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

// Digits of a Decimal18 rounded to `keep` significant digits, half away from zero.
// Gives the kept digits and the decimal exponent of the first one.
void RoundDigits(const Decimal18& d, int keep, std::uint64_t& kept, int& first_exponent) {
    const int drop = 18 - keep;
    kept = d.digits / kPow10[drop];
    const std::uint64_t rest = d.digits % kPow10[drop];
    first_exponent = d.exponent + 17;
    if (drop > 0 && rest >= 5 * kPow10[drop - 1]) ++kept;
    if (kept == kPow10[keep]) {
        kept = kPow10[keep - 1];
        ++first_exponent;
    }
}

// Writes the significant digits `kept` (count `keep`) without trailing zeros.
int StripTrailingZeros(std::uint64_t& kept, int keep) {
    while (keep > 1 && kept % 10 == 0) {
        kept /= 10;
        --keep;
    }
    return keep;
}

// General form shared by the result text (15 digits, plain for exponents -3..15 of
// 0.d1d2...) and the constants (18 digits, plain for -3..18).
void AppendGeneral(std::string& out, long double v, int keep, int plain_max,
                   std::string_view separator) {
    if (v == 0) {
        out += '0';
        return;
    }
    if (std::isnan(v)) {
        out += "NAN";
        return;
    }
    if (std::isinf(v)) {
        out += v < 0 ? "-INF" : "INF";
        return;
    }
    const Decimal18 d = ToDecimal18(v);
    std::uint64_t kept;
    int first;
    RoundDigits(d, keep, kept, first);
    const int count = StripTrailingZeros(kept, keep);
    char digits[20];
    WriteFixedDigits(digits, kept, count);
    const int e = first + 1;  // |v| = 0.d1d2... * 10^e
    if (d.negative) out += '-';
    if (e >= -3 && e <= plain_max) {
        if (e <= 0) {
            out += '0';
            out += separator;
            out.append(std::size_t(-e), '0');
            out.append(digits, std::size_t(count));
        } else if (count <= e) {
            out.append(digits, std::size_t(count));
            out.append(std::size_t(e - count), '0');
        } else {
            out.append(digits, std::size_t(e));
            out += separator;
            out.append(digits + e, std::size_t(count - e));
        }
        return;
    }
    out += digits[0];
    if (count > 1) {
        out += separator;
        out.append(digits + 1, std::size_t(count - 1));
    }
    out += 'E';
    char buf[8];
    char* end = buf;
    if (first < 0) *end++ = '-';
    end = WriteUnsigned(end, std::uint64_t(first < 0 ? -first : first));
    out.append(buf, end);
}

const long double kFixedMin = 0x1p-116L;
const long double kFixedMax = 664613997892457935983529168893640704.0L;

}  // namespace

Decimal18 ToDecimal18(long double v) {
    Decimal18 d;
    if (v == 0 || !std::isfinite(v)) return d;
    d.negative = std::signbit(v);
    std::uint64_t m;
    int e;
    Unpack(v, m, e);
    if (m == 0) return SlowDecimal18(v);
    // Estimate the decimal exponent of the leading digit from the binary one; it may be
    // one too small, which the digit count below corrects.
    const int bits = 63 - __builtin_clzll(m) + e;  // |v| in [2^bits, 2^(bits+1))
    int dec = int(std::floor(bits * 0.30102999566398119521));
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint64_t q;
        if (!ScaledRound(m, e, 17 - dec, q)) return SlowDecimal18(v);
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
    return SlowDecimal18(v);
}

void AppendNumberText(std::string& out, long double v) {
    if (std::isnan(v)) {
        out += "Nan";
        return;
    }
    if (std::isinf(v)) {
        out += v < 0 ? "-Inf" : "+Inf";
        return;
    }
    char buf[64];
    char* p = buf;
    const long double a = std::fabs(v);
    if (v < 0) *p++ = '-';
    if (a == 0 || (a >= kFixedMin && a < 4.9e-13L)) {
        // Too small to reach the 12th decimal, even after rounding to 18 digits.
        std::memcpy(p, "0.000000000000", 14);
        out.append(buf, std::size_t(p + 14 - buf));
        return;
    }
    const Decimal18 d = ToDecimal18(v);
    const int dec = d.exponent + 17;  // decimal exponent of the leading digit
    if (a >= kFixedMin && a <= kFixedMax) {
        if (dec >= 17) {
            p = WriteUnsigned(p, d.digits);
            for (int i = 0; i < dec - 17; ++i) *p++ = '0';
            std::memcpy(p, ".000000000000", 13);
            p += 13;
        } else {
            // d.digits / 10^F with F fraction digits; keep 12, half away from zero.
            const int F = 17 - dec;
            std::uint64_t whole, frac;
            if (F <= 12) {
                whole = d.digits / kPow10[F];
                frac = (d.digits % kPow10[F]) * kPow10[12 - F];
            } else {
                const int T = F - 12;
                std::uint64_t kept = 0;
                if (T <= 18) {
                    kept = d.digits / kPow10[T];
                    if (d.digits % kPow10[T] >= 5 * kPow10[T - 1]) ++kept;
                }
                whole = kept / kPow10[12];
                frac = kept % kPow10[12];
            }
            p = WriteUnsigned(p, whole);
            *p++ = '.';
            p = WriteFixedDigits(p, frac, 12);
        }
        out.append(buf, p);
        return;
    }
    // Exponent form: two significant digits and a four-digit exponent.
    std::uint64_t kept;
    int first;
    RoundDigits(d, 2, kept, first);
    *p++ = char('0' + kept / 10);
    *p++ = '.';
    *p++ = char('0' + kept % 10);
    *p++ = 'E';
    *p++ = first < 0 ? '-' : '+';
    p = WriteFixedDigits(p, std::uint64_t(first < 0 ? -first : first), 4);
    out.append(buf, p);
}

std::string NumberToText(long double v) {
    std::string s;
    AppendNumberText(s, v);
    return s;
}

std::size_t NumberTokenLength(std::string_view text, std::size_t p) {
    const std::size_t start = p;
    while (p < text.size() && IsNumberChar(text[p])) {
        ++p;
        if (text[p - 1] == 'E' && p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    }
    return p - start;
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

long double TextToNumber(std::string_view t) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    // Mantissa digits, leading zeros skipped and trailing zeros counted apart, so that
    // the significant ones can be read exactly.
    std::uint64_t mant = 0;
    int sig = 0;             // significant digits kept in mant (up to 19)
    int dropped = 0;         // significant digits beyond those 19
    int frac_digits = 0;     // digits after the "."
    int pending_zeros = 0;   // zeros after the last non-zero digit
    bool any_digit = false, dot = false, malformed = false;
    long double all_digits = 0;  // the digits read so far, for a malformed token
    std::string many;  // the significant digits beyond 19, when there are any
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
    static const long double kInversePow10[13] = {1e-0L, 1e-1L, 1e-2L,  1e-3L,  1e-4L,
                                                  1e-5L, 1e-6L, 1e-7L,  1e-8L,  1e-9L,
                                                  1e-10L, 1e-11L, 1e-12L};
    overflow = false;
    if (d < 0 || d > 12) return v;
    const long double scaled = v * kExactPow10[d];
    if (std::isinf(scaled) && std::isfinite(v)) {
        overflow = true;
        return v;
    }
    return std::nearbyint(scaled) * kInversePow10[d];
}

}  // namespace zentu
