#include "ui/TextBlock.h"

#include "base/Format.h"
#include "base/TextFile.h"
#include "ui/PageSettings.h"

namespace kiv {

void CTextBlock::SetLines(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
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
    const PageRect box = Placement();
    painter.SetClip(box);
    painter.SetTextColour(kBlack);
    UseFont(painter, FontRole::Label, Style().zoom);
    const int line = std::max(1, painter.TextHeight());
    const int margin = line / 4;
    int y = box.top + margin;
    const int x = box.left + margin;
    // Only the lines that fit are formatted, so a listing of a large matrix draws as fast as a short one.
    if (listing_) {
        painter.DrawText({x, y}, Title(), HAlign::Left, VAlign::Top);
        y += line;
        for (int i = 1; i <= result_.Rows() && y < box.bottom; ++i, y += line) {
            painter.DrawText({x, y}, RowText(i), HAlign::Left, VAlign::Top);
        }
    } else {
        // The newest lines of the log are the ones to see: the text shows its end.
        const int fitting = std::max(1, (box.Height() - margin) / line);
        const size_t first = lines_.size() > size_t(fitting) ? lines_.size() - fitting : 0;
        for (size_t i = first; i < lines_.size(); ++i, y += line) {
            painter.DrawText({x, y}, lines_[i], HAlign::Left, VAlign::Top);
        }
    }
    painter.ResetClip();
}

}  // namespace kiv
