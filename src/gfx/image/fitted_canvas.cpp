#include "gfx/image/fitted_canvas.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gfx/error.h"
#include "gfx/raster.h"

namespace {

// The stored index that each fitted index shows, non-decreasing. Along a flipped axis the
// upright stretch runs from the other end: fitted index i is upright index n-1-i.
std::vector<int> SourceIndices(int sourceLength, int fittedLength, bool flipped)
{
    std::vector<int> indices(static_cast<std::size_t>(fittedLength));
    for (int i = 0; i < fittedLength; ++i) {
        indices[static_cast<std::size_t>(i)] = flipped
            ? sourceLength - 1 - StretchSourceIndex(fittedLength - 1 - i, sourceLength, fittedLength)
            : StretchSourceIndex(i, sourceLength, fittedLength);
    }
    return indices;
}

std::string SizeText(Size size)
{
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

} // namespace

Size FittedSizeOf(Size imageSize, const FitFunction& fit, Orientation orientation)
{
    if (imageSize.width <= 0 || imageSize.height <= 0) {
        throw Error("Invalid image size " + SizeText(imageSize));
    }
    if (std::int64_t{imageSize.width} * imageSize.height > kMaxBitmapPixels) {
        throw Error("The image is too large (" + SizeText(imageSize) + ")");
    }
    const Size fitted = fit(orientation.Turn(imageSize));
    if (fitted.width < 0 || fitted.height < 0) throw Error("Invalid fitted size " + SizeText(fitted));
    return orientation.Turn(fitted);
}

FittedCanvas::FittedCanvas(Size imageSize, Size fittedSize, Orientation orientation, std::stop_token stop)
    : m_ImageSize(imageSize),
      m_Orientation(orientation),
      m_Bitmap(fittedSize.width, fittedSize.height, kBlack),
      m_Stop(std::move(stop))
{
    if (m_Bitmap.IsEmpty()) return;
    m_Columns = SourceIndices(imageSize.width, fittedSize.width, orientation.flipColumns);
    m_Rows = SourceIndices(imageSize.height, fittedSize.height, orientation.flipRows);
}

Bitmap FittedCanvas::Take()
{
    if (m_Orientation.IsIdentity() || m_Bitmap.IsEmpty()) return std::move(m_Bitmap);
    const Bitmap stored = std::move(m_Bitmap);
    const Orientation o = m_Orientation;
    const Size size = o.Turn(stored.GetSize());
    Bitmap upright(size.width, size.height, kBlack);
    for (int y = 0; y < size.height; ++y) {
        Pixel* out = upright.Row(y);
        for (int x = 0; x < size.width; ++x) {
            const int column = o.swapAxes ? y : x;
            const int row = o.swapAxes ? x : y;
            out[x] = stored.At(o.flipColumns ? stored.Width() - 1 - column : column,
                               o.flipRows ? stored.Height() - 1 - row : row);
        }
    }
    return upright;
}

std::pair<int, int> FittedCanvas::FittedColumnsOf(int begin, int end) const
{
    const auto first = std::lower_bound(m_Columns.begin(), m_Columns.end(), begin);
    const auto last = std::lower_bound(first, m_Columns.end(), end);
    return {static_cast<int>(first - m_Columns.begin()), static_cast<int>(last - m_Columns.begin())};
}

std::pair<int, int> FittedCanvas::FittedRowsOf(int sourceRow) const
{
    const auto [first, last] = std::equal_range(m_Rows.begin(), m_Rows.end(), sourceRow);
    return {static_cast<int>(first - m_Rows.begin()), static_cast<int>(last - m_Rows.begin())};
}

bool FittedCanvas::WantsRow(int sourceRow) const
{
    ThrowIfStopped();
    return std::binary_search(m_Rows.begin(), m_Rows.end(), sourceRow);
}

void FittedCanvas::ThrowIfStopped() const
{
    if (m_Stop.stop_requested()) throw LoadStopped();
}

int FittedCanvas::NextWantedRow(int from) const
{
    ThrowIfStopped();
    const auto next = std::lower_bound(m_Rows.begin(), m_Rows.end(), from);
    return next == m_Rows.end() ? m_ImageSize.height : *next;
}

void FittedCanvas::PutFittedRow(int sourceRow, const Pixel* fittedRow)
{
    const auto [first, last] = FittedRowsOf(sourceRow);
    if (first == last) return;
    std::memcpy(m_Bitmap.Row(first), fittedRow, m_Bitmap.Stride());
    RepeatRow(first, last);
}

void FittedCanvas::RepeatRow(int first, int last)
{
    for (int y = first + 1; y < last; ++y) std::memcpy(m_Bitmap.Row(y), m_Bitmap.Row(first), m_Bitmap.Stride());
}
