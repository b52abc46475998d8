// libjpeg-turbo behind two plain calls: compress a picture to a 4:2:0
// baseline JPEG in memory, and read its quantised blocks back in macroblock order.
#include "common/image/jpeg_coefficients.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jpeglib.h>

namespace zeku {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// we jump back to the one function that set the trap. The state lives on
// the heap so nothing the jump crosses has an indeterminate value.
struct ErrorTrap {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer is ours
    std::jmp_buf jump;
};

void trapError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

void dropMessage(j_common_ptr) {}

void installTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = trapError;
    trap.manager.output_message = dropMessage;
}

struct CompressState {
    ErrorTrap trap;
    jpeg_compress_struct cinfo;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

struct DecompressState {
    ErrorTrap trap;
    jpeg_decompress_struct cinfo;
};

int roundUp(int value, int multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

// Copies one macroblock row of a component into the output, `perSide`
// blocks per macroblock side (2 for luminance, 1 for chroma), placed at
// `slot` within each six-block macroblock.
void copyComponentRow(JBLOCKARRAY rows, int perSide, int slot, int macroblockRow,
                      JpegCoefficients& out) {
    for (int mx = 0; mx < out.macroblocksAcross; ++mx) {
        const size_t macroblock = static_cast<size_t>(macroblockRow) * out.macroblocksAcross + mx;
        int16_t* dst = out.blocks.data() + (macroblock * kJpegBlocksPerMacroblock + slot) * 64;
        for (int by = 0; by < perSide; ++by) {
            for (int bx = 0; bx < perSide; ++bx) {
                const JCOEF* src = rows[by][mx * perSide + bx];
                for (int i = 0; i < 64; ++i)
                    dst[i] = static_cast<int16_t>(src[i]);
                dst += 64;
            }
        }
    }
}

bool layoutMatches(const jpeg_decompress_struct& cinfo, int across, int down) {
    if (cinfo.num_components != 3 || cinfo.data_precision != 8) return false;
    const jpeg_component_info* c = cinfo.comp_info;
    if (c[0].h_samp_factor != 2 || c[0].v_samp_factor != 2) return false;
    for (int i = 1; i < 3; ++i)
        if (c[i].h_samp_factor != 1 || c[i].v_samp_factor != 1) return false;
    if (c[1].quant_tbl_no != c[2].quant_tbl_no) return false;
    // The coefficient arrays are padded to whole MCUs, i.e. whole
    // macroblocks; check that before indexing them as such.
    for (int i = 0; i < 3; ++i) {
        const int side = i == 0 ? 2 : 1;
        if (roundUp(static_cast<int>(c[i].width_in_blocks), side) != across * side) return false;
        if (roundUp(static_cast<int>(c[i].height_in_blocks), side) != down * side) return false;
    }
    for (int i = 0; i < 2; ++i)
        if (cinfo.quant_tbl_ptrs[c[i].quant_tbl_no] == nullptr) return false;
    return true;
}

}  // namespace

bool compressBgrToJpeg(const uint8_t* bgr, int width, int height, size_t stride, int quality,
                       std::vector<uint8_t>& jpeg) {
    if (bgr == nullptr || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION ||
        height > JPEG_MAX_DIMENSION || stride < static_cast<size_t>(width) * 3)
        return false;
    auto state = std::make_unique<CompressState>();
    jpeg_compress_struct& cinfo = state->cinfo;
    installTrap(state->trap);
    cinfo.err = &state->trap.manager;
    if (setjmp(state->trap.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(state->buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &state->buffer, &state->size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // The defaults already are 4:2:0 with the accurate integer DCT; state
    // them anyway, since the stream's block order depends on them.
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
    for (int i = 1; i < 3; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg does not write through the row pointer.
        JSAMPROW row = const_cast<JSAMPROW>(bgr + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    jpeg.assign(state->buffer, state->buffer + state->size);
    std::free(state->buffer);
    return true;
}

bool readJpegCoefficients(const uint8_t* jpeg, size_t length, JpegCoefficients& out) {
    if (jpeg == nullptr || length == 0) return false;
    auto state = std::make_unique<DecompressState>();
    jpeg_decompress_struct& cinfo = state->cinfo;
    installTrap(state->trap);
    cinfo.err = &state->trap.manager;
    if (setjmp(state->trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg, static_cast<unsigned long>(length));
    jpeg_read_header(&cinfo, TRUE);
    const int width = static_cast<int>(cinfo.image_width);
    const int height = static_cast<int>(cinfo.image_height);
    const int across = (width + 15) / 16;
    const int down = (height + 15) / 16;
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
    // Warnings mean damaged data; blocks read from it would be guesses.
    if (arrays == nullptr || !layoutMatches(cinfo, across, down) || cinfo.err->num_warnings != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out.width = width;
    out.height = height;
    out.macroblocksAcross = across;
    out.macroblocksDown = down;
    out.blocks.assign(static_cast<size_t>(across) * down * kJpegBlocksPerMacroblock * 64, 0);
    const JQUANT_TBL* luma = cinfo.quant_tbl_ptrs[cinfo.comp_info[0].quant_tbl_no];
    const JQUANT_TBL* chroma = cinfo.quant_tbl_ptrs[cinfo.comp_info[1].quant_tbl_no];
    for (int i = 0; i < 64; ++i) {
        out.lumaTable[i] = static_cast<uint8_t>(luma->quantval[i]);
        out.chromaTable[i] = static_cast<uint8_t>(chroma->quantval[i]);
    }
    j_common_ptr common = reinterpret_cast<j_common_ptr>(&cinfo);
    for (int my = 0; my < down; ++my) {
        const JDIMENSION lumaRow = static_cast<JDIMENSION>(my) * 2;
        copyComponentRow(cinfo.mem->access_virt_barray(common, arrays[0], lumaRow, 2, FALSE), 2, 0,
                         my, out);
        for (int c = 1; c < 3; ++c) {
            JBLOCKARRAY rows = cinfo.mem->access_virt_barray(common, arrays[c],
                                                             static_cast<JDIMENSION>(my), 1, FALSE);
            copyComponentRow(rows, 1, 3 + c, my, out);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace zeku
