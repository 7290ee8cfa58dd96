// SPDX-License-Identifier: GPL-3.0-or-later
// Exact digits: the tables of the integer conversion, its wide and slow paths.
#include "engine/number_digits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zentu {
namespace {

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

}  // namespace

NextPowerTable::NextPowerTable() {
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
const NextPowerTable kNextPower;

bool ScaledRoundWide(std::uint64_t m, int e, int k, std::uint64_t& out) {
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

Decimal18 ToDecimal18(long double v) {
    return Decimal18Of(BitsOf(v));
}

}  // namespace zentu
