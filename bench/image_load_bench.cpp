// Loading a 6000 x 4000 photo fitted to a 1920 x 1080 screen, beside libjpeg decoding the same
// file at full size into a reused buffer; and the memory that loading needs compared with the
// fitted picture, as stored and turned a quarter by its Exif tag. The photo is made once with
// ImageMagick in the build directory.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include "alloc_counter.h"
#include "gfx/image/image_file.h"
#include "slideshow/fit_size.h"

namespace {

constexpr Size kScreen{1920, 1080};

const std::string& PhotoPath()
{
    static const std::string path = [] {
        const std::string file = std::string(TOVELIN_BENCH_WORK_DIR) + "/photo-6000x4000.jpg";
        if (!std::filesystem::exists(file)) {
            // A smooth plasma with grain: about 6.5 MB at quality 90, like a camera's photo.
            const std::string command = "convert -size 1500x1000 -seed 5 plasma:fractal -resize '6000x4000!' "
                                        "-attenuate 0.4 +noise Gaussian -quality 90 -sampling-factor 2x2 '" +
                                        file + ".tmp.jpg' && mv '" + file + ".tmp.jpg' '" + file + "'";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not make %s\n", file.c_str());
        }
        return file;
    }();
    return path;
}

// The same photo with an Exif block asking for a quarter turn clockwise, right after its start.
const std::string& TurnedPhotoPath()
{
    static const std::string path = [] {
        const std::string file = std::string(TOVELIN_BENCH_WORK_DIR) + "/photo-6000x4000-turned.jpg";
        std::FILE* in = std::fopen(PhotoPath().c_str(), "rb");
        if (!in) return file;
        std::vector<unsigned char> jpeg;
        for (int c; (c = std::fgetc(in)) != EOF;) jpeg.push_back(static_cast<unsigned char>(c));
        std::fclose(in);
        const unsigned char app1[] = {0xFF, 0xE1, 0, 28, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                                      1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
        jpeg.insert(jpeg.begin() + 2, std::begin(app1), std::end(app1));
        if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
            std::fwrite(jpeg.data(), 1, jpeg.size(), out);
            std::fclose(out);
        }
        return file;
    }();
    return path;
}

const FitFunction kFitToScreen = [](Size image) { return FitSize(image, kScreen); };

void BM_LoadFittedJpeg(benchmark::State& state)
{
    const std::string& path = PhotoPath();
    for (auto _ : state) {
        Bitmap photo = LoadFittedImage(path, ImageFormat::Jpeg, kFitToScreen);
        benchmark::DoNotOptimize(photo.Data());
    }
}
BENCHMARK(BM_LoadFittedJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: libjpeg-turbo's own full-size decode, as fast as it goes.
void BM_PlainLibjpegDecode(benchmark::State& state)
{
    const std::string& path = PhotoPath();
    std::vector<JSAMPLE> pixels;
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            state.SkipWithError("no photo");
            return;
        }
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRX;
        info.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&info);
        const std::size_t stride = std::size_t{info.output_width} * 4;
        pixels.resize(stride * info.output_height);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + stride * info.output_scanline;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_PlainLibjpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

// Peak heap use while loading, against the size of the picture that comes out.
void PeakMemory(benchmark::State& state, const std::string& path)
{
    if (!AllocCounter::Available()) {
        state.SkipWithError("heap counting needs glibc");
        return;
    }
    std::int64_t peak = 0;
    std::int64_t fitted = 0;
    for (auto _ : state) {
        AllocCounter counter;
        Bitmap photo = LoadFittedImage(path, ImageFormat::Jpeg, kFitToScreen);
        peak = std::max(peak, counter.PeakBytes());
        fitted = static_cast<std::int64_t>(photo.Stride()) * photo.Height();
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["fitted_MB"] = static_cast<double>(fitted) / 1e6;
    state.counters["peak_per_fitted"] = fitted > 0 ? static_cast<double>(peak) / static_cast<double>(fitted) : 0.0;
}

void BM_LoadFittedJpegPeakMemory(benchmark::State& state) { PeakMemory(state, PhotoPath()); }
BENCHMARK(BM_LoadFittedJpegPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadTurnedJpegPeakMemory(benchmark::State& state) { PeakMemory(state, TurnedPhotoPath()); }
BENCHMARK(BM_LoadTurnedJpegPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
