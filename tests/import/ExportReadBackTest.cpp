#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "LibraryFiles.h"
#include "TestSupport.h"
#include "library/BibExport.h"

using namespace kiv;
using kiv::test::CScratchFolder;

// A library exported as JCAMP-DX comes back through the importer as one spectrum per block.
TEST(ExportReadBack, EveryBlockComesBackAsOneSpectrum)
{
    CScratchFolder folder;
    const std::vector<kiv::test::LibraryPeaks> spectra = {
        {{15, 10}, {29, 45.5}, {31, 100}, {45, 52.25}, {46, 20}},
        {{51, 12}, {77, 30}, {78, 100}, {79, 6.5}},
        {{41, 80}, {43, 100}, {57, 60}, {71, 25}, {85, 9}, {114, 4}},
    };
    ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), spectra));
    CBib bib;
    ASSERT_TRUE(kiv::test::OpenTestLibrary(bib, folder.Path("lib.ssd")));
    ASSERT_EQ(ExportBib(bib, CMatrixI(), kJcampExportFormat, folder.Path("lib.jdx")), 1);
    bib.Close();

    kiv::test::ReadBack back = kiv::test::ImportAndRead({folder.Path("lib.jdx")}, TextImportFormat::Jcamp, folder.Path("back.ssd"));
    ASSERT_EQ(back.blocks.size(), spectra.size());
    for (size_t b = 0; b < spectra.size(); ++b) {
        const CMassSpectrum& s = back.blocks[b].spectrum;
        ASSERT_EQ(s.count, spectra[b].size()) << b;
        for (size_t j = 0; j < spectra[b].size(); ++j) {
            EXPECT_DOUBLE_EQ(kiv::test::Mass(back.blocks[b], static_cast<int>(j + 1)), spectra[b][j].first);
            EXPECT_NEAR(kiv::test::Intensity(back.blocks[b], static_cast<int>(j + 1)), spectra[b][j].second, 0.01);
        }
    }
}
