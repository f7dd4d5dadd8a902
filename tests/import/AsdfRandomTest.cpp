// Compressed continuous spectra against the plain truth: random ordinates written in a random
// mix of the ASDF forms must decode to exactly those ordinates, and a random profile imported
// from its compressed table must give the very library bytes its peak table gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "TestSupport.h"
#include "import/AsdfDecoder.h"

namespace kiv::test {
namespace {

// The first digit of a number packed into a letter: base is the letter for 1 ("A", "a", "J",
// "j", "S"); 0 has its own character.
std::string Packed(long long magnitude, char base, char zero)
{
    const std::string digits = std::to_string(magnitude);
    if (digits == "0") return std::string(1, zero);
    return static_cast<char>(base + (digits[0] - '1')) + digits.substr(1);
}

std::string Squeezed(long long value) { return Packed(value < 0 ? -value : value, value < 0 ? 'a' : 'A', '@'); }
std::string Difference(long long value) { return Packed(value < 0 ? -value : value, value < 0 ? 'j' : 'J', '%'); }
// A repeat count: "S".."Z" for 1..8, "s" for 9.
std::string Repeat(long long count)
{
    const std::string digits = std::to_string(count);
    return (digits[0] == '9' ? 's' : static_cast<char>('S' + (digits[0] - '1'))) + digits.substr(1);
}

enum class Form { Affn, Pac, Squeezed, Difference, Missing };

// Writes the abscissa and the ordinates as one line, each ordinate in a form picked at random,
// runs of equal values or differences often as a repeat count. endsWithDifference: what the
// decoder has to say about the line's end.
class CLineWriter {
public:
    explicit CLineWriter(std::mt19937& random) : random_(random) {}

    std::string Write(long long abscissa, const std::vector<long long>& y, bool& endsWithDifference)
    {
        std::string line = std::to_string(abscissa);
        bool difference = false;
        size_t k = 0;
        while (k < y.size()) {
            const Form form = Pick(k, y[k]);
            difference = form == Form::Difference;
            const long long step = difference ? y[k] - y[k - 1] : 0;
            line += Token(form, y[k], step);
            // The values (or differences) after this one that a repeat count could cover.
            size_t run = 1;
            while (k + run < y.size() && y[k + run] - y[k + run - 1] == (difference ? step : 0)) ++run;
            if (run > 1 && form != Form::Missing && random_() % 2 == 0) {
                const size_t taken = 2 + random_() % (run - 1);
                line += Repeat(static_cast<long long>(taken));
                k += taken;
            } else {
                ++k;
            }
        }
        endsWithDifference = difference;
        return line;
    }

private:
    Form Pick(size_t k, long long value)
    {
        for (;;) {
            const Form form = static_cast<Form>(random_() % 5);
            if (form == Form::Difference && k == 0) continue;  // the abscissa is no base
            if (form == Form::Missing && value != 0) continue;
            return form;
        }
    }

    static std::string Token(Form form, long long value, long long step)
    {
        switch (form) {
        case Form::Affn: return " " + std::to_string(value);
        case Form::Pac: return (value < 0 ? "-" : "+") + std::to_string(value < 0 ? -value : value);
        case Form::Squeezed: return Squeezed(value);
        case Form::Difference: return Difference(step);
        case Form::Missing: return "?";
        }
        return {};
    }

    std::mt19937& random_;
};

// Mostly zeros with peaks between them, runs of one value and now and then a long number.
std::vector<long long> RandomOrdinates(std::mt19937& random, size_t count)
{
    std::vector<long long> y(count, 0);
    for (size_t k = 0; k < count; ++k) {
        switch (random() % 6) {
        case 0: y[k] = static_cast<long long>(random() % 20000) - 10000; break;
        case 1: y[k] = static_cast<long long>(random() % 10); break;
        case 2: y[k] = k > 0 ? y[k - 1] : 0; break;
        case 3: y[k] = k > 1 ? 2 * y[k - 1] - y[k - 2] : 0; break;  // an equal difference
        case 4: y[k] = static_cast<long long>(random() % 1000000000000ULL); break;
        default: break;
        }
    }
    return y;
}

// The abscissa and every ordinate of a decoded line, the zeros written out.
std::vector<double> Values(const CAsdfLine& decoded)
{
    std::vector<double> values(decoded.valueCount, 0.0);
    if (values.empty()) return values;
    values[0] = decoded.abscissa;
    for (size_t k = 0; k < decoded.pointCount; ++k) values[decoded.points[k].place] = decoded.points[k].value;
    return values;
}

TEST(AsdfRandom, EveryMixOfFormsDecodesToTheOrdinatesWritten)
{
    std::mt19937 random(7);
    CLineWriter writer(random);
    CAsdfLine decoded;  // one for all lines, as a table reuses it
    for (int n = 0; n < 5000; ++n) {
        const std::vector<long long> y = RandomOrdinates(random, 1 + random() % 40);
        const long long abscissa = static_cast<long long>(random() % 2000);
        bool endsWithDifference = false;
        std::string line = writer.Write(abscissa, y, endsWithDifference);
        if (n % 4 == 0) line += "$$ comment: A1 ?$ ##";
        ASSERT_TRUE(DecodeAsdfLine(line, decoded)) << line;
        std::vector<double> expected = {static_cast<double>(abscissa)};
        for (long long v : y) expected.push_back(static_cast<double>(v));
        ASSERT_EQ(Values(decoded), expected) << line;
        ASSERT_EQ(decoded.firstOrdinate, expected[1]) << line;
        ASSERT_EQ(decoded.lastOrdinate, expected.back()) << line;
        ASSERT_EQ(decoded.endsWithDifference, endsWithDifference) << line;
    }
}

TEST(AsdfRandom, DamagedLinesAreReadSafely)
{
    // A valid line with one byte replaced and cut anywhere: refused or read, never more points
    // than ordinates.
    std::mt19937 random(11);
    CLineWriter writer(random);
    CAsdfLine decoded;
    for (int n = 0; n < 5000; ++n) {
        bool endsWithDifference = false;
        std::string line = writer.Write(100, RandomOrdinates(random, 1 + random() % 20), endsWithDifference);
        line[random() % line.size()] = static_cast<char>(random() % 256);
        const std::string copy(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(random() % (line.size() + 1)));
        if (DecodeAsdfLine(copy, decoded)) {
            EXPECT_LE(decoded.pointCount, decoded.valueCount == 0 ? 0 : decoded.valueCount - 1);
        }
    }
}

// A random profile from m/z 15 on, in lines of ten ordinates (each line after one that ends with
// a difference repeats that ordinate first), and the same profile as a peak table.
struct Profile {
    std::string compressed;
    std::string pairs;
};

Profile RandomProfile(std::mt19937& random, CLineWriter& writer, int index)
{
    constexpr long long kFirst = 15;
    std::vector<long long> y(100 + random() % 400, 0);
    for (int p = 0; p < 60; ++p) y[random() % y.size()] = 1 + static_cast<long long>(random() % 99999);
    const std::string title = "##TITLE=Profile " + std::to_string(index) + "\n";
    Profile out;
    out.compressed = title + "##NPOINTS=" + std::to_string(y.size()) + "\n##XYDATA=(X++(Y..Y))\n";
    bool check = false;
    for (size_t first = 0; first < y.size();) {
        const size_t from = check ? first - 1 : first;
        const size_t last = std::min(first + 10, y.size());
        const std::vector<long long> part(y.begin() + static_cast<std::ptrdiff_t>(from), y.begin() + static_cast<std::ptrdiff_t>(last));
        out.compressed += writer.Write(kFirst + static_cast<long long>(from), part, check) + "\n";
        first = last;
    }
    out.compressed += "##END=\n";
    std::string peaks;
    int count = 0;
    for (size_t k = 0; k < y.size(); ++k) {
        if (y[k] == 0) continue;
        peaks += std::to_string(kFirst + static_cast<long long>(k)) + "," + std::to_string(y[k]) + "\n";
        ++count;
    }
    out.pairs = title + "##NPOINTS=" + std::to_string(count) + "\n##XYDATA=(XY..XY)\n" + peaks + "##END=\n";
    return out;
}

TEST(AsdfRandom, CompressedProfilesWriteTheBytesOfTheirPeakTables)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    std::mt19937 random(5);
    CLineWriter writer(random);
    std::string compressed, pairs;
    for (int s = 1; s <= 40; ++s) {
        const Profile profile = RandomProfile(random, writer, s);
        compressed += profile.compressed;
        pairs += profile.pairs;
    }
    WriteBytes(scratch.Path("compressed.jdx"), compressed);
    WriteBytes(scratch.Path("pairs.jdx"), pairs);
    const ReadBack fromCompressed = ImportAndRead({scratch.Path("compressed.jdx")}, TextImportFormat::Jcamp, scratch.Path("a.ssd"));
    const ReadBack fromPairs = ImportAndRead({scratch.Path("pairs.jdx")}, TextImportFormat::Jcamp, scratch.Path("b.ssd"));
    EXPECT_TRUE(reporter.messages.empty()) << reporter.messages.front();
    EXPECT_EQ(fromCompressed.blocks.size(), 40u);
    EXPECT_EQ(ReadBytes(scratch.Path("a.ssd")), ReadBytes(scratch.Path("b.ssd")));
}

// Numbers of every length, with and without a decimal point, near the end of the line and far
// from it: the same value as the C library's reading of the digits. A byte above 0xF9 right after
// the digits is no digit.
TEST(AsdfRandom, NumbersOfEveryLengthWhereverTheLineEnds)
{
    std::mt19937 random(9);
    CAsdfLine decoded;
    for (int digits = 1; digits <= 21; ++digits) {
        for (int tail = 0; tail <= 10; ++tail) {
            for (const bool point : {false, true}) {
                std::string number;
                for (int k = 0; k < digits; ++k) number += static_cast<char>('0' + random() % 10);
                if (point) number.insert(number.size() / 2 + 1, ".");
                const std::string line = "7 " + number + std::string(static_cast<size_t>(tail), ' ');
                SCOPED_TRACE(line);
                ASSERT_TRUE(DecodeAsdfLine(line, decoded));
                EXPECT_EQ(decoded.valueCount, 2u);
                EXPECT_EQ(decoded.lastOrdinate, std::strtod(number.c_str(), nullptr));
                // Packed: the first digit in a letter, the rest after it.
                const std::string packed = "7" + std::string(1, static_cast<char>('A' + (number[0] == '0' ? 0 : number[0] - '1')))
                                           + number.substr(1) + std::string(static_cast<size_t>(tail), ' ');
                if (number[0] != '0') {
                    ASSERT_TRUE(DecodeAsdfLine(packed, decoded));
                    EXPECT_EQ(decoded.lastOrdinate, std::strtod(number.c_str(), nullptr));
                }
                EXPECT_FALSE(DecodeAsdfLine(line + "\xfa" + std::string(8, '1'), decoded));
            }
        }
    }
}

}  // namespace
}  // namespace kiv::test
