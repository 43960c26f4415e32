#pragma once
// The few functions of real numbers the generator's pictures and sounds are
// made with, computed with + - * / and sqrt only. The C library's versions
// may differ in their last bit between machines (or between the code paths
// one library picks for different processors); these give the same bits
// everywhere, so the generated world is the same file for file.
#include <cmath>

namespace demo::maths {

constexpr double kPi = 3.14159265358979323846;

// sin on [-pi/2, pi/2] by its series; the error is below 1e-15 there.
inline double SinSeries(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 11; ++n) {
        term = -term * x2 / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

inline double Sin(double x) {
    // Into [-pi, pi] (floor and the products are exact enough and, above
    // all, the same everywhere), then into [-pi/2, pi/2].
    x -= 2 * kPi * std::floor((x + kPi) / (2 * kPi));
    if (x > kPi / 2)
        x = kPi - x;
    else if (x < -kPi / 2)
        x = -kPi - x;
    return SinSeries(x);
}

inline double Cos(double x) {
    return Sin(x + kPi / 2);
}

inline double Exp(double x) {
    if (x < -700)
        return 0;
    if (x > 700)
        x = 700;
    constexpr double kLn2 = 0.69314718055994530942;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;
    double term = 1;
    double sum = 1;
    for (int n = 1; n <= 18; ++n) {
        term = term * r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// The natural logarithm of a positive number.
inline double Log(double x) {
    int exponent = 0;
    const double m = std::frexp(x, &exponent); // x = m * 2^exponent, m in [0.5, 1)
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    double term = s;
    double sum = s;
    for (int n = 3; n <= 61; n += 2) {
        term *= s2;
        sum += term / n;
    }
    constexpr double kLn2 = 0.69314718055994530942;
    return 2 * sum + exponent * kLn2;
}

// a to the power b, for a > 0.
inline double Pow(double a, double b) {
    return Exp(b * Log(a));
}

inline double Hypot(double x, double y) {
    return std::sqrt(x * x + y * y);
}

} // namespace demo::maths
