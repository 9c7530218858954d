#pragma once
// The fitted picture that an image reader fills while it decodes: it knows which source rows
// and columns a nearest-neighbour stretch to the fitted size picks, so that a reader can skip
// everything else and still produce exactly what a full decode followed by StretchCopy gives.
// A picture stored turned is filled in its stored orientation, with the rows and columns that
// the upright picture's stretch picks, and only the fitted picture is turned.
#include <stop_token>
#include <utility>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "gfx/image/exif_orientation.h"
#include "gfx/image/image_file.h"

// Calls fit with the upright size and checks its answer; throws Error for an image above
// kMaxBitmapPixels (before anything is allocated) or a negative fitted size. Returns the fitted
// size in the stored picture's orientation.
Size FittedSizeOf(Size imageSize, const FitFunction& fit, Orientation orientation = {});

class FittedCanvas {
public:
    // The fitted bitmap starts black: pixels that a reader never writes stay black. Sizes and
    // rows are the stored picture's; Take() turns the result upright. Once stop is requested, the
    // row queries below throw LoadStopped, so that every reader ends its load at its next row.
    FittedCanvas(Size imageSize, Size fittedSize, Orientation orientation = {}, std::stop_token stop = {});

    bool IsEmpty() const { return m_Bitmap.IsEmpty(); }
    Size ImageSize() const { return m_ImageSize; }
    const std::stop_token& StopToken() const { return m_Stop; }
    int FittedWidth() const { return m_Bitmap.Width(); }

    // The source column that each fitted column shows, non-decreasing.
    const std::vector<int>& SourceColumns() const { return m_Columns; }
    // The fitted columns [first, last) that show source columns [begin, end).
    std::pair<int, int> FittedColumnsOf(int begin, int end) const;

    bool WantsRow(int sourceRow) const;
    // The first source row at or after `from` that the fitted picture shows, or the image height.
    int NextWantedRow(int from) const;

    // Fills the fitted rows that show sourceRow: pixelAt(sourceColumn) gives the source pixel.
    template <typename PixelAt>
    void PutRow(int sourceRow, PixelAt pixelAt)
    {
        const auto [first, last] = FittedRowsOf(sourceRow);
        if (first == last) return;
        Pixel* out = m_Bitmap.Row(first);
        for (std::size_t x = 0; x < m_Columns.size(); ++x) out[x] = pixelAt(m_Columns[x]);
        RepeatRow(first, last);
    }
    // Same, from a row already reduced to the fitted width.
    void PutFittedRow(int sourceRow, const Pixel* fittedRow);

    // The fitted picture, upright: exactly the upright full picture stretched to the fitted size.
    Bitmap Take();

private:
    std::pair<int, int> FittedRowsOf(int sourceRow) const;
    void RepeatRow(int first, int last);
    void ThrowIfStopped() const;

    Size m_ImageSize;
    Orientation m_Orientation;
    Bitmap m_Bitmap;
    std::vector<int> m_Columns;
    std::vector<int> m_Rows;
    std::stop_token m_Stop;
};
