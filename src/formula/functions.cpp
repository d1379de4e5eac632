#include "formula/functions.h"

#include "formula/rounding.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace kurvant {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kLargestIntegralPower = 2147483647.0L;

bool NearZero(long double v) {
    return std::fabs(v) < DomainEpsilon;
}

// Binary exponentiation; the square is skipped after the last bit so that it cannot overflow
// needlessly.
long double IntegralPower(long double base, std::uint32_t n) {
    long double result = 1;
    long double x = base;
    while (n != 0) {
        if (n % 2 != 0) {
            result *= x;
        }
        n /= 2;
        if (n != 0) {
            x *= x;
        }
    }
    return result;
}

} // namespace

EvalResult ComputeFunction(TFunction function, long double v, long double& result) {
    switch (function) {
    case TFunction::Sin:
        result = std::sin(v);
        return EvalOk;
    case TFunction::Cos:
        result = std::cos(v);
        return EvalOk;
    case TFunction::Tg:
        if (NearZero(std::cos(v))) {
            return EvalMathError;
        }
        result = std::tan(v);
        return EvalOk;
    case TFunction::Ctg:
        if (NearZero(std::sin(v))) {
            return EvalMathError;
        }
        result = std::cos(v) / std::sin(v);
        return EvalOk;
    case TFunction::ArcSin:
        if (std::fabs(v) > 1) {
            return EvalMathError;
        }
        result = std::asin(v);
        return EvalOk;
    case TFunction::ArcCos:
        if (std::fabs(v) > 1) {
            return EvalMathError;
        }
        result = std::acos(v);
        return EvalOk;
    case TFunction::ArcTg:
        result = std::atan(v);
        return EvalOk;
    case TFunction::ArcCtg:
        result = kPi / 2 - std::atan(v);
        return EvalOk;
    case TFunction::Abs:
        result = std::fabs(v);
        return EvalOk;
    case TFunction::Ln:
        if (v < DomainEpsilon) {
            return EvalMathError;
        }
        result = std::log(v);
        return EvalOk;
    case TFunction::Lg:
        // lg 0 is -INF, whose text cannot be read back: a syntax error later on.
        if (v < 0) {
            return EvalMathError;
        }
        result = std::log10(v);
        return EvalOk;
    case TFunction::Exp:
        result = std::exp(v);
        return EvalOk;
    case TFunction::Sec:
        if (NearZero(std::cos(v))) {
            return EvalMathError;
        }
        result = 1 / std::cos(v);
        return EvalOk;
    case TFunction::Csc:
        if (NearZero(std::sin(v))) {
            return EvalMathError;
        }
        result = 1 / std::sin(v);
        return EvalOk;
    case TFunction::Sqrt:
        if (v < 0) {
            return EvalMathError;
        }
        result = std::sqrt(v);
        return EvalOk;
    case TFunction::Round:
        result = RoundHalfEven(v);
        return EvalOk;
    }
    return EvalSyntaxError;
}

EvalResult ComputePower(long double base, long double exponent, long double& result) {
    // A negative base needs an integral exponent; 1.9999999 has a fraction near 1 and fails.
    if (base < 0 && std::fabs(exponent - std::trunc(exponent)) > DomainEpsilon) {
        return EvalMathError;
    }
    if (NearZero(base) && exponent < 0) {
        return EvalMathError;
    }
    if (exponent == 0) {
        result = 1;
    } else if (base == 0 && exponent > 0) {
        result = 0;
    } else if (exponent == std::trunc(exponent) && std::fabs(exponent) <= kLargestIntegralPower) {
        const long double power =
            IntegralPower(base, static_cast<std::uint32_t>(std::fabs(exponent)));
        result = exponent < 0 ? 1 / power : power;
    } else {
        // Not finite for a negative base: the "NAN" written back fails to read later on.
        result = std::exp(exponent * std::log(base));
    }
    return EvalOk;
}

} // namespace kurvant
