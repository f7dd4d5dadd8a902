#pragma once
// The result files of a search evaluation, beside the result file's stem: "_i.txt" the record
// numbers of the hits, "_f.txt" their similarities, "_t.txt" their Tanimoto values (one row per
// test object) and "_s.txt" the mean-Tanimoto curve.
#include <string>

#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"
#include "search/EvaluationTables.h"

namespace kiv {

// A whole table in one file: every value with the format, a line end after every row. A file
// that cannot be created is not written.
void WriteTable(const std::string& path, const CMatrixI& table, const char* format);
void WriteTable(const std::string& path, const CMatrix& table, const char* format);
// "_s.txt": the heading and the mean Tanimoto of the first k hits for k = 1..W-1.
void WriteCurve(const std::string& path, const CEvaluationTables& tables);
// stem + "_i.txt", "_f.txt" (similarities with similarityFormat), "_t.txt" and "_s.txt".
void WriteResultFiles(const std::string& stem, const CEvaluationTables& tables, const char* similarityFormat);
// The same for random pairs: two record numbers per line, and the curve holds one value, the
// mean Tanimoto of the pairs.
void WritePairResultFiles(const std::string& stem, const CEvaluationTables& tables);

}  // namespace kiv
