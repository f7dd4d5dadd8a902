#pragma once
// One point table of a JCAMP-DX spectrum, read line by line into a peak list. Two forms carry
// mass spectra:
//   pairs       "(XY..XY)" and "PEAKS" tables: mass, intensity pairs, several per line,
//               separated by blanks, "," or ";";
//   continuous  "(X++(Y..Y))" tables: an abscissa and then ordinates at equal steps, plain or
//               ASDF-compressed (see AsdfDecoder.h).
// A pair whose intensity is 0 is no peak ("10, 0" starts many tables, "0,0" pads others): it
// counts as read and is not stored. The table itself decides how many points there are; the
// count its "##NPOINTS" announced is only compared with it.
#include <cstdint>
#include <string_view>
#include <vector>

#include "import/AsdfDecoder.h"

namespace kiv {

enum class JcampTableForm { Pairs, Continuous };

// The table form named by a table label's value: "(X++(Y..Y))" and "(M++(I..I))" are
// continuous, everything else is read as pairs.
JcampTableForm TableFormOf(std::string_view labelValue);

// What the labels before a table say about its numbers; 0 factors and NaN abscissae are "not
// given".
struct CJcampScaling {
    double xFactor = 0;
    double yFactor = 0;
    double firstX;
    double lastX;
    double deltaX;
    CJcampScaling();
};

enum class TableLineResult { Read, IllegalPoint, CheckFailed };

class CJcampTable {
public:
    // A table spectrum holds at most this many peaks (a 16-bit count in the library).
    static constexpr int kMaxPeaks = 65535;

    // expectedPoints < 0: not announced.
    void Start(JcampTableForm form, const CJcampScaling& scaling, int32_t expectedPoints);
    TableLineResult ReadLine(std::string_view line);

    int64_t PointsRead() const { return pointsRead_; }
    // Peaks past kMaxPeaks that were not stored.
    int64_t PeaksDropped() const { return dropped_; }
    const std::vector<double>& Masses() const { return masses_; }
    const std::vector<double>& Intensities() const { return intensities_; }

private:
    TableLineResult ReadPairs(std::string_view line);
    TableLineResult ReadContinuous(std::string_view line);
    // Stores one point, scaled to real units; false when it is no valid point.
    bool AddPoint(double mass, double intensity);

    JcampTableForm form_ = JcampTableForm::Pairs;
    double xFactor_ = 1;
    double yFactor_ = 1;
    double step_ = 1;  // abscissa step of a continuous table, in real units
    int64_t pointsRead_ = 0;
    int64_t dropped_ = 0;
    bool checkPending_ = false;  // the line before ended with a difference
    double lastOrdinate_ = 0;
    CAsdfLine decoded_;
    std::vector<double> masses_;
    std::vector<double> intensities_;
};

}  // namespace kiv
