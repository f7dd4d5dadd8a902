#pragma once
// The page's text block: lines of text (the message log, a record's data) or, as matrix listing,
// a matrix printed row by row with a print format per element.
#include <string>
#include <vector>

#include "ui/DisplayObject.h"

namespace kiv {

class CTextBlock : public CDisplayObject {
public:
    // Shows lines; the first headLines of them (a record's data) always stand at the top, of the
    // rest (the log) the newest that fit. The matrix of the listing is kept for ShowListing.
    void SetLines(std::vector<std::string> lines, size_t headLines = 0);
    // Lists matrix (copied into the result matrix) under title.
    void SetMatrix(const CMatrix& matrix, const std::string& title, const char* printFormat = kListingFormat);
    // One more line at the end of the text.
    void AppendLine(const std::string& line) { lines_.push_back(line); }
    // Back to the listing of the last matrix; false when it has no rows.
    bool ShowListing();
    bool IsListing() const { return listing_; }
    const std::vector<std::string>& Lines() const { return lines_; }

    std::string CopyText() const override;
    // A listing writes every row with its print format and a line end; a text block writes its
    // lines with "%s\n".
    bool SaveMatrix(const std::string& path) const override;

protected:
    void DrawContent(CPainter& painter) const override;

private:
    std::string RowText(int row) const;
    void DrawListing(CPainter& painter, PagePoint at, int line) const;
    void DrawLines(CPainter& painter, PagePoint at, int line) const;
    std::vector<std::string> lines_;
    size_t headLines_ = 0;
    bool listing_ = false;
    const char* format_ = kListingFormat;
};

}  // namespace kiv
