#include "import/MspFields.h"

#include <cmath>
#include <string>

#include "base/Numbers.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// Retention values above this are no retention values (and would not fit the library's field).
constexpr double kLargestRetention = 1e6;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The key in lower case without blanks, "_" and "-".
std::string NormalisedKey(std::string_view key)
{
    std::string out;
    out.reserve(key.size());
    for (char c : key) {
        if (c != ' ' && c != '\t' && c != '_' && c != '-') out += Lower(c);
    }
    return out;
}

struct KeyEntry {
    const char* key;  // normalised
    MspField field;
};

const KeyEntry kKeys[] = {
    {"name", MspField::Name},
    {"synon", MspField::Synonym},
    {"synonym", MspField::Synonym},
    {"synonyms", MspField::Synonym},
    {"formula", MspField::Formula},
    {"molecularformula", MspField::Formula},
    {"mw", MspField::MolecularWeight},
    {"molecularweight", MspField::MolecularWeight},
    {"nominalmw", MspField::NominalWeight},
    {"exactmass", MspField::ExactMass},
    {"cas#", MspField::Cas},
    {"casno", MspField::Cas},
    {"cas", MspField::Cas},
    {"casrn", MspField::Cas},
    {"nist#", MspField::NistNumber},
    {"nistno", MspField::NistNumber},
    {"origin", MspField::Origin},
    {"ri", MspField::RetentionIndex},
    {"retentionindex", MspField::RetentionIndex},
    {"kovatsri", MspField::RetentionIndex},
    {"rt", MspField::RetentionTime},
    {"retentiontime", MspField::RetentionTime},
    {"comment", MspField::Comment},
    {"comments", MspField::Comment},
    {"numpeaks", MspField::NumPeaks},
    {"tic", MspField::Tic},
};

bool IsKeyBoundary(char c) { return c == ' ' || c == '\t' || c == '"' || c == ';' || c == ',' || c == '(' || c == '/'; }

// Case-insensitive search for "label=" that starts the text or follows a boundary character;
// the number after the "=" (0 when none).
double NumberAfterLabel(std::string_view text, std::string_view label)
{
    for (size_t at = 0; at + label.size() < text.size(); ++at) {
        if (at > 0 && !IsKeyBoundary(text[at - 1])) continue;
        bool match = true;
        for (size_t k = 0; k < label.size() && match; ++k) match = Lower(text[at + k]) == label[k];
        if (!match) continue;
        size_t pos = at + label.size();
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
        if (pos >= text.size() || text[pos] != '=') continue;
        ++pos;
        double value = 0;
        if (ScanDouble(text, pos, value) && UsableRetention(value) > 0) return value;
    }
    return 0;
}

double KovatsIndex(std::string_view text)
{
    const double semiStandard = NumberAfterLabel(text, "semistdnp");
    return semiStandard > 0 ? semiStandard : NumberAfterLabel(text, "stdnp");
}

}  // namespace

MspField FieldOfKey(std::string_view key)
{
    const std::string normalised = NormalisedKey(key);
    for (const KeyEntry& entry : kKeys) {
        if (normalised == entry.key) return entry.field;
    }
    return MspField::Other;
}

int32_t CasNumberOf(std::string_view value)
{
    const size_t end = value.find(';');
    std::string digits;
    for (char c : value.substr(0, end)) {
        if (c != '-') digits += c;
    }
    return ParseInt(digits);
}

double UsableRetention(double value) { return std::isfinite(value) && value > 0 && value < kLargestRetention ? value : 0; }

double RetentionIndexOf(std::string_view value)
{
    size_t pos = 0;
    double number = 0;
    if (ScanDouble(value, pos, number)) return UsableRetention(number);
    return KovatsIndex(value);
}

double RetentionIndexInComment(std::string_view comment)
{
    // Most explicit first: a comment may carry several.
    for (std::string_view label : {"retention index", "retention_index", "retentionindex", "kovats retention index",
                                   "kovats ri", "ri"}) {
        const double value = NumberAfterLabel(comment, label);
        if (value > 0) return value;
    }
    return KovatsIndex(comment);
}

}  // namespace kiv
