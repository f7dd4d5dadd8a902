#include "search/SimilarityCriterion.h"

namespace kiv {

namespace {

constexpr int kTwoStageCodes = 10;

}  // namespace

SimilarityCriterion CriterionFromCode(int code)
{
    switch (code) {
    case 2: return SimilarityCriterion::CosineUnknownMasses;
    case 3: return SimilarityCriterion::CosineReferenceMasses;
    case 4: return SimilarityCriterion::CosineEitherMasses;
    case 7: return SimilarityCriterion::BestCandidates;
    case 8: return SimilarityCriterion::SiscomEasy;
    case 9: return SimilarityCriterion::SiscomDetailed;
    default: return SimilarityCriterion::Cosine;
    }
}

SimilarityCriterion EvaluationCriterionFromCode(int code)
{
    return CriterionFromCode(code >= kTwoStageCodes ? code - kTwoStageCodes : code);
}

bool NeedsSiscomPreparation(SimilarityCriterion criterion)
{
    return criterion == SimilarityCriterion::BestCandidates || criterion == SimilarityCriterion::SiscomEasy ||
           criterion == SimilarityCriterion::SiscomDetailed;
}

}  // namespace kiv
