#pragma once
// The three value transforms that feature lines can apply to an intensity (or to a mean of
// intensities) before it becomes a feature value. Each maps the 0 to 100 intensity scale onto
// itself with a different emphasis:
//   power      P(x; a, b)  = max(x - b, 0)^a * F,            F = 100 / max(100 - b, 0)^a
//   logarithm  L(x; c, d)  = (log10(max(x + c - d, 0)) - log10 c) * F,
//                                                           F = 100 / (log10(max(100 + c - d, 0)) - log10 c)
//   sigmoid    Sg(x; k, m) = (s(x) - s(0)) * 100 / (s(100) - s(0)),
//                                                           s(x) = 1 / (1 + exp(-0.01 k (x - m)))
// P and L map 100 to 100 (for offsets below 100), Sg maps 0 to 0 and 100 to 100. The constant
// factors, log10 c and the value at intensity 0 (most masses of a spectrum carry none) are
// computed once, when the definition line is read, with the very operations a call would
// perform, so a call returns the same bits either way. Degenerate parameters give infinite or
// undefined values, which are passed on as computed.
//
// The parameters are written into keywords and method names at fixed character positions
// ("IMTP0.5", "MP0.2", "CORRABS20.000020.0"); ReadParameter reads such a part.
#include <cmath>
#include <cstddef>
#include <string_view>

namespace kiv {

class CValueTransform {
public:
    enum class Kind {
        Identity,
        Power,
        Logarithm,
        Sigmoid,
        // The fixed-group pattern rule uses the power and logarithm without offset and
        // without clamping the argument at 0.
        PlainPower,
        PlainLogarithm,
    };

    CValueTransform() = default;
    static CValueTransform Power(double a, double b);
    static CValueTransform Logarithm(double c, double d);
    static CValueTransform Sigmoid(double k, double m);
    static CValueTransform PlainPower(double a);
    static CValueTransform PlainLogarithm(double c);

    double operator()(double x) const
    {
        if (kind_ == Kind::Identity) return x;
        if (x == 0.0 && !std::signbit(x)) return atZero_;
        return Apply(x);
    }
    Kind kind() const { return kind_; }

private:
    double Apply(double x) const;
    CValueTransform& Finish();  // fills atZero_ once the parameters are set

    Kind kind_ = Kind::Identity;
    double p1_ = 0;  // a, c or k
    double p2_ = 0;  // b, d or m
    double s0_ = 0;  // sigmoid: s(0)
    double factor_ = 0;  // F, or s(100) - s(0) for the sigmoid
    double logP1_ = 0;  // logarithms: log10 c
    double atZero_ = 0;  // the transform of +0
};

// The part of text from character first to character last (0-based, inclusive, at most to the
// end of the text) read as a real number; an empty part gives 0.
double ReadParameter(std::string_view text, size_t first, size_t last = std::string_view::npos);

// The transform encoded after the letter P, L or S in a keyword or method name. letterPos is
// the position of that letter; the parameters start one character later (p), the second one
// at p + 7. A power (logarithm) name shorter than powerSwitch (logSwitch) characters carries
// only the first parameter and has offset 0; a sigmoid name that ends right after its letter
// uses k = m = 20. Any other letter gives the identity.
CValueTransform TransformFromName(char letter, std::string_view name, size_t letterPos, size_t powerSwitch,
                                  size_t logSwitch);

}  // namespace kiv
