#pragma once
// The files a feature set writes its feature rows to while an output is open: the text or binary
// file of the plain save modes and the CDM writer of the CDM save mode. The operations that use
// them are in FeatureOutput.h; a set holds one of these.
//
// A copy of a set does not share its open files: the copy starts with everything closed (and a
// CDM writer of its own), so two sets never write through one handle.
#include <memory>
#include <string>

#include "base/TextFile.h"
#include "matrix/CdmFile.h"
#include "matrix/Matrix.h"

namespace kiv {

class CFeatureOutputFiles {
public:
    CFeatureOutputFiles() = default;
    CFeatureOutputFiles(const CFeatureOutputFiles&) {}
    CFeatureOutputFiles& operator=(const CFeatureOutputFiles& other)
    {
        if (this != &other) *this = CFeatureOutputFiles();
        return *this;
    }
    CFeatureOutputFiles(CFeatureOutputFiles&&) noexcept = default;
    CFeatureOutputFiles& operator=(CFeatureOutputFiles&&) noexcept = default;
    ~CFeatureOutputFiles() = default;

    // The CDM writer, created on first use.
    CCdmFile& Cdm()
    {
        if (!cdm_) cdm_ = std::make_unique<CCdmFile>();
        return *cdm_;
    }
    bool HasCdm() const { return cdm_ != nullptr; }

    // The library the feature rows come from, written into the CDM header ("/BIBFILE").
    std::string bibFileName;
    // The save modes 0 and below write text (CR LF line ends).
    CTextWriter text;
    // The save modes above 0 write to a file opened for binary writing.
    FilePtr binary;
    // The feature matrix the CDM writer was bound to when it was opened; its rows are written
    // only while it is still that set's matrix (a set moved during an open output stops writing
    // instead of reading through a stale binding).
    const CMatrix* cdmMatrix = nullptr;
    // One row's bytes, reused from row to row.
    std::string rowBuffer;

private:
    std::unique_ptr<CCdmFile> cdm_;
};

}  // namespace kiv
