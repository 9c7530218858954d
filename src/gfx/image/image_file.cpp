#include "gfx/image/image_file.h"

#include <new>

#include "gfx/image/bmp_reader.h"
#include "gfx/error.h"
#include "gfx/image/image_source.h"
#include "gfx/image/jpeg_reader.h"

namespace {

// Running out of memory is one more reason why a photo cannot be shown.
Bitmap LoadFitted(ImageSource& source, ImageFormat format, const FitFunction& fit, const std::stop_token& stop)
{
    try {
        return format == ImageFormat::Jpeg ? LoadFittedJpeg(source, fit, stop) : LoadFittedBmp(source, fit, stop);
    } catch (const std::bad_alloc&) {
        throw Error("Not enough memory to load the image");
    }
}

} // namespace

Bitmap LoadFittedImage(const std::string& path, ImageFormat format, const FitFunction& fit, std::stop_token stop)
{
    try {
        FileSource file(path);
        return LoadFitted(file, format, fit, stop);
    } catch (const LoadStopped&) {
        throw;
    } catch (const Error& error) {
        throw Error("\"" + path + "\": " + error.what());
    }
}

Bitmap LoadFittedImage(std::span<const std::uint8_t> bytes, ImageFormat format, const FitFunction& fit,
                       std::stop_token stop)
{
    MemorySource memory(bytes);
    return LoadFitted(memory, format, fit, stop);
}
