#include "import/MemoryImport.h"

namespace kiv {

void StartMemoryLibrary(CBib& bib, const std::string& title, const std::string& typ)
{
    bib.Close();
    bib.Reset();
    bib.inMemory = true;
    bib.header.title = title;
    bib.header.typ = typ;
}

}  // namespace kiv
