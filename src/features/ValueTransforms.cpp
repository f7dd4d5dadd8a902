#include "features/ValueTransforms.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/Numbers.h"

namespace kiv {

namespace {

double Logistic(double x, double k, double m) { return 1.0 / (1.0 + std::exp(-0.01 * k * (x - m))); }

}  // namespace

CValueTransform CValueTransform::Power(double a, double b)
{
    CValueTransform t;
    t.kind_ = Kind::Power;
    t.p1_ = a;
    t.p2_ = b;
    t.factor_ = 100.0 / std::pow(std::max(100.0 - b, 0.0), a);
    return t.Finish();
}

CValueTransform CValueTransform::Logarithm(double c, double d)
{
    CValueTransform t;
    t.kind_ = Kind::Logarithm;
    t.p1_ = c;
    t.p2_ = d;
    t.logP1_ = std::log10(c);
    t.factor_ = 100.0 / (std::log10(std::max(100.0 + c - d, 0.0)) - t.logP1_);
    return t.Finish();
}

CValueTransform CValueTransform::Sigmoid(double k, double m)
{
    CValueTransform t;
    t.kind_ = Kind::Sigmoid;
    t.p1_ = k;
    t.p2_ = m;
    t.s0_ = Logistic(0.0, k, m);
    t.factor_ = Logistic(100.0, k, m) - t.s0_;
    return t.Finish();
}

CValueTransform CValueTransform::PlainPower(double a)
{
    CValueTransform t;
    t.kind_ = Kind::PlainPower;
    t.p1_ = a;
    t.factor_ = 100.0 / std::pow(100.0, a);
    return t.Finish();
}

CValueTransform CValueTransform::PlainLogarithm(double c)
{
    CValueTransform t;
    t.kind_ = Kind::PlainLogarithm;
    t.p1_ = c;
    t.logP1_ = std::log10(c);
    t.factor_ = 100.0 / (std::log10(c + 100.0) - t.logP1_);
    return t.Finish();
}

CValueTransform& CValueTransform::Finish()
{
    atZero_ = Apply(0.0);
    return *this;
}

double CValueTransform::Apply(double x) const
{
    switch (kind_) {
    case Kind::Identity:
        return x;
    case Kind::Power:
        return std::pow(std::max(x - p2_, 0.0), p1_) * factor_;
    case Kind::Logarithm:
        return (std::log10(std::max(x + p1_ - p2_, 0.0)) - logP1_) * factor_;
    case Kind::Sigmoid:
        return (Logistic(x, p1_, p2_) - s0_) * 100.0 / factor_;
    case Kind::PlainPower:
        return std::pow(x, p1_) * factor_;
    case Kind::PlainLogarithm:
        return (std::log10(p1_ + x) - logP1_) * factor_;
    }
    return x;
}

double ReadParameter(std::string_view text, size_t first, size_t last)
{
    if (first >= text.size()) return 0.0;
    size_t count = last == std::string_view::npos ? std::string_view::npos : last - first + 1;
    return ParseReal(text.substr(first, count));
}

CValueTransform TransformFromName(char letter, std::string_view name, size_t letterPos, size_t powerSwitch,
                                  size_t logSwitch)
{
    const size_t p = letterPos + 1;  // first parameter, up to p + 6
    const size_t q = letterPos + 8;  // second parameter, to the end
    switch (letter) {
    case 'P':
        if (name.size() < powerSwitch) return CValueTransform::Power(ReadParameter(name, p), 0.0);
        return CValueTransform::Power(ReadParameter(name, p, p + 6), ReadParameter(name, q));
    case 'L':
        if (name.size() < logSwitch) return CValueTransform::Logarithm(ReadParameter(name, p), 0.0);
        return CValueTransform::Logarithm(ReadParameter(name, p, p + 6), ReadParameter(name, q));
    case 'S':
        if (name.size() == p) return CValueTransform::Sigmoid(20.0, 20.0);
        return CValueTransform::Sigmoid(ReadParameter(name, p, p + 6), ReadParameter(name, q));
    default:
        return {};
    }
}

}  // namespace kiv
