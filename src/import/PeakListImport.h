#pragma once
// The readers of peak lists: CosCalib files and MassLib page files (".cop"), one spectrum per
// file, into a memory library.
#include <string>
#include <vector>

#include "library/Bib.h"

namespace kiv {

class CSession;

// One spectrum per file, named by its path; Title "CosCalib Import", Typ "MS".
bool ImportCosCalib(CBib& bib, const std::vector<std::string>& files);

// One spectrum per file; Title "MassLib Import", Typ "MS".
bool ImportMassLib(CBib& bib, const std::vector<std::string>& files);

// Every ".cop" file of the folder of anyFileInFolder, in the order the file system lists them
// ("Directory wrong!" when the folder does not exist). The log gets "Generating new BIB from
// COPs in directory", "init BIB add %s" for the first file and "add %s" for the others.
bool ImportMassLibFolder(CBib& bib, const std::string& anyFileInFolder, CSession& session);

}  // namespace kiv
