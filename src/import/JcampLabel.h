#pragma once
// The labelled lines of JCAMP-DX files ("##LABEL= value"). Labels are compared the way the
// JCAMP-DX standard asks: letter case, blanks, "-", "/" and "_" do not count, so "##Title=",
// "##DATA TYPE=" and "##DATATYPE=" are the same labels as "##TITLE=" and "##DATA_TYPE=". Writers
// also indent labels; blanks before "##" are allowed.
#include <string_view>

namespace kiv {

enum class JcampLabel {
    None,  // not a label line
    Other,  // a label the importer does not use
    Title,
    Name,
    Blocks,
    CasName,
    RetentionIndex,
    CasNumber,
    MolForm,
    Mw,
    Scan,
    AtomList,
    BondList,
    XyRaster,
    Npoints,
    XFactor,
    YFactor,
    FirstX,
    LastX,
    DeltaX,
    Factor,  // the per-variable lists of an NTUPLES table
    First,
    Last,
    Table,  // "##PEAK TABLE", "##XYDATA", "##DATA TABLE"
    DataType,
    RetentionTime,
    NTuples,
    EndNTuples,
    Page,
    End,
};

struct CJcampLine {
    JcampLabel label = JcampLabel::None;
    // The value after the "=": without a "$$" comment and without blanks on either side.
    std::string_view value;
};

CJcampLine ParseJcampLine(std::string_view line);

// text up to a "$$" comment.
std::string_view WithoutJcampComment(std::string_view text);

}  // namespace kiv
