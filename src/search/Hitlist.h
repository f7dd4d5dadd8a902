#pragma once
// The hitlist of a similarity search: for every unknown the best-matching references, ordered
// by falling similarity, and the selection the hitlist page shows.
#include <cstdint>
#include <string>

#include "base/Prompt.h"
#include "base/Session.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

namespace kiv {

// Similarity of a rank that holds no hit.
constexpr double kNoHitSimilarity = -99.0;

struct Hitlist {
    CMatrix similarities;  // unknowns x hits
    CMatrixI referenceNumbers;  // 1-based reference rows (record numbers of the reference BIB), 0: none
    CMatrixI unknownNumbers;  // unknowns x 1: record numbers in the unknowns' BIB
    CMatrix unknownWeights;  // unknowns x 1
    int32_t currentUnknown = 1;
    int32_t currentHit = 0;
    std::string unknownBibName;
    std::string referenceBibName;
    // Filled only by a search with the retention-index window: the index of every unknown
    // (unknowns x 1) and of every hit (unknowns x hits), 0 where there is none.
    CMatrix unknownIndices;
    CMatrix hitIndices;

    // The unknown whose hits the record-number commands use: the current one when valid, else 1.
    int32_t ChosenUnknown() const;
};

// Inserts a hit into one row kept in falling order of similarity: the new hit goes right after
// the last stored hit that is at least as similar (so earlier references win ties); the hits
// behind it move one rank down and the last one drops out. A value below every stored one does
// not enter. The scan starts from the worst rank because most candidates end there.
inline void InsertHit(double* similarities, int32_t* references, int width, double value, int32_t reference)
{
    int rank = width;  // 0-based position the new hit takes
    while (rank > 0 && similarities[rank - 1] < value) --rank;
    if (rank >= width) return;
    for (int p = width - 1; p > rank; --p) {
        similarities[p] = similarities[p - 1];
        references[p] = references[p - 1];
    }
    similarities[rank] = value;
    references[rank] = reference;
}

// "Save Hitlist Record Numbers": the chosen unknown's reference numbers, one "%6d" line per
// hit. An empty path asks for the file.
void SaveHitlistRecordNumbers(const Hitlist& hitlist, const std::string& path, CPrompter& prompter,
                              CSession& session);
// "Save Hitlist Text": every unknown with its hits and similarities; after a search with the
// retention-index window each hit line also shows the unknown's and the hit's index.
void SaveHitlistText(const Hitlist& hitlist, const std::string& path, CPrompter& prompter, CSession& session);

}  // namespace kiv
