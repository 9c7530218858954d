#include "image_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::LoadForFuzzing(data, size, ImageFormat::Jpeg);
}
