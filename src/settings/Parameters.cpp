#include "settings/Parameters.h"

#include <variant>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "settings/NumberList.h"

namespace kiv {

namespace {

using IntField = int32_t CParameters::*;
using RealField = double CParameters::*;

// One scalar key of the parameter file: where it lives, its default, how it is written and
// whether it travels to the second library object.
struct ScalarKey {
    const char* key;
    std::variant<IntField, RealField> field;
    double defaultValue;
    const char* format;
    bool copied;
};

const ScalarKey kScalarKeys[] = {
    {"MSMMaxMass", &CParameters::msmMaxMass, 550, "%d", true},
    {"DisplayI", &CParameters::displayI, 0.1, "%0.6f", true},
    {"DisplayLibHits", &CParameters::displayLibHits, 10, "%d", true},
    {"PeakDetectionWidth", &CParameters::peakDetectionWidth, 2, "%d", true},
    {"PeakDetectionMasses", &CParameters::peakDetectionMasses, 2, "%d", true},
    {"PeakHeightThreshold", &CParameters::peakHeightThreshold, 0.5, "%0.14g", true},
    {"BaselineSelectionI", &CParameters::baselineSelectionI, 0.01, "%0.14g", true},
    {"BaselineSelectionRatio", &CParameters::baselineSelectionRatio, 0.2, "%0.14g", true},
    {"BaselineStartMinima", &CParameters::baselineStartMinima, 1, "%d", true},
    {"BaselineWidth", &CParameters::baselineWidth, 50, "%d", true},
    {"RetX_q", &CParameters::retXq, -5.40326704545e-07, "%0.14g", true},
    {"RetX_k", &CParameters::retXk, 0.00662660162879, "%0.14g", true},
    {"RetX_d", &CParameters::retXd, -3.91909766667, "%0.14g", true},
    {"Ret_Use", &CParameters::retUse, 1, "%d", true},
    {"Ret_Radius", &CParameters::retRadius, 0.3, "%0.14g", true},
    {"Ret_Deviation", &CParameters::retDeviation, 0.2, "%0.14g", true},
    {"Ret_Calc", &CParameters::retCalc, 0, "%d", false},
    {"MS_mmfa", &CParameters::msMmfa, 0.2, "%0.14g", true},
    {"MS_mmff", &CParameters::msMmff, 0.0, "%0.14g", true},
    {"MS_mfia", &CParameters::msMfia, 0.5, "%0.14g", true},
    {"MS_mfif", &CParameters::msMfif, 0.0, "%0.14g", true},
    {"MS_mfip", &CParameters::msMfip, 1.0, "%0.14g", true},
    {"MS_spectrum", &CParameters::msSpectrum, 1, "%d", true},
    {"MS_m_vector", &CParameters::msMVector, 1, "%d", true},
    {"MS_m_nbyte", &CParameters::msMNbyte, 4, "%d", true},
    {"MS_m_ndec", &CParameters::msMNdec, 3, "%d", true},
    {"No Hits", &CParameters::noHits, 100, "%d", true},
    {"Del ident Hit1", &CParameters::delIdentHit1, 1, "%d", true},
    {"Sim Criterion", &CParameters::simCriterion, 1, "%d", true},
    {"Sim Trans exp I", &CParameters::simTransExpI, 1.0, "%0.14g", true},
    {"Sim Trans exp m", &CParameters::simTransExpM, 0.0, "%0.14g", true},
    {"RI Window", &CParameters::riWindow, 0.0, "%0.14g", true},
    {"SubtractionPeakWidth", &CParameters::subtractionPeakWidth, 8, "%d", false},
    {"SubtractionMode", &CParameters::subtractionMode, 0, "%d", false},
    {"Threads", &CParameters::threads, 0, "%d", true},
};

const ScalarKey* FindScalarKey(std::string_view key)
{
    for (const ScalarKey& entry : kScalarKeys) {
        if (EqualsIgnoreCase(entry.key, key)) return &entry;
    }
    return nullptr;
}

void SetFromText(CParameters& parameters, const ScalarKey& entry, std::string_view value)
{
    if (auto integer = std::get_if<IntField>(&entry.field)) {
        int32_t number = ParseInt(value);
        // The MSM maximum mass 0 marks a fresh set; a file never puts it back there.
        if (*integer == &CParameters::msmMaxMass && number <= 0) return;
        parameters.**integer = number;
    } else {
        parameters.*std::get<RealField>(entry.field) = ParseReal(value);
    }
}

void CopyScalar(const CParameters& from, CParameters& to, const ScalarKey& entry)
{
    std::visit([&](auto field) { to.*field = from.*field; }, entry.field);
}

void ApplyMassModePreset(CParameters& parameters, int32_t mode)
{
    if (mode == 6) {
        parameters.msMmfa = 0.0;
        parameters.msMmff = 1.0003;
        parameters.msMfia = 0.0;
        parameters.msMfif = 0.01253872;
        parameters.msMfip = 0.5566414;
    } else {
        parameters.msMmfa = 0.2;
        parameters.msMmff = 0.0;
        parameters.msMfia = 0.5;
        parameters.msMfif = 0.0;
        parameters.msMfip = 1.0;
    }
}

// A key line has its first "=" after at least one character; the key loses trailing blanks.
bool SplitKeyLine(const std::string& line, std::string& key, std::string_view& value)
{
    size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    key = line.substr(0, equals);
    TrimRight(key, " ");
    value = std::string_view(line).substr(equals + 1);
    return true;
}

// A calibration point line: retention index and retention time.
void ReadPoint(CParameters& parameters, int column, std::string_view line)
{
    double index = 0, time = 0;
    size_t start = line.find_first_not_of(" \t\r\v\f");
    if (start != std::string_view::npos) {
        line.remove_prefix(start);
        size_t used = ScanReal(line, index);
        if (used > 0) time = ParseReal(line.substr(used));
    }
    parameters.retPoints.Set(1, column, index);
    parameters.retPoints.Set(2, column, time);
}

constexpr size_t kParameterLineLength = 65535;
const char* const kIniFilter = "Ini Files (*.ini)|*.ini|All Files (*.*)|*.*||";

}  // namespace

void CParameters::SetDefaults()
{
    for (const ScalarKey& entry : kScalarKeys) {
        if (auto integer = std::get_if<IntField>(&entry.field)) {
            this->**integer = static_cast<int32_t>(entry.defaultValue);
        } else {
            this->*std::get<RealField>(entry.field) = entry.defaultValue;
        }
    }
    retPoints.Free();
    simFeatSelText.clear();
    simFeatSel.clear();
}

void CParameters::ResetOnFirstUse()
{
    if (msmMaxMass == 0) SetDefaults();
}

FileResult LoadParameters(CParameters& parameters, const std::string& path, CPrompter& prompter)
{
    std::string file = path;
    if (file.empty()) {
        auto chosen = prompter.ChooseFileToOpen({"Load Parameters from File:", "*.ini", kIniFilter});
        if (!chosen) return FileResult::NoFileChosen;
        file = *chosen;
    }
    CTextReader reader;
    if (!reader.Open(file)) return FileResult::CannotOpen;
    std::string line, key;
    std::string_view value;
    int pointsLeft = -1;  // -1: key mode; otherwise point lines still to read
    int pointCount = 0;
    while (reader.ReadLine(line, kParameterLineLength)) {
        size_t comment = line.find("//");
        if (comment != std::string::npos) line.erase(comment);
        TrimRight(line, "\n");
        TrimRight(line, " ");
        if (pointsLeft > 0) {
            ReadPoint(parameters, pointCount - pointsLeft + 1, line);
            --pointsLeft;
            if (pointsLeft == 0) pointsLeft = -1;
            continue;
        }
        if (pointsLeft == 0) {  // "Ret_Points=0" skips the line after it
            pointsLeft = -1;
            continue;
        }
        if (!SplitKeyLine(line, key, value)) continue;
        if (const ScalarKey* entry = FindScalarKey(key)) {
            SetFromText(parameters, *entry, value);
        } else if (EqualsIgnoreCase(key, "MS_mode")) {
            ApplyMassModePreset(parameters, ParseInt(value));
        } else if (EqualsIgnoreCase(key, "Sim Feat Sel")) {
            parameters.simFeatSelText = std::string(value);
            ParseNumberList(value, parameters.simFeatSel);
        } else if (EqualsIgnoreCase(key, "Ret_Points")) {
            pointCount = ParseInt(value);
            // Far more calibration points than any run has would only waste memory.
            if (pointCount < 0 || pointCount > 100000) pointCount = 0;
            parameters.retPoints.Alloc(2, pointCount);
            pointsLeft = pointCount;
        }
    }
    return FileResult::Done;
}

FileResult SaveParameters(const CParameters& parameters, const std::string& path, int zoom, CPrompter& prompter)
{
    std::string file = path;
    if (file.empty()) {
        auto chosen = prompter.ChooseFileToSave({"Save Parameters to File:", "*.ini", kIniFilter});
        if (!chosen) return FileResult::NoFileChosen;
        file = *chosen;
        if (file.find('.') == std::string::npos) file += ".ini";
    }
    CTextWriter out;
    if (!out.Open(file)) return FileResult::CannotOpen;
    auto title = [&](const char* text) { out.Print("// %s\n", text); };
    auto key = [&](const char* name) {
        const ScalarKey* entry = FindScalarKey(name);
        out.Print("%s=", entry->key);
        if (auto integer = std::get_if<IntField>(&entry->field)) {
            out.Write(Format(entry->format, parameters.**integer));
        } else {
            out.Write(Format(entry->format, parameters.*std::get<RealField>(entry->field)));
        }
        out.Write("\n");
    };
    auto keys = [&](std::initializer_list<const char*> names) {
        for (const char* name : names) key(name);
    };

    title("GUI");
    out.Print("GUIZoom=%d\n\n", zoom);
    title("MS Matrix");
    key("MSMMaxMass");
    title("Display");
    keys({"DisplayI", "DisplayLibHits"});
    title("Peak Detection");
    keys({"PeakDetectionWidth", "PeakDetectionMasses", "PeakHeightThreshold"});
    out.Write("\n");
    title("Baseline Subtraction");
    key("BaselineSelectionI");
    out.Write("Warning BaselineSelectionI is 1/100 of value in ro_gcms.ini\n");
    keys({"BaselineSelectionRatio", "BaselineStartMinima", "BaselineWidth"});
    title("Retention Calibration of Retention IndeX");
    keys({"RetX_q", "RetX_k", "RetX_d", "Ret_Use", "Ret_Radius", "Ret_Deviation"});
    out.Write("// Start Calibration Points (retentionindex retentiontime)\n");
    const int points = parameters.retPoints.Rows() >= 2 ? parameters.retPoints.Cols() : 0;
    out.Print("Ret_Points=%d\n", points);
    for (int i = 1; i <= points; ++i) {
        out.Print("%6.0f\t%12.6f\n", parameters.retPoints.Get(1, i), parameters.retPoints.Get(2, i));
    }
    out.Write("// End of Calibration Points\n");
    key("Ret_Calc");
    title("MS Import Mass rounding");
    out.Write("// Parameters\tmint = round( (morig - mmfa) / mmff )\tmi = +/- (mfia + mfif*m^mfip)\n");
    keys({"MS_mmfa", "MS_mmff", "MS_mfia", "MS_mfif", "MS_mfip", "MS_spectrum", "MS_m_vector", "MS_m_nbyte",
          "MS_m_ndec"});
    title("Spectral Similarity Search");
    keys({"No Hits", "Del ident Hit1", "Sim Criterion"});
    out.Write("// correlation using (0/0), 1 = 4\n"
              "// 1 ... correlation lMaxMass\n"
              "// 2 ... correlation fit (masses of unknown)\n"
              "// 3 ... correlation rfit (masses of reference)\n"
              "// 4 ... correlation pure (masses of unknown or reference)\n"
              "// 7 ... Siscom best candidates\n"
              "// 8 ... Siscom method 1 (easy)\n"
              "// 9 ... Siscom method 2 (complicated)\n");
    keys({"Sim Trans exp I", "Sim Trans exp m"});
    if (parameters.riWindow > 0) key("RI Window");
    out.Print("Sim Feat Sel=%s\n\n", parameters.simFeatSelText.c_str());
    title("Subtraction");
    keys({"SubtractionPeakWidth", "SubtractionMode"});
    return FileResult::Done;
}

void CopyParameters(const CParameters& from, CParameters& to)
{
    for (const ScalarKey& entry : kScalarKeys) {
        if (entry.copied) CopyScalar(from, to, entry);
    }
    to.simFeatSelText = from.simFeatSelText;
}

WindowSettings ReadWindowSettings(const std::string& path, CParameters& working, CParameters& reference,
                                  CPrompter& prompter)
{
    WindowSettings settings;
    CTextReader reader;
    if (path.empty() || !reader.Open(path)) {
        ReportRunTimeError(Format("%s not found!", path.c_str()));
        return settings;
    }
    struct WindowKey {
        const char* key;
        int WindowSettings::*field;
    };
    const WindowKey windowKeys[] = {{"GUIZoom", &WindowSettings::zoom},
                                    {"GUI Let", &WindowSettings::left},
                                    {"GUI Top", &WindowSettings::top},
                                    {"GUI Width", &WindowSettings::width},
                                    {"GUI Height", &WindowSettings::height}};
    std::string line, key;
    std::string_view value;
    while (reader.ReadLine(line, kParameterLineLength)) {
        TrimRight(line, "\n");
        TrimRight(line, " ");
        if (!SplitKeyLine(line, key, value)) continue;
        for (const WindowKey& entry : windowKeys) {
            if (EqualsIgnoreCase(entry.key, key)) settings.*entry.field = ParseInt(value);
        }
    }
    reader.Close();
    LoadParameters(working, path, prompter);
    CopyParameters(working, reference);
    return settings;
}

}  // namespace kiv
