// Pixmaps: ARGB pixel buffers, the BMP, PNG and JPEG loaders, PNG and JPEG saving.
//
// Every loader works on bytes in memory and treats them as hostile: each
// header field is checked against the data before it is used, sides above
// kMaxPixmapSide are refused, and the library decoders report errors by a
// longjmp back into the loader (never by exiting). An out-of-memory while
// building the pixels also gives null. Functions that call setjmp keep no
// C++ objects of their own; their state lives in a struct of the caller, so a
// longjmp skips no destructor.
#include "platform/pixmap.h"

#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>
#include <png.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/bank.h"
#include "platform/files.h"

TPixmap::TPixmap(int w, int h) {
    if (w <= 0 || h <= 0) return;
    width = w;
    height = h;
    pixels.assign((size_t)w * (size_t)h, 0);
}

PixmapPtr CreatePixmap(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxPixmapSide || height > kMaxPixmapSide) return nullptr;
    try {
        return std::make_shared<TPixmap>(width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

PixmapPtr CopyPixmap(const TPixmap& pixmap) { return std::make_shared<TPixmap>(pixmap); }

PixmapPtr PixmapWindow(const TPixmap& pixmap, int x, int y, int width, int height) {
    PixmapPtr out = CreatePixmap(width, height);
    if (!out) return nullptr;
    // Copy the part of the window that lies inside the source, row by row.
    int64_t x0 = std::max<int64_t>(0, x), x1 = std::min<int64_t>(pixmap.width, (int64_t)x + width);
    int64_t y0 = std::max<int64_t>(0, y), y1 = std::min<int64_t>(pixmap.height, (int64_t)y + height);
    for (int64_t sy = y0; sy < y1 && x0 < x1; sy++)
        std::memcpy(out->Row((int)(sy - y)) + (x0 - x), pixmap.Row((int)sy) + x0, (size_t)(x1 - x0) * 4);
    return out;
}

void ClearPixels(TPixmap& pixmap, uint32_t argb) { std::fill(pixmap.pixels.begin(), pixmap.pixels.end(), argb); }

namespace {

bool SideOk(int64_t side) { return side >= 1 && side <= kMaxPixmapSide; }

// ---- BMP ----

// Bounds-checked little-endian reads; a read outside the data gives 0, but
// the parser checks ranges first so that damage is reported, not guessed.
struct Bytes {
    const uint8_t* data;
    size_t size;
    bool Has(uint64_t offset, uint64_t count) const { return offset <= size && count <= size - offset; }
    uint32_t U8(uint64_t o) const { return Has(o, 1) ? data[o] : 0; }
    uint32_t U16(uint64_t o) const { return Has(o, 2) ? data[o] | (uint32_t)data[o + 1] << 8 : 0; }
    uint32_t U32(uint64_t o) const {
        return Has(o, 4)
                   ? data[o] | (uint32_t)data[o + 1] << 8 | (uint32_t)data[o + 2] << 16 | (uint32_t)data[o + 3] << 24
                   : 0;
    }
};

// One colour channel of a BITFIELDS pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    bool Set(uint32_t m) {
        mask = m;
        if (!m) return true;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
        // The bits of a channel must be contiguous.
        return (m >> shift) == ((bits == 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
    }
    uint32_t Get(uint32_t v) const {
        if (!mask) return 0;
        uint32_t c = (v & mask) >> shift;
        if (bits >= 8) return c >> (bits - 8);
        return c * 255 / ((1u << bits) - 1);
    }
};

enum { BI_RGB_ = 0, BI_BITFIELDS_ = 3, BI_ALPHABITFIELDS_ = 6 };

PixmapPtr LoadBmp(const Bytes& in) {
    if (!in.Has(0, 18) || in.data[0] != 'B' || in.data[1] != 'M') return nullptr;
    const uint64_t off_bits = in.U32(10);
    const uint64_t dib = in.U32(14);
    const bool core = dib == 12;
    if (!core && (dib < 40 || dib > 124)) return nullptr;
    if (!in.Has(14, dib)) return nullptr;

    int64_t width, height;
    uint32_t planes, bpp, compression = BI_RGB_, colours_used = 0;
    if (core) {
        width = in.U16(18);
        height = in.U16(20);
        planes = in.U16(22);
        bpp = in.U16(24);
    } else {
        width = (int32_t)in.U32(18);
        height = (int32_t)in.U32(22);
        planes = in.U16(26);
        bpp = in.U16(28);
        compression = in.U32(30);
        colours_used = in.U32(46);
    }
    const bool top_down = height < 0;
    if (top_down) height = -height;  // int64: no overflow for INT_MIN
    if (planes != 1 || !SideOk(width) || !SideOk(height)) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return nullptr;

    // Colour masks of 32-bit BITFIELDS files: in the header from version 3
    // on, else right after a 40-byte header.
    Channel red, green, blue, alpha;
    uint64_t after_header = 14 + dib;
    if (compression == BI_BITFIELDS_ || compression == BI_ALPHABITFIELDS_) {
        if (bpp != 32) return nullptr;
        uint64_t masks = 14 + 40;
        size_t count = compression == BI_ALPHABITFIELDS_ ? 4 : 3;
        if (dib == 40) {
            if (!in.Has(masks, count * 4)) return nullptr;
            after_header += count * 4;
        }
        bool alpha_in_header = dib >= 56 || compression == BI_ALPHABITFIELDS_;
        if (!red.Set(in.U32(masks)) || !green.Set(in.U32(masks + 4)) || !blue.Set(in.U32(masks + 8)) ||
            !alpha.Set(alpha_in_header ? in.U32(masks + 12) : 0))
            return nullptr;
        if (!red.mask || !green.mask || !blue.mask) return nullptr;
    } else if (compression != BI_RGB_) {
        return nullptr;  // run-length and embedded PNG/JPEG bodies are not taken
    }

    // Palette.
    uint32_t palette[256];
    uint32_t palette_size = 0;
    if (bpp <= 8) {
        uint32_t max_colours = 1u << bpp;
        palette_size = colours_used == 0 ? max_colours : std::min(colours_used, max_colours);
        uint64_t entry = core ? 3 : 4;
        if (!in.Has(after_header, palette_size * entry)) return nullptr;
        for (uint32_t i = 0; i < palette_size; i++) {
            uint64_t o = after_header + i * entry;
            palette[i] = 0xFF000000u | in.U8(o + 2) << 16 | in.U8(o + 1) << 8 | in.U8(o);
        }
    }

    // Pixel rows: each padded to 4 bytes; the last row may lack its padding.
    const uint64_t stride = ((uint64_t)width * bpp + 31) / 32 * 4;
    const uint64_t row_bytes = ((uint64_t)width * bpp + 7) / 8;
    if (off_bits < 14 + dib || !in.Has(off_bits, stride * (uint64_t)(height - 1) + row_bytes)) return nullptr;

    PixmapPtr pm = CreatePixmap((int)width, (int)height);
    if (!pm) return nullptr;
    bool any_alpha = false;
    for (int64_t y = 0; y < height; y++) {
        const uint8_t* src = in.data + off_bits + stride * (uint64_t)(top_down ? y : height - 1 - y);
        uint32_t* dst = pm->Row((int)y);
        switch (bpp) {
            case 1:
            case 4:
            case 8: {
                const int per_byte = 8 / bpp;
                const uint32_t index_mask = (1u << bpp) - 1;
                for (int64_t x = 0; x < width; x++) {
                    int shift = 8 - bpp * (int)(x % per_byte + 1);
                    uint32_t index = (src[x / per_byte] >> shift) & index_mask;
                    // An index beyond the palette reads as opaque black.
                    dst[x] = index < palette_size ? palette[index] : 0xFF000000u;
                }
                break;
            }
            case 24:
                for (int64_t x = 0; x < width; x++, src += 3)
                    dst[x] = 0xFF000000u | (uint32_t)src[2] << 16 | (uint32_t)src[1] << 8 | src[0];
                break;
            case 32:
                for (int64_t x = 0; x < width; x++, src += 4) {
                    uint32_t v = src[0] | (uint32_t)src[1] << 8 | (uint32_t)src[2] << 16 | (uint32_t)src[3] << 24;
                    uint32_t a;
                    if (compression == BI_RGB_) {
                        a = v >> 24;
                        v &= 0xFFFFFFu;
                    } else {
                        a = alpha.Get(v);
                        v = red.Get(v) << 16 | green.Get(v) << 8 | blue.Get(v);
                    }
                    any_alpha |= a != 0;
                    dst[x] = a << 24 | v;
                }
                break;
        }
    }
    // Most 32-bit files leave the fourth byte 0 and mean opaque pixels.
    if (bpp == 32 && !any_alpha)
        for (uint32_t& p : pm->pixels) p |= 0xFF000000u;
    return pm;
}

// ---- PNG ----

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (src->pos > src->size || count > src->size - src->pos) png_error(png, "truncated");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

struct PngLoad {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource src{};
    PixmapPtr result;
    std::vector<png_bytep> rows;
    bool out_of_memory = false;
};

// Decodes into load.result; false on any damage.
bool PngDecode(PngLoad& load) {
    if (setjmp(png_jmpbuf(load.png))) return false;
    png_structp png = load.png;
    png_infop info = load.info;
    png_set_read_fn(png, &load.src, PngRead);
    png_set_user_limits(png, kMaxPixmapSide, kMaxPixmapSide);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!SideOk(w) || !SideOk(h)) return false;
    // Deflate packs at most 1032 bytes into one, so a header that claims more
    // raw bytes than the file could hold is damage. Refusing it here ties the
    // allocation to the file's size: at most about 35000 bytes of pixels per
    // byte of file (a 1-bit picture widens 32 times into ARGB words).
    const uint64_t bits = (uint64_t)png_get_bit_depth(png, info) * png_get_channels(png, info);
    const uint64_t raw = (uint64_t)h * (1 + ((uint64_t)w * bits + 7) / 8);
    if (raw > (uint64_t)load.src.size * 1100 + 65536) return false;
    int colour = png_get_color_type(png, info);
    // Every colour type to 8-bit RGBA: palettes and low-bit greys expand,
    // tRNS becomes alpha, greys become RGB, missing alpha is 255.
    png_set_expand(png);
    png_set_strip_16(png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    // Byte order such that each pixel lands as the native word 0xAARRGGBB.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != (png_size_t)w * 4) return false;
    load.result = CreatePixmap((int)w, (int)h);
    if (!load.result) {
        load.out_of_memory = true;
        return false;
    }
    load.rows.resize(h);
    for (png_uint_32 y = 0; y < h; y++) load.rows[y] = reinterpret_cast<png_bytep>(load.result->Row((int)y));
    png_read_image(png, load.rows.data());
    // The chunks after the pixels are not read: a file cut after its image
    // data still has every pixel.
    return true;
}

PixmapPtr LoadPng(const Bytes& in) {
    PngLoad load;
    load.src = PngSource{in.data, in.size, 0};
    load.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!load.png) return nullptr;
    load.info = png_create_info_struct(load.png);
    bool ok = false;
    if (load.info) {
        try {
            ok = PngDecode(load);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    png_destroy_read_struct(&load.png, load.info ? &load.info : nullptr, nullptr);
    return ok ? load.result : nullptr;
}

// ---- JPEG ----

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
void JpegOutputMessage(j_common_ptr) {}
// Warnings are mostly harmless, but running out of data means the rest of
// the picture would be made up: the file is damaged.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
}

// Encoders write about ten scans; a file that repeats its scans makes the
// decoder pass over every coefficient again for each, minutes for a file of
// a few hundred kilobytes. More than this many scans is refused.
constexpr int kMaxJpegScans = 64;

void JpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans)
        JpegErrorExit(cinfo);
}

struct JpegLoad {
    jpeg_decompress_struct cinfo;
    jpeg_progress_mgr progress;
    JpegError err;
    const uint8_t* data;
    size_t size;
    PixmapPtr result;
    std::vector<uint8_t> row;
};

bool JpegDecode(JpegLoad& load) {
    jpeg_decompress_struct& cinfo = load.cinfo;
    if (setjmp(load.err.jump)) return false;
    jpeg_mem_src(&cinfo, load.data, (unsigned long)load.size);
    jpeg_read_header(&cinfo, TRUE);
    if (!SideOk(cinfo.image_width) || !SideOk(cinfo.image_height)) return false;
    // Every 8x8 block costs at least one bit, so a file of n bytes holds at
    // most 512 n pixels; claims beyond that are damage (and would otherwise
    // allocate far more memory than the file could fill).
    if ((uint64_t)cinfo.image_width * cinfo.image_height > (uint64_t)load.size * 512 + (1u << 20)) return false;
    // CMYK files (as written by some editors) come out inverted; the rest as RGB.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int channels = cinfo.output_components;
    if (channels != (cmyk ? 4 : 3) || cinfo.output_width != cinfo.image_width ||
        cinfo.output_height != cinfo.image_height)
        return false;
    load.result = CreatePixmap((int)cinfo.output_width, (int)cinfo.output_height);
    if (!load.result) return false;
    load.row.resize((size_t)cinfo.output_width * channels);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = (int)cinfo.output_scanline;
        JSAMPROW row = load.row.data();
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
        uint32_t* dst = load.result->Row(y);
        const uint8_t* src = load.row.data();
        for (JDIMENSION x = 0; x < cinfo.output_width; x++, src += channels) {
            uint32_t r = src[0], g = src[1], b = src[2];
            if (cmyk) {
                // Adobe CMYK is stored inverted: each channel times K.
                r = r * src[3] / 255;
                g = g * src[3] / 255;
                b = b * src[3] / 255;
            }
            dst[x] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

PixmapPtr LoadJpeg(const Bytes& in) {
    auto load = std::make_unique<JpegLoad>();
    load->data = in.data;
    load->size = in.size;
    load->cinfo.err = jpeg_std_error(&load->err.base);
    load->err.base.error_exit = JpegErrorExit;
    load->err.base.output_message = JpegOutputMessage;
    load->err.base.emit_message = JpegEmitMessage;
    jpeg_create_decompress(&load->cinfo);
    load->progress = jpeg_progress_mgr{};
    load->progress.progress_monitor = JpegProgress;
    load->cinfo.progress = &load->progress;
    bool ok = false;
    try {
        ok = JpegDecode(*load);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    jpeg_destroy_decompress(&load->cinfo);
    return ok ? load->result : nullptr;
}

// ---- Size probes: each decoder's own header read, no pixel decoded ----

bool ProbeBmp(const Bytes& in, int& width, int& height) {
    if (!in.Has(0, 26)) return false;
    const uint32_t dib = in.U32(14);
    if (dib == 12) {
        width = (int)in.U16(18);
        height = (int)in.U16(20);
        return true;
    }
    if (dib < 40 || dib > 124) return false;
    const int32_t w = (int32_t)in.U32(18), h = (int32_t)in.U32(22);
    if (w <= 0 || h == INT32_MIN || h == 0) return false;
    width = w;
    height = h < 0 ? -h : h;   // negative: rows stored top-down
    return true;
}

struct PngProbe {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource src{};
};

bool PngProbeHeader(PngProbe& probe, int& width, int& height) {
    if (setjmp(png_jmpbuf(probe.png))) return false;
    png_set_read_fn(probe.png, &probe.src, PngRead);
    // Any size the format allows, so that a too large picture is told as such.
    png_set_user_limits(probe.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(probe.png, probe.info);
    width = (int)png_get_image_width(probe.png, probe.info);
    height = (int)png_get_image_height(probe.png, probe.info);
    return width > 0 && height > 0;
}

bool ProbePng(const Bytes& in, int& width, int& height) {
    PngProbe probe;
    probe.src = PngSource{in.data, in.size, 0};
    probe.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!probe.png) return false;
    probe.info = png_create_info_struct(probe.png);
    bool ok = false;
    if (probe.info) {
        try {
            ok = PngProbeHeader(probe, width, height);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    png_destroy_read_struct(&probe.png, probe.info ? &probe.info : nullptr, nullptr);
    return ok;
}

bool JpegProbeHeader(JpegLoad& load, int& width, int& height) {
    if (setjmp(load.err.jump)) return false;
    jpeg_mem_src(&load.cinfo, load.data, (unsigned long)load.size);
    jpeg_read_header(&load.cinfo, TRUE);
    width = (int)load.cinfo.image_width;
    height = (int)load.cinfo.image_height;
    return width > 0 && height > 0;
}

bool ProbeJpeg(const Bytes& in, int& width, int& height) {
    auto load = std::make_unique<JpegLoad>();
    load->data = in.data;
    load->size = in.size;
    load->cinfo.err = jpeg_std_error(&load->err.base);
    load->err.base.error_exit = JpegErrorExit;
    load->err.base.output_message = JpegOutputMessage;
    load->err.base.emit_message = JpegEmitMessage;
    jpeg_create_decompress(&load->cinfo);
    bool ok = false;
    try {
        ok = JpegProbeHeader(*load, width, height);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    jpeg_destroy_decompress(&load->cinfo);
    return ok;
}

}  // namespace

bool ProbePixmapSize(const uint8_t* data, size_t size, int& width, int& height) {
    width = height = 0;
    if (!data || size < 8) return false;
    Bytes in{data, size};
    static const uint8_t kPngSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool ok = false;
    if (data[0] == 'B' && data[1] == 'M') ok = ProbeBmp(in, width, height);
    else if (std::memcmp(data, kPngSig, 8) == 0) ok = ProbePng(in, width, height);
    else if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) ok = ProbeJpeg(in, width, height);
    if (!ok) width = height = 0;
    return ok;
}

PixmapPtr LoadPixmapFromMemory(const uint8_t* data, size_t size) {
    if (!data || size < 8) return nullptr;
    Bytes in{data, size};
    static const uint8_t kPngSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data[0] == 'B' && data[1] == 'M') return LoadBmp(in);
    if (std::memcmp(data, kPngSig, 8) == 0) return LoadPng(in);
    if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return LoadJpeg(in);
    return nullptr;
}

PixmapPtr LoadPixmap(const std::string& path) {
    BankPtr bank = LoadBank(path);
    if (!bank) return nullptr;
    return LoadPixmapFromMemory(bank->Buf(), bank->Size());
}

PixmapPtr LoadPixmap(Stream& stream) {
    // The rest of the stream, however it was opened.
    std::vector<uint8_t> bytes;
    try {
        uint8_t chunk[65536];
        size_t n;
        while ((n = stream.Read(chunk, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return LoadPixmapFromMemory(bytes.data(), bytes.size());
}

// ---- Saving ----

namespace {

struct PngSave {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const TPixmap* pixmap = nullptr;
    int level = 5;
    Bank out;
    std::vector<uint8_t> row;
};

void PngWrite(png_structp png, png_bytep data, png_size_t count) {
    auto* save = static_cast<PngSave*>(png_get_io_ptr(png));
    auto& bytes = save->out.Bytes();
    try {
        bytes.insert(bytes.end(), data, data + count);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void PngFlush(png_structp) {}

bool PngEncode(PngSave& save) {
    if (setjmp(png_jmpbuf(save.png))) return false;
    const TPixmap& pm = *save.pixmap;
    png_set_write_fn(save.png, &save, PngWrite, PngFlush);
    png_set_compression_level(save.png, save.level);
    png_set_IHDR(save.png, save.info, (png_uint_32)pm.width, (png_uint_32)pm.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(save.png, save.info);
    for (int y = 0; y < pm.height; y++) {
        const uint32_t* src = pm.Row(y);
        uint8_t* dst = save.row.data();
        for (int x = 0; x < pm.width; x++, dst += 4) {
            uint32_t p = src[x];
            dst[0] = (uint8_t)(p >> 16);
            dst[1] = (uint8_t)(p >> 8);
            dst[2] = (uint8_t)p;
            dst[3] = (uint8_t)(p >> 24);
        }
        png_write_row(save.png, save.row.data());
    }
    png_write_end(save.png, save.info);
    return true;
}

struct JpegSave {
    jpeg_compress_struct cinfo;
    JpegError err;
    const TPixmap* pixmap = nullptr;
    int quality = 90;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row;
};

bool JpegEncode(JpegSave& save) {
    jpeg_compress_struct& cinfo = save.cinfo;
    if (setjmp(save.err.jump)) return false;
    const TPixmap& pm = *save.pixmap;
    jpeg_mem_dest(&cinfo, &save.buffer, &save.size);
    cinfo.image_width = (JDIMENSION)pm.width;
    cinfo.image_height = (JDIMENSION)pm.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, save.quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* src = pm.Row((int)cinfo.next_scanline);
        uint8_t* dst = save.row.data();
        for (int x = 0; x < pm.width; x++, dst += 3) {
            dst[0] = (uint8_t)(src[x] >> 16);
            dst[1] = (uint8_t)(src[x] >> 8);
            dst[2] = (uint8_t)src[x];
        }
        JSAMPROW row = save.row.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

bool PixmapSizeOk(const TPixmap& pm) {
    return SideOk(pm.width) && SideOk(pm.height) && pm.pixels.size() == (size_t)pm.width * (size_t)pm.height;
}

}  // namespace

bool SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int level) {
    if (!PixmapSizeOk(pixmap)) return false;
    PngSave save;
    save.pixmap = &pixmap;
    save.level = std::clamp(level, 0, 9);
    save.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!save.png) return false;
    save.info = png_create_info_struct(save.png);
    bool ok = false;
    if (save.info) {
        try {
            save.row.resize((size_t)pixmap.width * 4);
            ok = PngEncode(save);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    png_destroy_write_struct(&save.png, save.info ? &save.info : nullptr);
    return ok && SaveBank(save.out, path);
}

bool SavePixmapJPEG(const TPixmap& pixmap, const std::string& path, int quality) {
    if (!PixmapSizeOk(pixmap)) return false;
    auto save = std::make_unique<JpegSave>();
    save->pixmap = &pixmap;
    save->quality = std::clamp(quality, 1, 100);
    save->cinfo.err = jpeg_std_error(&save->err.base);
    save->err.base.error_exit = JpegErrorExit;
    save->err.base.output_message = JpegOutputMessage;
    jpeg_create_compress(&save->cinfo);
    bool ok = false;
    try {
        save->row.resize((size_t)pixmap.width * 3);
        ok = JpegEncode(*save);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    jpeg_destroy_compress(&save->cinfo);
    // After a failure the memory destination may already have freed the
    // buffer it handed out (it regrows without updating our pointer), so the
    // buffer is freed only after a finished image; a failed save leaks it.
    if (!ok) return false;
    Bank bytes(save->buffer, save->size);
    std::free(save->buffer);
    return SaveBank(bytes, path);
}
