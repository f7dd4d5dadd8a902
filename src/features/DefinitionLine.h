#pragma once
// A feature definition line read once into the form the engine evaluates: its family, the
// values of its fields (defaults filled in), the names of its features and the messages that
// its missing fields raise. The messages are kept, not shown, when the line is read: the
// engine reports them every time it evaluates the line, exactly as if it read the line again.
#include <string>
#include <variant>
#include <vector>

#include "features/ValueTransforms.h"

namespace kiv {

// "SCI": transforms the spectra for the lines that follow (threshold, intensity and mass
// exponents, optional normalisation to a base peak of 100).
struct SciLine {
    double threshold = 0;
    double intensityExponent = 1;
    double massExponent = 0;
    bool normalise = true;
};

// "MD": intensity sums per residue of the mass modulo n (the homologous series of a
// fragment type step by 14, CH2).
struct ModuloLine {
    int modulus = 14;
    int lowest = 1;
    int highest = 800;
    char normalisation = 0;  // 'M' maximum 100, 'S' sum 100, 0 none
    int featureCount = 0;
};

// "LR": logarithmic ratio of the intensities at m and m + distance.
struct RatioLine {
    int distance = 1;
    std::vector<int> masses;
    int mode = 0;  // 0..3
    double threshold = 1;
    double logRange = 0;  // D = ln(100 / threshold)
    double logThreshold = 0;  // ln(threshold)
};

// "AC": autocorrelation of the spectrum with itself shifted by each lag.
struct AutocorrelationLine {
    int lowest = 1;
    int highest = 1;
    std::vector<int> lags;
};

// "IM" and "IMT...": mean intensity of each mass range, optionally transformed.
struct MeanIntensityLine {
    std::vector<int> lower;
    std::vector<int> upper;
    CValueTransform transform;
};

// "IML": share of a mass's intensity in the window of +-halfWidth around it.
struct LocalShareLine {
    int halfWidth = 0;
    std::vector<int> masses;
};

// "TYP": shares of the ion current in a mass window.
enum class IonShare { LowMass, BasePeak, EvenMass, Illegal };
struct IonShareLine {
    std::vector<IonShare> shares;
    int lowest = 31;
    int highest = 800;
};

// A statistic over a mass group ("PG", and the fixed group of "SP" "PYRIMID01").
struct GroupMethod {
    enum class Kind { GeometricMean, Mean, MeanAndMinimum, TransformedMean, Unknown };
    Kind kind = Kind::Unknown;
    int k = 0;  // "PROD" floor or "MEAN" presence exponent
    CValueTransform transform;  // "MP", "ML", "MS"
    // "MEANk", k >= 1: pow(q / N, k) for q = 0..N peaks present among the N entries, so that a
    // spectrum needs no pow (empty for very long groups, which compute it).
    std::vector<double> presencePowers;
};
struct GroupLine {
    std::vector<int> masses;
    std::vector<GroupMethod> methods;
    // "SP" "PYRIMID01": half the statistic, plus 50 when mass 66 outweighs 64 and 65.
    bool pyrimidineRule = false;
};

// Similarity of the spectrum with a reference peak pattern ("PPS").
struct PatternMethod {
    enum class Kind { Correlation, Euclidean, CityBlock, Fit, Purity, Unknown };
    Kind kind = Kind::Unknown;
    int exponent = 1;  // correlation exponent
    bool timesLargest = false;  // "COR?AB...": r times a transform of the largest matched peak
    CValueTransform largestTransform;
};
struct PatternLine {
    int lowest = 0;
    int highest = 0;
    std::vector<int> masses;
    std::vector<double> intensities;
    std::vector<PatternMethod> methods;
};

struct DefinitionLine {
    std::vector<std::string> messages;  // reported on every evaluation, in this order
    std::vector<std::string> names;  // one per feature column, in column order
    // The family and its fields; nothing for lines that yield no feature (comments, unknown
    // keywords, "SP" with another pattern name).
    std::variant<std::monostate, SciLine, ModuloLine, RatioLine, AutocorrelationLine, MeanIntensityLine,
                 LocalShareLine, IonShareLine, GroupLine, PatternLine>
        params;

    int FeatureCount() const { return static_cast<int>(names.size()); }
};

// Most features a definition set may produce. A real set has a few hundred; the limit keeps a
// damaged file (thousands of lines each expanding to tens of thousands of masses) from asking
// for unbounded memory. A line that would pass it yields no feature and reports why.
inline constexpr int kMaxFeatureCount = 262144;

// The lines of a definition set, read once. source holds the texts they were read from, so
// that a changed set of lines is noticed and read again.
struct ParsedDefinitions {
    std::vector<std::string> source;
    std::vector<DefinitionLine> lines;
    int featureCount = 0;
};

DefinitionLine ParseDefinitionLine(const std::string& line);
ParsedDefinitions ParseDefinitions(const std::vector<std::string>& lines);

}  // namespace kiv
