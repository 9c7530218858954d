#pragma once
// JPEG files made in the test through libjpeg's encoder: grey or RGB samples from a function,
// baseline or with libjpeg's standard progressive script, and an APP1 block if given.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

// jpeglib.h needs FILE and size_t declared first (above).
#include <jpeglib.h>

#include "unit/test_support/image_files.h"

struct JpegRecipe {
    int width = 0;
    int height = 0;
    int components = 3;                              // 1 (grey) or 3 (RGB)
    std::function<int(int x, int y, int channel)> sample;
    int quality = 90;
    bool progressive = false;
    bool fullChroma = false;                         // 1x1 sampling for every component
    Bytes app1;                                      // written right after the start when not empty
};

inline Bytes EncodeJpeg(const JpegRecipe& recipe)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(recipe.width);
    info.image_height = static_cast<JDIMENSION>(recipe.height);
    info.input_components = recipe.components;
    info.in_color_space = recipe.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, recipe.quality, TRUE);
    if (recipe.progressive) jpeg_simple_progression(&info);
    if (recipe.fullChroma)
        for (int c = 0; c < recipe.components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    if (!recipe.app1.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, recipe.app1.data(), static_cast<unsigned>(recipe.app1.size()));
    std::vector<JSAMPLE> row(static_cast<std::size_t>(recipe.width * recipe.components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < recipe.components; ++c)
                row[static_cast<std::size_t>(x * recipe.components + c)] = static_cast<JSAMPLE>(recipe.sample(x, y, c));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    const Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}
