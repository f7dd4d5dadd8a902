// Our reading of the corpus against a deliberately plain reading of the format written here
// from its description alone: records are blocks of "key: value" lines and peak lines, set off
// by blank lines or a new "Name:"; peak lines are number pairs with ";", ",", ":", tabs and
// parentheses as separators and quoted annotations; a record whose peak line does not read as
// pairs, or that has no name, is bad. Record by record, the good ones must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>

#include "MspTestSupport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

struct PlainRecord {
    std::string name;
    std::string formula;
    double mw = 0;
    std::string cas;
    double ri = 0;
    double rt = 0;
    std::vector<std::pair<double, double>> peaks;
    bool bad = false;
};

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool WholeNumber(const std::string& token, double& value)
{
    std::istringstream in(token);
    in >> value;
    return !in.fail() && in.eof();
}

double FirstNumberAfter(const std::string& text, const std::string& pattern)
{
    std::smatch match;
    if (std::regex_search(text, match, std::regex(pattern, std::regex::icase))) return std::stod(match[1]);
    return 0;
}

double PlainIndex(const std::string& value)
{
    double number = 0;
    std::istringstream in(value);
    if (in >> number) return number;
    const double semi = FirstNumberAfter(value, "SemiStdNP=([0-9.]+)");
    return semi > 0 ? semi : FirstNumberAfter(value, "(?:^|[^a-z])StdNP=([0-9.]+)");
}

void ReadPeaks(std::string line, PlainRecord& r)
{
    line = std::regex_replace(line, std::regex("\"[^\"]*\""), " ");
    for (char& c : line) {
        if (c == ';' || c == ',' || c == ':' || c == '(' || c == ')' || c == '\t') c = ' ';
    }
    std::istringstream words(line);
    std::vector<double> numbers;
    for (std::string word; words >> word;) {
        double value = 0;
        if (!WholeNumber(word, value)) {
            r.bad = true;
            return;
        }
        numbers.push_back(value);
    }
    if (numbers.size() % 2 != 0) r.bad = true;
    for (size_t k = 0; k + 1 < numbers.size(); k += 2) {
        if (numbers[k] <= 0 || numbers[k + 1] < 0) r.bad = true;
        r.peaks.emplace_back(numbers[k], numbers[k + 1]);
    }
}

std::vector<PlainRecord> PlainRead(const std::string& path)
{
    std::string text = ReadBytes(path);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    text = std::regex_replace(text, std::regex("\r\n?"), "\n");
    std::vector<PlainRecord> records;
    bool open = false;
    bool inPeaks = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (line.empty()) {
            open = inPeaks = false;
            continue;
        }
        const bool peakLine = std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '(' || line[0] == '-';
        const size_t colon = line.find(':');
        const std::string key = peakLine || colon == std::string::npos ? "" : Lowered(Trimmed(line.substr(0, colon)));
        const std::string value = key.empty() ? "" : Trimmed(line.substr(colon + 1));
        if (!open || (!peakLine && (inPeaks || (key == "name" && !records.back().name.empty())))) {
            records.emplace_back();
            open = true;
            inPeaks = false;
        }
        PlainRecord& r = records.back();
        if (peakLine) {
            inPeaks = true;
            ReadPeaks(line, r);
        } else if (key.empty()) {
            r.bad = true;
        } else if (key == "name") {
            r.name = value;
        } else if (key == "formula") {
            r.formula = value;
        } else if (key == "mw") {
            r.mw = std::stod(value);
        } else if (key == "cas#" || key == "casno" || key == "cas") {
            r.cas = std::regex_replace(value.substr(0, value.find(';')), std::regex("-| "), "");
        } else if (key == "ri" || key == "retentionindex" || key == "retention_index") {
            r.ri = PlainIndex(value);
        } else if (key == "rt" || key == "retentiontime") {
            r.rt = std::stod(value);
        } else if ((key == "comments" || key == "comment") && r.ri == 0) {
            r.ri = FirstNumberAfter(value, "retention index=([0-9.]+)");
        }
    }
    std::vector<PlainRecord> good;
    for (PlainRecord& r : records) {
        if (!r.bad && !r.name.empty() && r.peaks.size() <= 65535) good.push_back(std::move(r));
    }
    return good;
}

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TEST(MspPlainParser, EveryCorpusRecordAgreesWithAPlainReading)
{
    int compared = 0;
    for (const std::string& file : MspCorpus()) {
        CScratchFolder scratch;
        MessageLog log;
        const ReadBack ours = ImportMspAndRead({file}, scratch.Path("lib.ssd"), log);
        const std::vector<PlainRecord> plain = PlainRead(file);
        ASSERT_EQ(ours.blocks.size(), plain.size()) << file;
        for (size_t b = 0; b < plain.size(); ++b) {
            const PlainRecord& p = plain[b];
            const CBibRecord& r = ours.blocks[b];
            const std::string where = file + " record " + std::to_string(b + 1);
            if (IsAscii(p.name)) {
                EXPECT_EQ(r.name.name, p.name) << where;
            }
            EXPECT_EQ(r.name.formula, p.formula) << where;
            EXPECT_NEAR(r.name.mw, p.mw, 1e-4) << where;
            EXPECT_EQ(std::to_string(r.name.cas), p.cas.empty() ? "0" : std::to_string(std::stol(p.cas))) << where;
            EXPECT_NEAR(r.spectrum.retentionIndex, p.ri, 1e-3) << where;
            EXPECT_NEAR(r.spectrum.retentionTime, p.ri > 0 ? 0 : p.rt, 1e-3) << where;
            ASSERT_EQ(r.spectrum.peaks.Cols(), static_cast<int>(p.peaks.size())) << where;
            double largest = 0;
            for (const auto& peak : p.peaks) largest = std::max(largest, peak.second);
            for (size_t j = 0; j < p.peaks.size(); ++j) {
                const int col = static_cast<int>(j + 1);
                EXPECT_NEAR(Mass(r, col), p.peaks[j].first, 0.5 * std::pow(10.0, -r.spectrum.ndec)) << where;
                EXPECT_NEAR(Intensity(r, col), 100 * p.peaks[j].second / largest, 0.005 + 1e-9) << where;
            }
            ++compared;
        }
    }
    EXPECT_GE(compared, 25);
}

}  // namespace
}  // namespace kiv::test
