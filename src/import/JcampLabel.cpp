#include "import/JcampLabel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "import/TextScan.h"

namespace kiv {

namespace {

struct LabelName {
    std::string_view name;  // normalised: upper case, without blanks, "-", "/" and "_"
    JcampLabel label;
};

// Synonyms from the JCAMP-DX versions and from writers that follow older drafts.
const LabelName kLabels[] = {
    {"TITLE", JcampLabel::Title},
    {"NAME", JcampLabel::Name},
    {"BLOCKS", JcampLabel::Blocks},
    {"CASNAME", JcampLabel::CasName},
    {"$RETENTIONINDEX", JcampLabel::RetentionIndex},
    {"RETENTIONINDEX", JcampLabel::RetentionIndex},
    {"CASREGISTRYNO", JcampLabel::CasNumber},
    {"CAS", JcampLabel::CasNumber},
    {"MOLFORM", JcampLabel::MolForm},
    {"MW", JcampLabel::Mw},
    {"SCAN", JcampLabel::Scan},
    {"SCANNUMBER", JcampLabel::Scan},
    {"ATOMLIST", JcampLabel::AtomList},
    {"BONDLIST", JcampLabel::BondList},
    {"XYRASTER", JcampLabel::XyRaster},
    {"NPOINTS", JcampLabel::Npoints},
    {"XFACTOR", JcampLabel::XFactor},
    {"YFACTOR", JcampLabel::YFactor},
    {"FIRSTX", JcampLabel::FirstX},
    {"LASTX", JcampLabel::LastX},
    {"DELTAX", JcampLabel::DeltaX},
    {"FACTOR", JcampLabel::Factor},
    {"FIRST", JcampLabel::First},
    {"LAST", JcampLabel::Last},
    {"PEAKTABLE", JcampLabel::Table},
    {"XYDATA", JcampLabel::Table},
    {"DATATABLE", JcampLabel::Table},
    {"DATATYPE", JcampLabel::DataType},
    {"RETENTIONTIME", JcampLabel::RetentionTime},
    {"$RETENTIONTIME", JcampLabel::RetentionTime},
    {"NTUPLES", JcampLabel::NTuples},
    {"ENDNTUPLES", JcampLabel::EndNTuples},
    {"PAGE", JcampLabel::Page},
    {"END", JcampLabel::End},
};

// Longer labels are none of ours.
constexpr size_t kMaxLabel = 20;

// Each character as it counts in a label: upper case, 0 for the ones the standard ignores.
struct CLabelCharacters {
    char normalised[256] = {};
    constexpr CLabelCharacters()
    {
        for (int c = 1; c < 256; ++c) normalised[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        for (char c : {' ', '\t', '-', '/', '_'}) normalised[static_cast<unsigned char>(c)] = 0;
        normalised[0] = 1;  // a NUL byte stays in the label, which then names nothing
    }
};

constexpr CLabelCharacters kLabelCharacters;

// The first 8 characters of a name as one number (0 bytes after a shorter name).
uint64_t KeyOf(std::string_view name)
{
    uint64_t key = 0;
    std::memcpy(&key, name.data(), std::min<size_t>(name.size(), sizeof key));
    return key;
}

// What follows the first 8 characters.
std::string_view Tail(std::string_view name) { return name.substr(std::min<size_t>(name.size(), 8)); }

// The names of each length with their keys: a label is compared with a few of them, and with
// most of those as one number.
struct CNamesByLength {
    struct CEntry {
        uint64_t key;
        const LabelName* name;
    };
    std::vector<CEntry> names[kMaxLabel + 1];
    CNamesByLength()
    {
        for (const LabelName& entry : kLabels) names[entry.name.size()].push_back({KeyOf(entry.name), &entry});
    }
};

JcampLabel LookUp(std::string_view normalised)
{
    static const CNamesByLength byLength;
    const uint64_t key = KeyOf(normalised);
    for (const CNamesByLength::CEntry& entry : byLength.names[normalised.size()]) {
        if (entry.key == key && Tail(entry.name->name) == Tail(normalised)) {
            return entry.name->label;
        }
    }
    return JcampLabel::Other;
}

}  // namespace

std::string_view WithoutJcampComment(std::string_view text)
{
    const size_t comment = text.find("$$");
    return comment == std::string_view::npos ? text : text.substr(0, comment);
}

CJcampLine ParseJcampLine(std::string_view line)
{
    CJcampLine result;
    size_t pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (line.substr(pos, 2) != "##") return result;
    pos += 2;
    const size_t equals = line.find('=', pos);
    const size_t labelEnd = equals == std::string_view::npos ? line.size() : equals;
    char normalised[kMaxLabel];
    size_t length = 0;
    bool tooLong = false;
    for (size_t i = pos; i < labelEnd; ++i) {
        const char c = kLabelCharacters.normalised[static_cast<unsigned char>(line[i])];
        if (c == 0) continue;
        if (length == kMaxLabel) {
            tooLong = true;
            break;
        }
        normalised[length++] = c;
    }
    result.label = tooLong ? JcampLabel::Other : LookUp(std::string_view(normalised, length));
    if (equals != std::string_view::npos) result.value = TrimBlanks(WithoutJcampComment(line.substr(equals + 1)));
    return result;
}

}  // namespace kiv
