#include "ui/StatisticsMenu.h"

#include "statistics/IntensityStatistics.h"
#include "statistics/MolecularWeightStatistics.h"
#include "statistics/MoleculeStatistics.h"

namespace kiv {

namespace {

void MolecularWeights(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    MolecularWeightStatisticsCommand(doc.bib, doc.molecularWeightHistogram, prompter, session);
}

void Molecules(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    MoleculeStatisticsCommand(doc.bib, doc.moleculeTable, prompter, session);
}

void Masses(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    MassStatisticsCommand(doc.bib, doc.massStatistics, prompter, session);
}

void Features(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    FeatureStatisticsCommand(doc.bib, doc.features, doc.featureStatistics, prompter, session);
}

}  // namespace

void AddStatisticsMenuCommands(CommandList& commands)
{
    commands.insert(commands.end(), {
        {"MW", "Statistics", "report file", MolecularWeights, {}},
        {"Molecule", "Statistics", "report file", Molecules, {}},
        {"Mass", "Statistics", "minimum, maximum, steps, report file", Masses, {}},
        {"Feature", "Statistics", "minimum, maximum, steps, report file", Features, {}},
    });
}

}  // namespace kiv
