#pragma once
// Writing feature matrices to files. The save mode of a set picks the layout of each row:
//
//   -10  CDM file (or a headerless matrix file) written by the set's CDM writer
//    -5  text for a descriptor-modelling tool: a header, then the row number and every value as
//        "\t%12.5f" per line
//    -4  every value as "%20.5f" on a line of its own, a blank line after each row
//    -3  every value as "%20.5f", one row per line
//    -2  every value as "%20.15f" on a line of its own, a blank line after each row
//    -1  every value as "%20.15f", one row per line
//     0  every value as "%12.5f", one row per line (also every other code not listed)
//     1  every value as a 4-byte little-endian IEEE float, no header
//     2  every value as one byte, floor(v * 2.55 + 0.500000000001): 0..100 maps to 0..255
//
// Text lines end in CR LF. Codes above 0 open the file for binary writing, so a code above 2
// writes "%12.5f" text with bare LF line ends. No mode writes the feature names; they go to a
// file of their own (FeatureDefinitionSet::SaveFeatureNames).
//
// The output streams: open once, write the rows held in the feature matrix as often as it is
// refilled (a library is written one record at a time), close.
#include <cstdint>
#include <span>
#include <string>

#include "base/Prompt.h"

namespace kiv {

class FeatureDefinitionSet;

enum FeatureSaveMode : int {
    kSaveCdm = -10,
    kSaveDragon = -5,
    kSaveText20_5Spaced = -4,
    kSaveText20_5 = -3,
    kSaveText20_15Spaced = -2,
    kSaveText20_15 = -1,
    kSaveText12_5 = 0,
    kSaveFloat32 = 1,
    kSaveUInt8 = 2,
};

// Opens the output of the set's save mode for rowTotal rows (0: the rows of the features).
// CDM mode: the CDM writer saves to outputFile with cdmFormat (asking for the file when the
// name is empty), and outputFile then holds the name it used; the output-open flag is left
// alone. Other modes: asks for outputFile when it is empty (a cancel leaves it empty), opens it
// and sets the output-open flag; the descriptor-tool mode writes its header now. Returns true
// when the output is open. A file that cannot be created leaves outputFile empty, so the next
// save asks again.
bool OpenFeatureOutput(FeatureDefinitionSet& set, int rowTotal, const std::string& cdmFormat, CPrompter& prompter);

// Appends every row of the feature matrix; rowOffset only shifts the row numbers of the
// descriptor-tool layout (row i is numbered rowOffset + i).
void WriteFeatureRows(FeatureDefinitionSet& set, int64_t rowOffset);

// The bytes WriteFeatureRows appends for one row of the plain save modes (not the CDM mode),
// rowNumber being its number in the descriptor-tool layout. Reads nothing but its arguments, so
// rows may be encoded on several threads and written in order afterwards.
void EncodeFeatureRow(int saveMode, int64_t rowNumber, std::span<const double> row, std::string& out);

// Appends rows encoded by EncodeFeatureRow to the open output of a plain save mode.
void WriteEncodedRows(FeatureDefinitionSet& set, const std::string& bytes);

// Closes the output. The CDM mode keeps outputFile, so the next CDM save writes to the same file
// without asking; the other modes empty it, so the next save asks again.
void CloseFeatureOutput(FeatureDefinitionSet& set);

// The byte of the one-byte mode: the low 8 bits of floor(v * 2.55 + 0.500000000001), so 101
// gives 2 and -1 gives 253; a value that is not finite gives 0.
uint8_t FeatureByte(double value);

}  // namespace kiv
