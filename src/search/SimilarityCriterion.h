#pragma once
// The similarity criteria of a spectral search, numbered as "Sim Criterion" numbers them in the
// parameter and command files. Every code is turned into a criterion by one of the two functions
// below at the first place that reads it.
namespace kiv {

enum class SimilarityCriterion : int {
    Cosine = 1,  // cosine over all selected columns
    CosineUnknownMasses = 2,  // cosine over the masses of the unknown
    CosineReferenceMasses = 3,  // cosine over the masses of the reference
    CosineEitherMasses = 4,  // cosine over the masses of unknown or reference
    BestCandidates = 7,  // SISCOM peak-count score
    SiscomEasy = 8,  // correlation and peak-count score
    SiscomDetailed = 9,  // correlation, peak counts and the intensity outside the common peaks
};

// The criterion of a search code: the listed codes, every other number plain cosine.
SimilarityCriterion CriterionFromCode(int code);

// The criterion of an evaluation code. A code 10 + c asks for the best-candidates score first
// and then criterion c, whose value is the one used; the best-candidates value is thrown away,
// so the code compares under c alone. The criterion evaluation once read these codes as best
// candidates and the random-pairs evaluation as c: both now read them as c, because only that
// reading keeps the ten codes apart (read as best candidates, 10 to 19 would give one and the
// same table) and matches what the code says is used. Codes below 10 map as for a search.
SimilarityCriterion EvaluationCriterionFromCode(int code);

// The SISCOM scores compare prepared spectra (isotopes, background and weak peaks removed).
bool NeedsSiscomPreparation(SimilarityCriterion criterion);

}  // namespace kiv
