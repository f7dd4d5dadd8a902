#pragma once
// The few distribution functions the model checks need for their 95 % limits.
namespace kiv {

// Regularised incomplete beta function I_x(a, b), a, b > 0, x in [0, 1].
double IncompleteBeta(double a, double b, double x);

// The p-quantile of the F distribution with d1 and d2 degrees of freedom (d1, d2 > 0).
double FQuantile(double p, double d1, double d2);

// The 95 % quantile of the standard normal distribution.
constexpr double kNormalQuantile95 = 1.6448536269514722;

}  // namespace kiv
