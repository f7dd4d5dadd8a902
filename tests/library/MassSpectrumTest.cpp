#include <gtest/gtest.h>

#include <cmath>

#include "LibraryTestData.h"
#include "library/MassSpectrum.h"

using namespace kiv;

TEST(MassSpectrum, ToVectorBinsAtFloorOfMassPlus0_3)
{
    CMassSpectrum s = test::PeakSpectrum(4, 2, {{43.2, 20}, {43.6, 30}, {43.9, 10}, {41.69, 5}, {41.7, 5}});
    s.basePeakIntensity = 1000;
    s.ToVector();
    EXPECT_EQ(s.isVector, 1);
    EXPECT_EQ(s.nbyte, 2);
    EXPECT_EQ(s.ndec, 0);
    EXPECT_EQ(s.firstMass, 41);
    EXPECT_EQ(s.lastMass, 44);
    EXPECT_EQ(s.count, 4);
    EXPECT_EQ(s.vector.Cols(), 44);
    EXPECT_EQ(s.peaks.Cols(), 0);
    // 43.2 + 43.6 = 50 is the base peak; everything is scaled by 2.
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 43), 100);
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 44), 20);
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 41), 10);  // 41.69
    EXPECT_DOUBLE_EQ(s.vector.Get(1, 42), 10);  // 41.7
    EXPECT_EQ(s.basePeakMass, 43);
    EXPECT_EQ(s.basePeakIntensity, 500u);

    CMassSpectrum none = test::PeakSpectrum(2, 0, {});
    none.ToVector();
    EXPECT_EQ(none.isVector, 1);
    EXPECT_EQ(none.count, 1);
    EXPECT_EQ(none.firstMass, 0);
    EXPECT_EQ(none.vector.Cols(), 0);

    // Masses no vector can hold are dropped instead of sizing a vector after them.
    CMassSpectrum wild = test::PeakSpectrum(8, 0, {{1e15, 100}, {-5, 100}, {18, 10}});
    wild.ToVector();
    EXPECT_EQ(wild.vector.Cols(), 65535);
    EXPECT_DOUBLE_EQ(wild.vector.Get(1, 18), 100);

    CMassSpectrum vector = test::VectorSpectrum(1, 2, {{2, 40}});
    vector.ToVector();  // already a vector: unchanged
    EXPECT_EQ(vector.vector.Get(1, 2), 40);
}

TEST(MassSpectrum, NormaliseEdgeCases)
{
    CMassSpectrum tie = test::VectorSpectrum(1, 5, {{2, 25}, {4, 25}});
    tie.basePeakIntensity = 100;
    tie.Normalise();
    EXPECT_EQ(tie.basePeakMass, 2);  // lowest mass on ties
    EXPECT_DOUBLE_EQ(tie.vector.Get(1, 4), 100);
    EXPECT_EQ(tie.basePeakIntensity, 25u);

    CMassSpectrum nearly = test::VectorSpectrum(1, 1, {{1, 100.00000000005}});
    nearly.basePeakIntensity = 7;
    nearly.Normalise();
    EXPECT_EQ(nearly.vector.Get(1, 1), 100.00000000005);  // within tolerance: untouched
    EXPECT_EQ(nearly.basePeakIntensity, 7u);

    CMassSpectrum zero = test::VectorSpectrum(1, 3, {});
    zero.basePeakMass = 2;
    zero.Normalise();
    EXPECT_EQ(zero.basePeakMass, 0);
    for (int m = 1; m <= 3; ++m) EXPECT_EQ(zero.vector.Get(1, m), 0);
    EXPECT_EQ(zero.empty, 0);

    CMassSpectrum noColumns = test::VectorSpectrum(0, 0, {});
    noColumns.Normalise();
    EXPECT_EQ(noColumns.empty, 1);

    CMassSpectrum peaks = test::PeakSpectrum(2, 1, {{50.5, 10}, {60, 40}});
    peaks.Normalise();
    EXPECT_EQ(peaks.basePeakMass, 60);
    EXPECT_DOUBLE_EQ(peaks.peaks.Get(2, 1), 25);

    CMassSpectrum cleared = peaks;
    cleared.Clear();
    EXPECT_EQ(cleared.empty, 1);
    EXPECT_EQ(cleared.nbyte, 2);
    EXPECT_EQ(cleared.ndec, 1);
    EXPECT_EQ(cleared.peaks.Cols(), 0);
    EXPECT_TRUE(cleared.comment.empty());
    EXPECT_EQ(NominalMass(std::nan("")), 0);
}
