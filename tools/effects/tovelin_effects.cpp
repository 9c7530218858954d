// tovelin-effects: runs one transition on real photos, as a slide step would, and writes the
// back buffer after every presented frame, so that an effect can be looked at frame by frame.
//
//   tovelin-effects --effect N --screen WxH --photo NEW [--previous OLD] [--stop-before K] --out DIR
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "bmp_writer.h"
#include "gfx/error.h"
#include "gfx/image/image_file.h"
#include "gfx/raster.h"
#include "slideshow/effect_host.h"
#include "slideshow/fit_size.h"
#include "slideshow/transitions.h"

namespace {

constexpr const char* kUsage =
    "usage: tovelin-effects --effect N --screen WxH --photo NEW [--previous OLD] [--stop-before K] --out DIR\n";

// A fault of the command line, answered with the usage text.
class UsageError : public Error {
public:
    using Error::Error;
};

struct Options {
    unsigned effect = 0;
    Size screen;
    std::string photo;
    std::optional<std::string> previous;
    std::optional<long long> stopBefore;
    std::string out;
};

template <typename Number>
Number ParseNumber(std::string_view text, std::string_view what)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        throw UsageError("Bad " + std::string(what) + ": " + std::string(text));
    }
    return value;
}

Size ParseScreen(std::string_view text)
{
    const auto cross = text.find('x');
    if (cross == std::string_view::npos) throw UsageError("Bad screen size (WxH): " + std::string(text));
    const Size size{ParseNumber<int>(text.substr(0, cross), "screen width"),
                    ParseNumber<int>(text.substr(cross + 1), "screen height")};
    if (size.IsEmpty()) throw UsageError("Bad screen size (WxH): " + std::string(text));
    return size;
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    bool haveEffect = false;
    for (int n = 1; n < argc; ++n) {
        const std::string_view name = argv[n];
        if (n + 1 >= argc) throw UsageError("Missing value after " + std::string(name));
        const std::string_view value = argv[++n];
        if (name == "--effect") {
            options.effect = ParseNumber<unsigned>(value, "effect number");
            haveEffect = true;
        } else if (name == "--screen") {
            options.screen = ParseScreen(value);
        } else if (name == "--photo") {
            options.photo = value;
        } else if (name == "--previous") {
            options.previous = std::string(value);
        } else if (name == "--stop-before") {
            options.stopBefore = ParseNumber<long long>(value, "step number");
        } else if (name == "--out") {
            options.out = value;
        } else {
            throw UsageError("Unknown option " + std::string(name));
        }
    }
    if (!haveEffect || options.screen.IsEmpty() || options.photo.empty() || options.out.empty()) {
        throw UsageError("--effect, --screen, --photo and --out are required");
    }
    return options;
}

// The reader is chosen by the extension, as the slide step does.
Bitmap LoadPhoto(const std::string& path, Size screen)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    ImageFormat format{};
    if (extension == ".JPG" || extension == ".JPEG") {
        format = ImageFormat::Jpeg;
    } else if (extension == ".BMP") {
        format = ImageFormat::Bmp;
    } else {
        throw Error("Not a .jpg, .jpeg or .bmp file: " + path);
    }
    return LoadFittedImage(path, format, [screen](Size image) { return FitSize(image, screen); });
}

class FrameWriter : public EffectHost {
public:
    FrameWriter(const Bitmap& backBuffer, std::filesystem::path directory, std::optional<long long> stopBefore)
        : m_BackBuffer(backBuffer), m_Directory(std::move(directory)), m_StopBefore(stopBefore)
    {
    }

    bool WaitStep() override { return !(m_StopBefore && m_Steps++ >= *m_StopBefore); }

    void PresentFrame() override
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.bmp", m_Frames++);
        WriteBmpFile((m_Directory / name).string(), m_BackBuffer);
    }

    int Frames() const { return m_Frames; }

private:
    const Bitmap& m_BackBuffer;
    std::filesystem::path m_Directory;
    std::optional<long long> m_StopBefore;
    long long m_Steps = 0;
    int m_Frames = 0;
};

int Run(const Options& options)
{
    const Bitmap photo = LoadPhoto(options.photo, options.screen);

    // The entry picture, as the slide step leaves it: the previous photo at the top-left,
    // resized width first and then height, black where the new photo is larger.
    Bitmap backBuffer(0, 0, kBlack);
    if (options.previous) {
        const Bitmap previous = LoadPhoto(*options.previous, options.screen);
        backBuffer.SetSize(previous.Width(), previous.Height());
        CopyBlock(backBuffer, backBuffer.Bounds(), previous, Point{0, 0});
    }
    backBuffer.SetWidth(photo.Width());
    backBuffer.SetHeight(photo.Height());

    std::filesystem::create_directories(options.out);
    FrameWriter host(backBuffer, options.out, options.stopBefore);
    TransitionEffects(host, photo, backBuffer).RunEffect(options.effect);
    WriteBmpFile((std::filesystem::path(options.out) / "final.bmp").string(), backBuffer);
    std::printf("%d frames presented\n", host.Frames());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tovelin-effects: %s\n%s", error.what(), kUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tovelin-effects: %s\n", error.what());
        return 1;
    }
}
