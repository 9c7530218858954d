#include "gfx/image/jpeg_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first (above).
#include <jpeglib.h>
#include <jerror.h>

#include "gfx/error.h"
#include "gfx/image/fitted_canvas.h"

namespace {

constexpr std::size_t kInputBufferSize = 64 * 1024;
// Files with several scans (progressive ones) hold all their coefficients at once. Above this,
// libjpeg fails instead of letting a small hostile file claim gigabytes.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
// Real files have about ten scans; a flood of tiny ones would make one decode take minutes.
constexpr int kMaxScans = 1000;
// Each scan walks every block of its components, even when it holds no data, so a few kilobytes
// of empty scans over a huge picture keep the decoder busy for many seconds. The work is counted
// in blocks walked: real progressive files walk each block about five times (grey ones six),
// so a budget of sixteen times the picture's blocks is never reached by a photo. Small pictures
// get a floor (their scan count is bounded above). The cap bounds the time for the largest:
// six walks of the most blocks that fit in kMaxDecoderMemory (128 bytes each).
constexpr std::uint64_t kWalksPerBlock = 16;
constexpr std::uint64_t kMinWork = std::uint64_t{1} << 16;
constexpr std::uint64_t kMaxWork = std::uint64_t{24} << 20;
static_assert(kMaxWork >= 6 * (kMaxDecoderMemory / 128));
// Huffman coding spends at least one bit on every block of a complete file. A file holding less
// than an eighth of that is not a damaged photo worth showing but a claim of a size it is not.
constexpr std::uint64_t kMinBlocksPerByte = 8 * 8;

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer converts back
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int scans;
};

struct WorkMonitor {
    jpeg_progress_mgr pub; // first, as above
    std::uint64_t done;
    std::uint64_t budget;
    const std::stop_token* stop;
    bool stopped;
};

struct SourceManager {
    jpeg_source_mgr pub; // first, as above
    ImageSource* source;
    std::uint64_t position;
    JOCTET* buffer;
    std::size_t bufferSize;
};

ErrorManager& ErrorsOf(j_common_ptr info)
{
    return *reinterpret_cast<ErrorManager*>(info->err);
}

SourceManager& SourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<SourceManager*>(info->src);
}

// libjpeg calls the functions below from inside its own frames; ExitWithError and EmitMessage
// leave through longjmp to Guarded, so nothing with a destructor may live in any frame between.

[[noreturn]] void ExitWithError(j_common_ptr info)
{
    ErrorManager& errors = ErrorsOf(info);
    if (info->err->msg_code == JERR_NO_BACKING_STORE) {
        std::snprintf(errors.message, sizeof errors.message, "The image needs more than %ld MB to decode",
                      kMaxDecoderMemory / (1024 * 1024));
    } else {
        (*info->err->format_message)(info, errors.message);
    }
    std::longjmp(errors.jump, 1);
}

// Warnings (damaged or truncated data) are never printed and do not stop the decode.
void EmitMessage(j_common_ptr info, int level)
{
    ErrorManager& errors = ErrorsOf(info);
    if (level == 1 && info->err->msg_code == JTRC_SOS && ++errors.scans > kMaxScans) {
        std::snprintf(errors.message, sizeof errors.message, "More than %d scans", kMaxScans);
        std::longjmp(errors.jump, 1);
    }
}

void OutputMessage(j_common_ptr) {}

// Called before each step of reading a file of several scans: one row of MCUs of the current
// scan, or the markers up to the next scan once the rows are done. A requested stop ends the
// read here, as such a file is read whole before its first row comes out.
void CountWork(j_common_ptr common)
{
    WorkMonitor& work = *reinterpret_cast<WorkMonitor*>(common->progress);
    if (work.stop->stop_requested()) {
        work.stopped = true;
        std::longjmp(ErrorsOf(common).jump, 1);
    }
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_iMCU_row >= info->total_iMCU_rows) return;
    const int blocksPerMcuRow = info->comps_in_scan == 1 ? info->cur_comp_info[0]->v_samp_factor : info->blocks_in_MCU;
    work.done += std::uint64_t{info->MCUs_per_row} * static_cast<std::uint64_t>(blocksPerMcuRow);
    if (work.done > work.budget) {
        ErrorManager& errors = ErrorsOf(common);
        std::snprintf(errors.message, sizeof errors.message, "Too many scans for a picture of this size");
        std::longjmp(errors.jump, 1);
    }
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info)
{
    SourceManager& src = SourceOf(info);
    std::size_t count = src.source->ReadAt(src.position, std::span(src.buffer, src.bufferSize));
    if (count == 0) {
        if (src.position == 0) ERREXIT(info, JERR_INPUT_EMPTY);
        // A truncated file ends as with libjpeg's own sources: a warning and an end marker, so
        // the part that is there is shown and the rest decodes grey.
        WARNMS(info, JWRN_JPEG_EOF);
        src.buffer[0] = 0xFF;
        src.buffer[1] = JPEG_EOI;
        count = 2;
    } else {
        src.position += count;
    }
    src.pub.next_input_byte = src.buffer;
    src.pub.bytes_in_buffer = count;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0) return;
    SourceManager& src = SourceOf(info);
    const auto skip = static_cast<std::size_t>(count);
    if (skip <= src.pub.bytes_in_buffer) {
        src.pub.next_input_byte += skip;
        src.pub.bytes_in_buffer -= skip;
        return;
    }
    // Seek over the rest rather than read it: large metadata blocks are common.
    src.position += skip - src.pub.bytes_in_buffer;
    src.pub.bytes_in_buffer = 0;
}

// Runs one libjpeg call; false when it ended in an error (the message is in errors.message).
// Call may hold only references: a longjmp skips its frame.
template <typename Call>
bool Guarded(ErrorManager& errors, const Call& call)
{
    if (setjmp(errors.jump) != 0) return false;
    call();
    return true;
}

class JpegDecompressor {
public:
    explicit JpegDecompressor(ImageSource& source) : m_Buffer(kInputBufferSize)
    {
        m_Info.err = jpeg_std_error(&m_Errors.pub);
        m_Errors.pub.error_exit = ExitWithError;
        m_Errors.pub.emit_message = EmitMessage;
        m_Errors.pub.output_message = OutputMessage;
        if (!Guarded(m_Errors, [this] { jpeg_create_decompress(&m_Info); })) {
            jpeg_destroy_decompress(&m_Info);
            throw Error(std::string("Cannot start the JPEG decoder: ") + m_Errors.message);
        }
        m_Info.mem->max_memory_to_use = kMaxDecoderMemory;

        m_Source.pub.init_source = InitSource;
        m_Source.pub.fill_input_buffer = FillInputBuffer;
        m_Source.pub.skip_input_data = SkipInputData;
        m_Source.pub.resync_to_restart = jpeg_resync_to_restart;
        m_Source.pub.term_source = TermSource;
        m_Source.source = &source;
        m_Source.buffer = m_Buffer.data();
        m_Source.bufferSize = m_Buffer.size();
        m_Info.src = &m_Source.pub;
    }
    ~JpegDecompressor() { jpeg_destroy_decompress(&m_Info); }
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;

    Size ReadHeader()
    {
        // The APP1 segments are kept for their Exif block (at most 64 KB each).
        Check(Guarded(m_Errors, [this] {
            jpeg_save_markers(&m_Info, JPEG_APP0 + 1, 0xFFFF);
            jpeg_read_header(&m_Info, TRUE);
        }));
        return Size{static_cast<int>(m_Info.image_width), static_cast<int>(m_Info.image_height)};
    }

    // The turn that the first Exif block's Orientation tag asks for.
    Orientation ExifOrientation() const
    {
        for (jpeg_saved_marker_ptr marker = m_Info.marker_list; marker; marker = marker->next) {
            const std::span<const std::uint8_t> payload(marker->data, marker->data_length);
            if (marker->marker == JPEG_APP0 + 1 && IsExifBlock(payload))
                return Orientation::FromTag(ExifOrientationTag(payload));
        }
        return {};
    }

    // Starts the full-size decode into 4 bytes per pixel: blue, green, red, unused, or for
    // CMYK and YCCK files the (inverted) C, M, Y, K values.
    void Start(const std::stop_token& stop)
    {
        m_Cmyk = m_Info.jpeg_color_space == JCS_CMYK || m_Info.jpeg_color_space == JCS_YCCK;
        m_Info.out_color_space = m_Cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        m_Info.dct_method = JDCT_ISLOW;
        m_Info.do_fancy_upsampling = TRUE;
        m_Info.buffered_image = FALSE;
        m_Info.quantize_colors = FALSE;
        m_Info.scale_num = 1;
        m_Info.scale_denom = 1;
        // Files of several scans are read whole here; the monitor is not needed after that.
        m_Work.pub.progress_monitor = CountWork;
        m_Work.done = 0;
        m_Work.stop = &stop;
        m_Work.stopped = false;
        m_Work.budget = std::clamp(BlockCount() * kWalksPerBlock, kMinWork, kMaxWork);
        m_Info.progress = &m_Work.pub;
        const bool started = Guarded(m_Errors, [this] { jpeg_start_decompress(&m_Info); });
        m_Info.progress = nullptr;
        if (m_Work.stopped) throw LoadStopped();
        Check(started);
        if (m_Info.output_width != m_Info.image_width || m_Info.output_height != m_Info.image_height ||
            m_Info.output_components != 4) {
            throw Error("Unexpected JPEG decoder output");
        }
    }

    bool IsCmyk() const { return m_Cmyk; }

    // Refuses a Huffman-coded file far too short for the size it claims, before the decoder
    // allocates for that size. Arithmetic coding can pack a flat picture into almost nothing.
    void CheckLength(std::uint64_t fileSize) const
    {
        if (m_Info.arith_code) return;
        if (fileSize < BlockCount() / kMinBlocksPerByte) {
            throw Error("Cannot decode the JPEG file: The file is too short for a picture of " +
                        std::to_string(m_Info.image_width) + " x " + std::to_string(m_Info.image_height));
        }
    }

    // Moves to the given row; scratch holds one output row and may be overwritten.
    void SkipTo(int row, std::uint8_t* scratch)
    {
        const auto target = static_cast<JDIMENSION>(row);
        if (target <= m_Info.output_scanline) return;
        if (jpeg_has_multiple_scans(&m_Info)) {
            // libjpeg's skipping of a file of several scans can lose count of its rows on a
            // damaged file and then wait forever for input that has already ended. The
            // coefficients are all in memory by now, so reading the rows costs little more.
            while (m_Info.output_scanline < target) ReadRow(scratch);
        } else {
            Check(Guarded(m_Errors, [this, target] { jpeg_skip_scanlines(&m_Info, target - m_Info.output_scanline); }));
        }
        if (m_Info.output_scanline != target) throw Error("The JPEG decoder lost its place");
    }

    void ReadRow(std::uint8_t* row)
    {
        JDIMENSION count = 0;
        Check(Guarded(m_Errors, [this, row, &count] {
            JSAMPROW rows[1] = {row};
            count = jpeg_read_scanlines(&m_Info, rows, 1);
        }));
        if (count != 1) throw Error("The JPEG decoder returned no row");
    }

private:
    // The blocks of all components, as read from the frame header.
    std::uint64_t BlockCount() const
    {
        std::uint64_t blocks = 0;
        for (int i = 0; i < m_Info.num_components; ++i) {
            blocks += std::uint64_t{m_Info.comp_info[i].width_in_blocks} * m_Info.comp_info[i].height_in_blocks;
        }
        return blocks;
    }

    void Check(bool ok) const
    {
        if (!ok) throw Error(std::string("Cannot decode the JPEG file: ") + m_Errors.message);
    }

    jpeg_decompress_struct m_Info{};
    ErrorManager m_Errors{};
    WorkMonitor m_Work{};
    SourceManager m_Source{};
    std::vector<JOCTET> m_Buffer;
    bool m_Cmyk = false;
};

Pixel BgrxPixel(const std::uint8_t* p)
{
    return MakePixel(p[2], p[1], p[0]);
}

// Inverted values, as Adobe writes CMYK: each channel is (colour * black) / 255, rounded.
Pixel CmykPixel(const std::uint8_t* p)
{
    const auto mix = [k = unsigned{p[3]}](unsigned value) { return static_cast<std::uint8_t>((value * k + 127) / 255); };
    return MakePixel(mix(p[0]), mix(p[1]), mix(p[2]));
}

// The fitted picture in the stored orientation; the decoder's memory goes with this call, before
// the picture is turned.
FittedCanvas DecodeFitted(ImageSource& source, const FitFunction& fit, const std::stop_token& stop)
{
    JpegDecompressor jpeg(source);
    const Size imageSize = jpeg.ReadHeader();
    const Orientation orientation = jpeg.ExifOrientation();
    FittedCanvas canvas(imageSize, FittedSizeOf(imageSize, fit, orientation), orientation, stop);
    if (canvas.IsEmpty()) return canvas;

    jpeg.CheckLength(source.Size());
    jpeg.Start(canvas.StopToken());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(imageSize.width) * 4);
    for (int y = canvas.NextWantedRow(0); y < imageSize.height; y = canvas.NextWantedRow(y + 1)) {
        jpeg.SkipTo(y, row.data());
        jpeg.ReadRow(row.data());
        if (jpeg.IsCmyk()) {
            canvas.PutRow(y, [&row](int x) { return CmykPixel(&row[static_cast<std::size_t>(x) * 4]); });
        } else {
            canvas.PutRow(y, [&row](int x) { return BgrxPixel(&row[static_cast<std::size_t>(x) * 4]); });
        }
    }
    return canvas;
}

} // namespace

Bitmap LoadFittedJpeg(ImageSource& source, const FitFunction& fit, const std::stop_token& stop)
{
    return DecodeFitted(source, fit, stop).Take();
}
