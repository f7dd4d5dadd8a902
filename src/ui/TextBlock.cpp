#include "ui/TextBlock.h"

#include <algorithm>

#include "base/Format.h"
#include "base/TextFile.h"
#include "ui/PageSettings.h"

namespace kiv {

void CTextBlock::SetLines(std::vector<std::string> lines, size_t headLines)
{
    lines_ = std::move(lines);
    headLines_ = std::min(headLines, lines_.size());
    listing_ = false;
}

bool CTextBlock::ShowListing()
{
    listing_ = true;
    return result_.Rows() > 0;
}

void CTextBlock::SetMatrix(const CMatrix& matrix, const std::string& title, const char* printFormat)
{
    listing_ = true;
    format_ = printFormat;
    SetTitle(title);
    ShowResult(matrix);
}

std::string CTextBlock::RowText(int row) const
{
    std::string text;
    for (int j = 1; j <= result_.Cols(); ++j) text += Format(format_, result_.Get(row, j));
    return text;
}

std::string CTextBlock::CopyText() const
{
    std::string text;
    if (!listing_) {
        for (const std::string& line : lines_) text += line + "\n";
        return text;
    }
    for (int i = 1; i <= result_.Rows(); ++i) text += RowText(i) + "\n";
    return text;
}

bool CTextBlock::SaveMatrix(const std::string& path) const
{
    if (listing_) return WriteMatrixRows(path, result_, format_);
    CTextWriter out;
    if (!out.Open(path)) return false;
    for (const std::string& line : lines_) out.Print("%s\n", line.c_str());
    return true;
}

void CTextBlock::DrawContent(CPainter& painter) const
{
    painter.SetClip(Placement());
    painter.SetTextColour(kBlack);
    UseFont(painter, FontRole::Label, Style().zoom);
    const int line = std::max(1, painter.TextHeight());
    const PagePoint at{Placement().left + line / 4, Placement().top + line / 4};
    if (listing_) {
        DrawListing(painter, at, line);
    } else {
        DrawLines(painter, at, line);
    }
    painter.ResetClip();
}

void CTextBlock::DrawListing(CPainter& painter, PagePoint at, int line) const
{
    UseFont(painter, FontRole::Title, Style().zoom);
    painter.DrawText(at, Title(), HAlign::Left, VAlign::Top);
    at.y += painter.TextHeight();
    UseFont(painter, FontRole::Label, Style().zoom);
    // Only the rows that fit are formatted, so a listing of a large matrix draws as fast as a short one.
    for (int i = 1; i <= result_.Rows() && at.y < Placement().bottom; ++i, at.y += line) {
        painter.DrawText(at, RowText(i), HAlign::Left, VAlign::Top);
    }
}

void CTextBlock::DrawLines(CPainter& painter, PagePoint at, int line) const
{
    for (size_t i = 0; i < headLines_; ++i, at.y += line) painter.DrawText(at, lines_[i], HAlign::Left, VAlign::Top);
    const int fitting = std::max(1, (Placement().bottom - at.y) / line);
    const size_t first = std::max(headLines_, lines_.size() > size_t(fitting) ? lines_.size() - fitting : 0);
    for (size_t i = first; i < lines_.size(); ++i, at.y += line) {
        painter.DrawText(at, lines_[i], HAlign::Left, VAlign::Top);
    }
}

}  // namespace kiv
