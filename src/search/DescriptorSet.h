#pragma once
// Structure descriptors: one fixed-length bit string per compound, each bit recording one
// substructure. A set is a text header (title, object count, bit count) beside a ".bit" file
// that holds the bit strings of all objects as one continuous little-endian bit stream, objects
// packed without padding. Object numbers are 1-based record numbers of the library.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/TextFile.h"
#include "matrix/Matrix.h"

namespace kiv {

class DescriptorSet {
public:
    // Forgets the file and the objects and prepares for bit strings of bitCount bits.
    void SetBitCount(int32_t bitCount);
    // Reads the header (an empty path asks for it) and opens the ".bit" file beside it.
    // Returns 1 when the header was read, 0 otherwise (the set is then unchanged).
    int OpenDescriptors(const std::string& headerPath, CPrompter& prompter);
    void OpenBitFile(CPrompter& prompter);
    // start > 0: object start into the one-object buffer; 0: all objects into memory.
    // Returns 1, or 0 after reporting "Error opening Descriptor file!".
    int ReadObjects(int32_t start);
    void CloseDescriptors();

    // 1 x bitCount vector of 0.0 / 1.0: the one-object buffer, or object k of the loaded data
    // (k above the count is taken as the last object). 0 x 0 when no such object was read (k
    // below 1, nothing read or loaded): the bit count alone comes from the header and is no
    // reason to allocate.
    CMatrix ObjectVector() const;
    CMatrix ObjectVector(int32_t k) const;
    // bitCount characters "0" / "1" of loaded object k (empty for k below 1).
    std::string BitString(int32_t k) const;
    // Bits set in both over bits set in either, for loaded objects; 0 when an object number is
    // outside 1..objectCount or neither object has a bit set.
    double Tanimoto(int32_t i, int32_t k) const;

    bool IsOpen() const { return open_ == 1; }
    bool IsLoaded() const { return !data_.empty(); }
    // The objects that can actually be had: the loaded ones, or those the open ".bit" file holds
    // completely (at most objectCount); 0 when neither. The header's counts alone promise nothing.
    int32_t ObjectsAvailable() const;

    std::string bitFile;
    int32_t bitCount = 0;
    int32_t byteCount = 0;
    int32_t objectCount = 0;

private:
    const unsigned char* LoadedObject(int32_t k) const;
    CMatrix VectorOf(const unsigned char* object) const;
    int64_t BitFileSize() const;
    // Unpacks object number i (1-based) into out (byteCount bytes) from the part of the packed
    // stream that starts at file byte streamStart.
    void UnpackObject(const unsigned char* stream, int64_t streamStart, int64_t streamBytes, int64_t i,
                      unsigned char* out) const;

    FilePtr file_;
    int open_ = 0;
    std::vector<unsigned char> buffer_;  // one object
    std::vector<unsigned char> data_;  // all objects, byteCount bytes each
};

}  // namespace kiv
