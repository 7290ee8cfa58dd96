// SPDX-License-Identifier: GPL-3.0-or-later
// The exact decimal digits of an extended value, shared by the number text files (not
// part of the engine's interface): a value's bits, its 18 significant digits computed
// from the binary significand with integer arithmetic, and the powers of ten they need.
#pragma once

#include <array>
#include <bit>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/number_text.h"

static_assert(LDBL_MANT_DIG == 64, "the engine computes in the 80-bit extended format");

namespace zentu {

__extension__ typedef unsigned __int128 u128;

inline constexpr std::uint64_t kPow10[20] = {1ULL,
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
inline constexpr long double kExactPow10[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                                1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                                1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                                1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// For a binary exponent b (a value in [2^b, 2^(b+1))), the normalised 64-bit significand
// of the power of ten just above the estimate floor(b * log10(2)) when that power lies in
// the same binade, else all ones: a value whose normalised significand reaches it has
// one leading digit more. Integer compares cost less than the x87 ones; being a guess,
// the table may be off by a unit, which the digit count checks.
constexpr int kBinadeMin = -140, kBinadeMax = 140;
struct NextPowerTable {
    std::uint64_t threshold[kBinadeMax - kBinadeMin + 1];
    NextPowerTable();
};
extern const NextPowerTable kNextPower;

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

// The 18 digits by the C library's conversion, where the integer path cannot be exact.
Decimal18 SlowDecimal18(long double v);

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
    const int lz = std::countl_zero(m);
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
inline constexpr auto kDropDigits = DropTable(std::make_index_sequence<19>());

inline std::uint64_t DropDigits(std::uint64_t q, int drop) {
    return kDropDigits[std::size_t(drop)](q);
}

}  // namespace zentu
