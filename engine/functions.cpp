// SPDX-License-Identifier: GPL-3.0-or-later
// Single-argument functions, the ";"-list functions PER, COM, PWR, DIV, MOD, and the
// dispatch of the text-argument operations.
//
// Each formula is computed as written, term by term (TAN is sin/cos, SINH the difference
// of two exponentials), which fixes its last digits and which inputs fail. Where the
// literal formula would fail although the true value is representable (ASIN(1), the
// hyperbolic functions of a large argument), the exact value or limit is given instead.
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kHalfPi = kPi / 2;
constexpr long double kLn2 = std::numbers::ln2_v<long double>;

// Truncation toward zero to a signed 64-bit integer; a value outside that range fails.
std::int64_t ToInt64(long double t) {
    if (!(t >= -9223372036854775808.0L && t < 9223372036854775808.0L)) throw EvalFailure{};
    return static_cast<std::int64_t>(t);
}

long double Hyperbolic(Op op, long double x) {
    const long double ep = std::exp(x), em = std::exp(-x);
    if (std::isinf(ep) || std::isinf(em)) {
        // One exponential is beyond the range and the other negligible beside it.
        switch (op) {
            case Op::Tanh:
                return x > 0 ? 1.0L : -1.0L;
            case Op::Sech:
            case Op::Csch:
                return 0.0L;
            default: {
                // |SINH| = COSH = e^|x| / 2, computed without the overflowing e^|x|.
                const long double half = Checked(std::exp(std::fabs(x) - kLn2));
                return op == Op::Sinh && x < 0 ? -half : half;
            }
        }
    }
    switch (op) {
        case Op::Sinh:
            return Checked((ep - em) / 2);
        case Op::Cosh:
            return Checked((ep + em) / 2);
        case Op::Tanh:
            return Divide(ep - em, ep + em);
        case Op::Sech:
            return Divide(2, ep + em);
        default:
            return Divide(2, ep - em);  // CSCH
    }
}

}  // namespace

long double ApplyNumeric(Op op, long double x) {
    switch (op) {
        case Op::Sin:
            return Checked(std::sin(x));
        case Op::Cos:
            return Checked(std::cos(x));
        case Op::Tan:
            return Divide(std::sin(x), std::cos(x));
        case Op::Cot:
            return Divide(std::cos(x), std::sin(x));
        case Op::ASin:
            if (!(std::fabs(x) <= 1)) throw EvalFailure{};
            if (std::fabs(x) == 1) return x > 0 ? kHalfPi : -kHalfPi;
            return Checked(std::atan(x / std::sqrt((1 - x) * (x + 1))));
        case Op::ACos: {
            if (!(std::fabs(x) <= 1)) throw EvalFailure{};
            if (x == 0) return kHalfPi;
            const long double r = std::atan(std::sqrt((1 - x) * (x + 1)) / x);
            // arctan gives -π/2..0 for a negative x; the principal value is π above it.
            return Checked(x < 0 ? r + kPi : r);
        }
        case Op::ATan:
            return Checked(std::atan(x));
        case Op::Sinh:
        case Op::Cosh:
        case Op::Tanh:
        case Op::Sech:
        case Op::Csch:
            return Hyperbolic(op, x);
        case Op::Sinc:
            return Divide(std::sin(x), x);
        case Op::Exp:
            return Checked(std::exp(x));
        case Op::Ln:
            if (!(x > 0)) throw EvalFailure{};
            return Checked(std::log(x));
        case Op::Log:
            if (!(x > 0)) throw EvalFailure{};
            return Checked(std::log(x) / std::log(10.0L));
        case Op::Sqrt:
            if (x < 0) throw EvalFailure{};
            return Checked(std::sqrt(x));
        case Op::Sqr:
            return Checked(x * x);
        case Op::Abs:
            return Checked(std::fabs(x));
        case Op::Sign:
            return x > 0 ? 1.0L : x < 0 ? -1.0L : 0.0L;
        case Op::Trnc:
            return static_cast<long double>(ToInt64(std::trunc(x)));
        case Op::Rnd:
            return static_cast<long double>(ToInt64(std::rint(x)));
        case Op::Flor:
        case Op::Ceil: {
            const std::int64_t t = ToInt64(std::trunc(x));
            const long double frac = x - static_cast<long double>(t);
            if (op == Op::Flor && frac < 0) {
                if (t == std::numeric_limits<std::int64_t>::min()) throw EvalFailure{};
                return static_cast<long double>(t - 1);
            }
            if (op == Op::Ceil && frac > 0) {
                if (t == std::numeric_limits<std::int64_t>::max()) throw EvalFailure{};
                return static_cast<long double>(t + 1);
            }
            return static_cast<long double>(t);
        }
        default:
            throw EvalFailure{};
    }
}

// a^b by repeated squaring for whole exponents up to 2147483647 in magnitude (so a
// negative base works), 0 for a zero base otherwise, else e^(b ln a).
long double PowerAlgorithm(long double a, long double b) {
    if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
        auto bits = static_cast<std::uint32_t>(std::fabs(b));
        long double result = 1, p = a;
        while (bits) {
            if (bits & 1u) result = Checked(result * p);
            bits >>= 1;
            if (bits) p = Checked(p * p);
        }
        return b < 0 ? Divide(1, result) : result;
    }
    if (a == 0) return 0;
    if (a < 0) throw EvalFailure{};
    return Checked(std::exp(b * std::log(a)));
}

// Evaluates each piece of a ";"-list (see ListReader); the values go to ArgumentStore,
// slot 0 unused.
void Engine::SplitArguments(std::string_view text) {
    std::vector<long double> slots{0.0L};
    for (ListReader list(text); !list.Done();) slots.push_back(EvaluateExpression(list.Next()));
    // Built aside: a piece that itself splits a list cannot disturb this one.
    ArgumentStore = std::move(slots);
}

long double Engine::ApplyTextFunction(Op op, std::string_view argument) {
    switch (op) {
        case Op::Dat:
            return DefineSeries(argument);
        case Op::Int:
            return IntegralOf(argument);
        case Op::Dif:
            return DerivativeOf(argument);
        default:
            break;
    }
    SplitArguments(argument);
    if (ArgumentStore.size() < 3) throw EvalFailure{};  // fewer than two pieces
    const long double a = ArgumentStore[1], b = ArgumentStore[2];
    switch (op) {
        case Op::Per:
            return Divide(Factorial(a), Factorial(a - b));
        case Op::Com:
            return Divide(Factorial(a), Checked(Factorial(a - b) * Factorial(b)));
        case Op::Pwr:
            return PowerAlgorithm(a, b);
        case Op::Div:
        case Op::Mod: {
            const std::int64_t x = ToInt64(std::trunc(a)), y = ToInt64(std::trunc(b));
            if (y == 0) throw EvalFailure{};
            if (x == std::numeric_limits<std::int64_t>::min() && y == -1) {
                if (op == Op::Mod) return 0;
                throw EvalFailure{};  // the quotient 2^63 does not fit
            }
            return static_cast<long double>(op == Op::Div ? x / y : x % y);
        }
        default:
            throw EvalFailure{};
    }
}

}  // namespace zentu
