// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding a result to the chosen number of decimals.
#include <cmath>

#include "engine/number_digits.h"

namespace zentu {

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
