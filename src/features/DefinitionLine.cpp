// Reading feature definition lines: the keyword, the fields with their defaults and messages,
// the method selectors, the parameters written into keywords and method names, and the names
// of the features each line yields.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/TextFile.h"
#include "features/DefinitionLine.h"
#include "features/MassLists.h"

namespace kiv {

namespace {

constexpr const char* kNameMissing = "subname: sub string not found!";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// Fields are separated by single blanks: two blanks in a row give an empty field. A field that
// lies beyond the end of the line takes its default.
class CFieldReader {
public:
    CFieldReader(std::string_view line, DefinitionLine& out) : line_(line), out_(out)
    {
        size_t blank = line.find(' ');
        keyword_ = line.substr(0, blank);
        pos_ = blank == std::string_view::npos ? line.size() : blank + 1;
    }

    std::string_view Keyword() const { return keyword_; }

    // The next field, or the default (with its message, if the field has one) when missing.
    std::string Text(std::string_view fallback, const char* message = nullptr)
    {
        if (Missing(message)) return std::string(fallback);
        size_t blank = line_.find(' ', pos_);
        std::string_view field = line_.substr(pos_, blank == std::string_view::npos ? std::string_view::npos : blank - pos_);
        pos_ = blank == std::string_view::npos ? line_.size() : blank + 1;
        return std::string(field);
    }
    int Integer(std::string_view fallback, const char* message = nullptr) { return ParseInt(Text(fallback, message)); }
    double Real(std::string_view fallback) { return ParseReal(Text(fallback)); }

    // Everything from the cursor to the end of the line, blanks included.
    std::string Rest(std::string_view fallback, const char* message = nullptr)
    {
        if (Missing(message)) return std::string(fallback);
        std::string rest(line_.substr(pos_));
        pos_ = line_.size();
        return rest;
    }

private:
    bool Missing(const char* message)
    {
        if (pos_ < line_.size()) return false;
        if (message) out_.messages.emplace_back(message);
        return true;
    }

    std::string_view line_;
    std::string_view keyword_;
    size_t pos_ = 0;
    DefinitionLine& out_;
};

std::string Kw(const CFieldReader& fields) { return std::string(fields.Keyword()); }

// Method selectors of the group families: "ALL" and "PDSI" stand for fixed method lists
// (compared case-sensitively); any other text is itself the one method.
std::vector<std::string> GroupMethodNames(const std::string& selector)
{
    if (selector == "ALL") return {"PROD0", "PROD1", "MEAN0", "MEAN1", "MEAN2", "MMIN", "MP0.2", "ML0.1"};
    if (selector == "PDSI") return {"PROD0", "PROD1", "MEAN1", "MEAN2"};
    return {selector};
}

std::vector<std::string> PatternMethodNames(const std::string& selector)
{
    if (selector == "ALL") return {"CORR", "COR2", "EUCL", "CITY", "FIT", "PURE"};
    return {selector};
}

// Methods are recognised by their leading letters in any case; the rest of the name carries
// their parameters. The fixed group of "SP" knows power and logarithm without offset, and no
// sigmoid.
GroupMethod ParseGroupMethod(std::string_view name, bool fixedGroup)
{
    GroupMethod method;
    using Kind = GroupMethod::Kind;
    if (StartsWithIgnoreCase(name, "PROD")) {
        method.kind = Kind::GeometricMean;
        method.k = ParseInt(name.substr(4));
    } else if (StartsWithIgnoreCase(name, "MEAN")) {
        method.kind = Kind::Mean;
        method.k = ParseInt(name.substr(4));
    } else if (StartsWithIgnoreCase(name, "MMIN")) {
        method.kind = Kind::MeanAndMinimum;
    } else if (StartsWithIgnoreCase(name, "MP")) {
        method.kind = Kind::TransformedMean;
        method.transform = fixedGroup ? CValueTransform::PlainPower(ReadParameter(name, 2))
                                      : TransformFromName('P', name, 1, 10, 10);
    } else if (StartsWithIgnoreCase(name, "ML")) {
        method.kind = Kind::TransformedMean;
        method.transform = fixedGroup ? CValueTransform::PlainLogarithm(ReadParameter(name, 2))
                                      : TransformFromName('L', name, 1, 10, 10);
    } else if (StartsWithIgnoreCase(name, "MS") && !fixedGroup) {
        method.kind = Kind::TransformedMean;
        method.transform = TransformFromName('S', name, 1, 10, 10);
    }
    return method;
}

// The presence factors of a "MEANk" method over a group of masses.
void AddPresencePowers(GroupMethod& method, const std::vector<int>& masses)
{
    constexpr size_t kMaxTabled = 4096;
    if (method.kind != GroupMethod::Kind::Mean || method.k < 1 || masses.size() > kMaxTabled) return;
    const double N = static_cast<double>(masses.size());
    for (size_t q = 0; q <= masses.size(); ++q) {
        method.presencePowers.push_back(std::pow(static_cast<double>(q) / N, method.k));
    }
}

PatternMethod ParsePatternMethod(std::string_view name)
{
    PatternMethod method;
    using Kind = PatternMethod::Kind;
    if (StartsWithIgnoreCase(name, "COR")) {
        method.kind = Kind::Correlation;
        // One character gives the exponent: "R" for 1 ("CORR"), else its digit ("COR2").
        if (name.size() <= 3) {
            method.exponent = 0;
        } else if (Upper(name[3]) == 'R') {
            method.exponent = 1;
        } else {
            method.exponent = ParseInt(name.substr(3, 1));
        }
        if (name.size() >= 6 && Upper(name[4]) == 'A' && Upper(name[5]) == 'B') {
            method.timesLargest = true;
            if (name.size() > 6) method.largestTransform = TransformFromName(Upper(name[6]), name, 6, 15, 15);
        }
    } else if (StartsWithIgnoreCase(name, "FIT")) {
        method.kind = Kind::Fit;
    } else if (StartsWithIgnoreCase(name, "EUCL")) {
        method.kind = Kind::Euclidean;
    } else if (StartsWithIgnoreCase(name, "CITY")) {
        method.kind = Kind::CityBlock;
    } else if (StartsWithIgnoreCase(name, "PURE")) {
        method.kind = Kind::Purity;
    }
    return method;
}

void ParseSci(CFieldReader& fields, DefinitionLine& out)
{
    SciLine sci;
    sci.threshold = fields.Real("0");
    sci.intensityExponent = fields.Real("1");
    sci.massExponent = fields.Real("0");
    sci.normalise = fields.Text("M") == "M";
    out.params = sci;
}

void ParseModulo(CFieldReader& fields, DefinitionLine& out)
{
    ModuloLine md;
    md.modulus = fields.Integer("14");
    md.lowest = fields.Integer("1");
    md.highest = fields.Integer("800");
    std::string normalisation = fields.Text("0");
    md.normalisation = normalisation == "M" ? 'M' : normalisation == "S" ? 'S' : 0;
    // A modulus below 1 has no residues and yields no feature. Residues above the highest mass a
    // spectrum can hold are never hit, so a huge modulus yields no more than that many features.
    md.featureCount = md.modulus < 1 ? 0 : std::min(md.modulus, kHighestMass);
    for (int j = 1; j <= md.featureCount; ++j) {
        out.names.push_back(Format("%s %d %d %d %d %s", Kw(fields).c_str(), md.modulus, j, md.lowest, md.highest,
                                   normalisation.c_str()));
    }
    out.params = md;
}

void ParseRatio(CFieldReader& fields, DefinitionLine& out)
{
    RatioLine lr;
    lr.distance = fields.Integer("1");
    lr.masses = ParseMassList(fields.Text("1"));
    std::string mode = fields.Text("0");
    lr.mode = mode == "1" ? 1 : mode == "2" ? 2 : mode == "3" ? 3 : 0;
    std::string threshold = fields.Text("1");
    lr.threshold = ParseReal(threshold);
    lr.logRange = std::log(100.0 / lr.threshold);
    lr.logThreshold = std::log(lr.threshold);
    for (int mass : lr.masses) {
        out.names.push_back(Format("%s %d %d %d %s", Kw(fields).c_str(), mass, lr.distance, lr.mode, threshold.c_str()));
    }
    out.params = std::move(lr);
}

void ParseAutocorrelation(CFieldReader& fields, DefinitionLine& out)
{
    AutocorrelationLine ac;
    ac.lowest = fields.Integer("1");
    ac.highest = fields.Integer("1");
    ac.lags = ParseMassList(fields.Text("1"));
    std::string normalisation = fields.Text("N");  // carried in the names only
    for (int lag : ac.lags) {
        out.names.push_back(
            Format("%s %d %d %d %s", Kw(fields).c_str(), lag, ac.lowest, ac.highest, normalisation.c_str()));
    }
    out.params = std::move(ac);
}

void ParseMeanIntensity(CFieldReader& fields, DefinitionLine& out)
{
    MeanIntensityLine im;
    MassRanges ranges = ParseMassRanges(fields.Text("1"));
    im.lower = std::move(ranges.lower);
    im.upper = std::move(ranges.upper);
    // "IMT" + P, L or S + parameters; an "IMT" keyword with another letter keeps the plain mean.
    std::string_view keyword = fields.Keyword();
    if (keyword.size() > 3) im.transform = TransformFromName(keyword[3], keyword, 3, 12, 15);
    for (size_t r = 0; r < im.lower.size(); ++r) {
        out.names.push_back(Format("%s %d %d", Kw(fields).c_str(), im.lower[r], im.upper[r]));
    }
    out.params = std::move(im);
}

void ParseLocalShare(CFieldReader& fields, DefinitionLine& out)
{
    LocalShareLine iml;
    iml.halfWidth = fields.Integer("ALL", "TYP: sub string not found!");
    iml.masses = ParseMassList(fields.Text("1"));
    for (int mass : iml.masses) out.names.push_back(Format("%s %d %d", Kw(fields).c_str(), mass, iml.halfWidth));
    out.params = std::move(iml);
}

void ParseIonShare(CFieldReader& fields, DefinitionLine& out)
{
    IonShareLine typ;
    std::string subType = fields.Text("ALL", "TYP: sub string not found!");
    typ.lowest = fields.Integer("31", "TYP: ml not found!");
    typ.highest = fields.Integer("800", "TYP: mh not found!");
    auto add = [&](IonShare share, const std::string& name) {
        typ.shares.push_back(share);
        out.names.push_back(Format("%s %s %d %d", Kw(fields).c_str(), name.c_str(), typ.lowest, typ.highest));
    };
    if (subType == "ALL") {
        add(IonShare::LowMass, "DUST");
        add(IonShare::BasePeak, "IBAS");
        add(IonShare::EvenMass, "EVEN");
    } else if (subType == "DUST") {
        add(IonShare::LowMass, subType);
    } else if (subType == "IBAS") {
        add(IonShare::BasePeak, subType);
    } else if (subType == "EVEN") {
        add(IonShare::EvenMass, subType);
    } else {
        out.messages.emplace_back("TYP: illegal sub string!");
        for (int i = 0; i < 3; ++i) add(IonShare::Illegal, subType);
    }
    out.params = std::move(typ);
}

void ParseGroup(CFieldReader& fields, DefinitionLine& out)
{
    GroupLine pg;
    std::string group = fields.Text("_", kNameMissing);
    std::string selector = fields.Text("ALL", kNameMissing);
    std::string massText = fields.Rest("1", "MassMenu: sub string not found!");
    pg.masses = ParseMassList(massText);
    for (const std::string& method : GroupMethodNames(selector)) {
        pg.methods.push_back(ParseGroupMethod(method, false));
        AddPresencePowers(pg.methods.back(), pg.masses);
        out.names.push_back(
            Format("%s %s %s %s", Kw(fields).c_str(), group.c_str(), method.c_str(), massText.c_str()));
    }
    out.params = std::move(pg);
}

void ParseFixedGroup(CFieldReader& fields, DefinitionLine& out)
{
    std::string pattern = fields.Text("_", kNameMissing);
    if (!EqualsIgnoreCase(pattern, "PYRIMID01")) return;  // the only pattern known
    GroupLine sp;
    sp.masses = {64, 65, 66, 90};
    sp.pyrimidineRule = true;
    for (const std::string& method : GroupMethodNames(fields.Text("PDSI"))) {
        sp.methods.push_back(ParseGroupMethod(method, true));
        AddPresencePowers(sp.methods.back(), sp.masses);
        out.names.push_back(Format("%s %s %s %s", Kw(fields).c_str(), pattern.c_str(), method.c_str(), "64-66,90"));
    }
    out.params = std::move(sp);
}

// The pattern is "mass intensity mass intensity ..." separated by one or more blanks; a mass
// without an intensity gets 0.
void ParsePatternPairs(std::string_view text, PatternLine& pps)
{
    size_t pos = 0;
    bool massNext = true;
    for (;;) {
        pos = text.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos) break;
        size_t end = std::min(text.find_first_of(" \t", pos), text.size());
        std::string_view token = text.substr(pos, end - pos);
        if (massNext) {
            pps.masses.push_back(ParseInt(token));
            pps.intensities.push_back(0.0);
        } else {
            pps.intensities.back() = ParseReal(token);
        }
        massNext = !massNext;
        pos = end;
    }
}

void ParsePattern(CFieldReader& fields, DefinitionLine& out)
{
    PatternLine pps;
    std::string pattern = fields.Text("_", kNameMissing);
    std::string selector = fields.Text("ALL", kNameMissing);
    pps.lowest = fields.Integer("0");
    pps.highest = fields.Integer("0");
    std::string pairs = fields.Rest("");
    ParsePatternPairs(pairs, pps);
    for (const std::string& method : PatternMethodNames(selector)) {
        pps.methods.push_back(ParsePatternMethod(method));
        out.names.push_back(Format("%s %s %s %d %d %s", Kw(fields).c_str(), pattern.c_str(), method.c_str(),
                                   pps.lowest, pps.highest, pairs.c_str()));
    }
    out.params = std::move(pps);
}

}  // namespace

DefinitionLine ParseDefinitionLine(const std::string& line)
{
    DefinitionLine out;
    CFieldReader fields(line, out);
    std::string_view keyword = fields.Keyword();
    // Keywords are compared case-sensitively; anything else (comments included) yields nothing.
    if (keyword == "SCI") {
        ParseSci(fields, out);
    } else if (keyword == "MD") {
        ParseModulo(fields, out);
    } else if (keyword == "LR") {
        ParseRatio(fields, out);
    } else if (keyword == "AC") {
        ParseAutocorrelation(fields, out);
    } else if (keyword == "IM" || keyword.substr(0, 3) == "IMT") {
        ParseMeanIntensity(fields, out);
    } else if (keyword == "IML") {
        ParseLocalShare(fields, out);
    } else if (keyword == "TYP") {
        ParseIonShare(fields, out);
    } else if (keyword == "PG") {
        ParseGroup(fields, out);
    } else if (keyword == "PPS") {
        ParsePattern(fields, out);
    } else if (keyword == "SP") {
        ParseFixedGroup(fields, out);
    }
    return out;
}

ParsedDefinitions ParseDefinitions(const std::vector<std::string>& lines)
{
    ParsedDefinitions parsed;
    parsed.source = lines;
    parsed.lines.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        DefinitionLine line = ParseDefinitionLine(lines[i]);
        if (line.FeatureCount() > kMaxFeatureCount - parsed.featureCount) {
            line.params = std::monostate{};
            line.names.clear();
            line.messages.push_back(
                Format("Too many features: definition line %d ignored!", static_cast<int>(i + 1)));
        }
        parsed.featureCount += line.FeatureCount();
        parsed.lines.push_back(std::move(line));
    }
    return parsed;
}

}  // namespace kiv
