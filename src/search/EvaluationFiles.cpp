#include "search/EvaluationFiles.h"

#include "base/Format.h"
#include "base/TextFile.h"

namespace kiv {

namespace {

constexpr const char* kCurveHeading = "mean tanimoto of 1-# hits for all test objects\n";
constexpr const char* kCurveFormat = "%8.6f\n";

template <class Matrix>
void WriteAnyTable(const std::string& path, const Matrix& table, const char* format)
{
    CTextWriter out;
    if (!out.Open(path)) return;
    for (int i = 1; i <= table.Rows(); ++i) {
        std::string line;
        for (int j = 1; j <= table.Cols(); ++j) line += Format(format, table.Get(i, j));
        line += '\n';
        out.Write(line);
    }
}

}  // namespace

void WriteTable(const std::string& path, const CMatrixI& table, const char* format)
{
    WriteAnyTable(path, table, format);
}

void WriteTable(const std::string& path, const CMatrix& table, const char* format)
{
    WriteAnyTable(path, table, format);
}

void WriteCurve(const std::string& path, const CEvaluationTables& tables)
{
    CTextWriter out;
    if (!out.Open(path)) return;
    out.Write(kCurveHeading);
    // Without test objects there is no mean to write.
    if (tables.tanimotos.Rows() < 1) return;
    for (int k = 1; k <= tables.tanimotos.Cols() - 1; ++k) out.Print(kCurveFormat, tables.MeanOfFirstHits(k));
}

void WriteResultFiles(const std::string& stem, const CEvaluationTables& tables, const char* similarityFormat)
{
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, similarityFormat);
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    WriteCurve(stem + "_s.txt", tables);
}

void WritePairResultFiles(const std::string& stem, const CEvaluationTables& tables)
{
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, "%10.4f");
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    CTextWriter curve;
    if (!curve.Open(stem + "_s.txt")) return;
    curve.Write(kCurveHeading);
    if (tables.tanimotos.Rows() > 0) curve.Print(kCurveFormat, tables.MeanOfFirstColumn());
}

}  // namespace kiv
