#include <gtest/gtest.h>

#include "LibraryTestData.h"
#include "chem/ElementTable.h"
#include "chem/Molecule.h"

using namespace kiv;

TEST(Molecule, FormulaCountsHydrogenCodesAndWritesEveryCount)
{
    EXPECT_EQ(test::Ethanol().Formula(), "C2H6O1");

    CMolecule methanol;
    methanol.Allocate(2, 1);
    methanol.element = {6, 8};
    methanol.hydrogenCode = {4, 2};
    EXPECT_EQ(methanol.Formula(), "C1H4O1");

    // Explicit hydrogen atoms add to the codes; other elements follow by atomic number; the
    // query atom X gets its letter and unknown atoms are left out.
    CMolecule m;
    m.Allocate(6, 0);
    m.element = {17, 1, 35, 6, kElementCodeX, kElementCodeUnknown};
    m.hydrogenCode = {0, 0, 0, 3, 0, 0};
    EXPECT_EQ(m.Formula(), "C1H3Cl1Br1X1");

    // No carbon: hydrogen still comes first.
    CMolecule water;
    water.Allocate(1, 0);
    water.element = {8};
    water.hydrogenCode = {3};
    EXPECT_EQ(water.Formula(), "H2O1");
    EXPECT_EQ(CMolecule().Formula(), "");
}

TEST(Molecule, AllocateClearAndCopy)
{
    CMolecule m;
    EXPECT_EQ(m.empty, 1);
    m.Allocate(4, 3);
    EXPECT_EQ(m.empty, 0);
    EXPECT_EQ(m.atomCount, 4);
    EXPECT_EQ(m.bondCount, 3);
    EXPECT_EQ(m.z.size(), 4u);
    EXPECT_EQ(m.bondStereo.size(), 3u);
    EXPECT_EQ(m.charge[3], 0);

    CMolecule copy = test::Ethanol();
    copy = m;
    EXPECT_EQ(copy.atomCount, 4);
    EXPECT_EQ(copy.element, m.element);

    m.Allocate(0, 5);  // fewer than one atom clears
    EXPECT_EQ(m.empty, 1);
    EXPECT_EQ(m.atomCount, 0);
    EXPECT_EQ(m.bondCount, 0);
    EXPECT_TRUE(m.bondFrom.empty());
}

TEST(ElementTable, SymbolsAndNominalMasses)
{
    EXPECT_EQ(ElementSymbol(1), "H ");
    EXPECT_EQ(ElementSymbol(17), "Cl");
    EXPECT_EQ(ElementSymbol(103), "Lr");
    EXPECT_EQ(ElementSymbol(105), "Ha");
    EXPECT_EQ(ElementSymbol(106), "");
    EXPECT_EQ(ElementSymbol(0), "");
    EXPECT_EQ(ElementNominalMass(6), 12);
    EXPECT_EQ(ElementNominalMass(28), 58);  // Ni is lighter than Co
    EXPECT_EQ(ElementNominalMass(53), 127);
    EXPECT_EQ(ElementNominalMass(86), 222);
    EXPECT_EQ(ElementNominalMass(87), 0);  // Fr
    EXPECT_EQ(ElementNominalMass(90), 232);
    EXPECT_EQ(ElementNominalMass(91), 0);  // Pa
    EXPECT_EQ(ElementNominalMass(92), 238);
    EXPECT_EQ(ElementNominalMass(93), 0);
    EXPECT_EQ(ElementCode("Cl"), 17);
    EXPECT_EQ(ElementCode(" C "), 6);
    EXPECT_EQ(ElementCode("Q"), kElementCodeQ);
    EXPECT_EQ(ElementCode("Zz"), kElementCodeUnknown);
}
