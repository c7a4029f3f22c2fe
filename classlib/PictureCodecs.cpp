#include "classlib/PictureCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

// libjpeg's header wants size_t and FILE declared first.
#include <jpeglib.h>
#include <zlib.h>

namespace ClassLib {

namespace {

const std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

[[noreturn]] void BadPng(const std::wstring& why) { throw EInvalidGraphic(L"PNG image is not valid: " + why); }

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

void PutBigEndian32(TBytes& out, std::uint32_t value) {
    out.push_back(std::uint8_t(value >> 24));
    out.push_back(std::uint8_t(value >> 16));
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

struct TPngHeader {
    std::uint32_t Width = 0, Height = 0;
    int Depth = 0, ColorType = 0, Interlace = 0;
    int Channels() const { return ColorType == 0 || ColorType == 3 ? 1 : ColorType == 2 ? 3 : ColorType == 4 ? 2 : 4; }
    int BitsPerPixel() const { return Channels() * Depth; }
};

bool ValidDepth(int colorType, int depth) {
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: case 4: case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Reverses the row filters of one pass in place; `stride` excludes the filter byte.
void Unfilter(std::uint8_t* data, std::uint32_t rows, std::size_t stride, int bytesPerPixel) {
    std::uint8_t* previous = nullptr;
    for (std::uint32_t y = 0; y < rows; ++y) {
        std::uint8_t* row = data + y * (stride + 1);
        const int filter = row[0];
        std::uint8_t* cur = row + 1;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= std::size_t(bytesPerPixel) ? cur[i - bytesPerPixel] : 0;
            const int b = previous ? previous[i] : 0;
            const int c = previous && i >= std::size_t(bytesPerPixel) ? previous[i - bytesPerPixel] : 0;
            switch (filter) {
            case 0: break;
            case 1: cur[i] = std::uint8_t(cur[i] + a); break;
            case 2: cur[i] = std::uint8_t(cur[i] + b); break;
            case 3: cur[i] = std::uint8_t(cur[i] + ((a + b) >> 1)); break;
            case 4: cur[i] = std::uint8_t(cur[i] + Paeth(a, b, c)); break;
            default: BadPng(L"unknown row filter " + std::to_wstring(filter));
            }
        }
        previous = cur;
    }
}

// Sample `index` of a row at the header's depth (16-bit samples whole).
unsigned Sample(const std::uint8_t* row, std::size_t index, int depth) {
    switch (depth) {
    case 16: return (unsigned(row[index * 2]) << 8) | row[index * 2 + 1];
    case 8: return row[index];
    default: {
        const std::size_t bit = index * depth;
        return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
    }
    }
}

std::uint8_t To8Bit(unsigned sample, int depth) {
    if (depth == 16) return std::uint8_t(sample >> 8);
    if (depth == 8) return std::uint8_t(sample);
    return std::uint8_t(sample * 255 / ((1u << depth) - 1));
}

struct TAdam7Pass { int XStart, YStart, XStep, YStep; };
const TAdam7Pass Adam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

}  // namespace

bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
    // Each side alone first, so the product cannot overflow.
    return width <= MaxPicturePixels && height <= MaxPicturePixels && width * height <= MaxPicturePixels;
}

bool IsPngSignature(const std::uint8_t* data, std::size_t size) {
    return size >= 8 && std::memcmp(data, PngSignature, 8) == 0;
}

bool IsJpegSignature(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

namespace {
TRasterImage DecodePngData(const std::uint8_t* data, std::size_t size);
}

TRasterImage DecodePng(const std::uint8_t* data, std::size_t size) {
    try {
        return DecodePngData(data, size);
    } catch (const std::bad_alloc&) {
        BadPng(L"the image is too large to load");
    }
}

namespace {
TRasterImage DecodePngData(const std::uint8_t* data, std::size_t size) {
    if (!IsPngSignature(data, size)) BadPng(L"the PNG signature is missing");
    TPngHeader header;
    std::uint8_t palette[256][4];
    int paletteCount = 0;
    bool hasTransparency = false;
    unsigned transparentKey[3] = {~0u, ~0u, ~0u};
    TBytes packed;
    bool seenHeader = false, seenEnd = false;

    std::size_t pos = 8;
    while (!seenEnd) {
        if (size - pos < 12) BadPng(L"the data ends inside a chunk");
        const std::uint32_t length = BigEndian32(data + pos);
        if (length > size - pos - 12) BadPng(L"a chunk is longer than the data");
        const std::uint8_t* type = data + pos + 4;
        const std::uint8_t* body = type + 4;
        const std::uint32_t crc = BigEndian32(body + length);
        if (std::uint32_t(crc32(0, type, length + 4)) != crc) BadPng(L"a chunk's checksum does not match");
        const std::string name(reinterpret_cast<const char*>(type), 4);
        if (!seenHeader && name != "IHDR") BadPng(L"the header chunk is not first");
        if (name == "IHDR") {
            if (length != 13) BadPng(L"the header chunk has the wrong size");
            header.Width = BigEndian32(body);
            header.Height = BigEndian32(body + 4);
            header.Depth = body[8];
            header.ColorType = body[9];
            header.Interlace = body[12];
            if (header.Width == 0 || header.Height == 0 || !PictureSizeAllowed(header.Width, header.Height))
                BadPng(L"the image size is out of range");
            if (!ValidDepth(header.ColorType, header.Depth)) BadPng(L"unsupported colour type or bit depth");
            if (body[10] != 0 || body[11] != 0 || header.Interlace > 1) BadPng(L"unknown compression, filter or interlace method");
            seenHeader = true;
        } else if (name == "PLTE") {
            if (length % 3 != 0 || length / 3 > 256 || length == 0) BadPng(L"the palette has the wrong size");
            paletteCount = int(length / 3);
            for (int i = 0; i < paletteCount; ++i) {
                palette[i][0] = body[i * 3 + 2];
                palette[i][1] = body[i * 3 + 1];
                palette[i][2] = body[i * 3];
                palette[i][3] = 255;
            }
        } else if (name == "tRNS") {
            hasTransparency = true;
            if (header.ColorType == 3) {
                for (std::uint32_t i = 0; i < length && i < 256; ++i) palette[i][3] = body[i];
            } else if (header.ColorType == 0 && length >= 2) {
                transparentKey[0] = (unsigned(body[0]) << 8) | body[1];
            } else if (header.ColorType == 2 && length >= 6) {
                for (int c = 0; c < 3; ++c) transparentKey[c] = (unsigned(body[c * 2]) << 8) | body[c * 2 + 1];
            }
        } else if (name == "IDAT") {
            packed.insert(packed.end(), body, body + length);
        } else if (name == "IEND") {
            seenEnd = true;
        } else if ((type[0] & 0x20) == 0) {
            BadPng(L"unknown critical chunk \"" + std::wstring(name.begin(), name.end()) + L"\"");
        }
        pos += std::size_t(length) + 12;
    }
    if (header.ColorType == 3 && paletteCount == 0) BadPng(L"the palette is missing");

    const int passCount = header.Interlace ? 7 : 1;
    const int bitsPerPixel = header.BitsPerPixel();
    std::uint64_t rawSize = 0;
    std::uint32_t passWidth[7], passHeight[7];
    for (int p = 0; p < passCount; ++p) {
        const TAdam7Pass pass = header.Interlace ? Adam7[p] : TAdam7Pass{0, 0, 1, 1};
        passWidth[p] = header.Width > std::uint32_t(pass.XStart) ? (header.Width - pass.XStart + pass.XStep - 1) / pass.XStep : 0;
        passHeight[p] = header.Height > std::uint32_t(pass.YStart) ? (header.Height - pass.YStart + pass.YStep - 1) / pass.YStep : 0;
        if (passWidth[p] && passHeight[p])
            rawSize += std::uint64_t(passHeight[p]) * (1 + (std::uint64_t(passWidth[p]) * bitsPerPixel + 7) / 8);
    }
    // Deflate expands its input at most 1032 times: data that cannot fill the image is
    // refused before the image's buffer is allocated.
    if (rawSize > std::uint64_t(packed.size()) * 1032 + 64) BadPng(L"the image data is shorter than the image");
    TBytes raw(rawSize);
    uLongf rawLength = uLongf(rawSize);
    const int status = uncompress(raw.data(), &rawLength, packed.data(), uLong(packed.size()));
    if (status != Z_OK && status != Z_BUF_ERROR) BadPng(L"the compressed image data is damaged");
    if (rawLength != rawSize) BadPng(L"the image data is shorter than the image");

    TRasterImage image;
    image.Width = int(header.Width);
    image.Height = int(header.Height);
    image.HasAlpha = hasTransparency || header.ColorType == 4 || header.ColorType == 6;
    image.Pixels.assign(std::size_t(header.Width) * header.Height * 4, 0);
    const int bytesPerPixel = bitsPerPixel >= 8 ? bitsPerPixel / 8 : 1;
    std::uint8_t* passData = raw.data();
    for (int p = 0; p < passCount; ++p) {
        if (!passWidth[p] || !passHeight[p]) continue;
        const TAdam7Pass pass = header.Interlace ? Adam7[p] : TAdam7Pass{0, 0, 1, 1};
        const std::size_t stride = (std::size_t(passWidth[p]) * bitsPerPixel + 7) / 8;
        Unfilter(passData, passHeight[p], stride, bytesPerPixel);
        for (std::uint32_t y = 0; y < passHeight[p]; ++y) {
            const std::uint8_t* row = passData + y * (stride + 1) + 1;
            const std::size_t outY = pass.YStart + std::size_t(y) * pass.YStep;
            for (std::uint32_t x = 0; x < passWidth[p]; ++x) {
                const std::size_t outX = pass.XStart + std::size_t(x) * pass.XStep;
                std::uint8_t* out = &image.Pixels[(outY * header.Width + outX) * 4];
                const int channels = header.Channels();
                unsigned s[4] = {0, 0, 0, 0};
                for (int c = 0; c < channels; ++c) s[c] = Sample(row, std::size_t(x) * channels + c, header.Depth);
                switch (header.ColorType) {
                case 0:
                    out[0] = out[1] = out[2] = To8Bit(s[0], header.Depth);
                    out[3] = s[0] == transparentKey[0] ? 0 : 255;
                    break;
                case 2:
                    out[0] = To8Bit(s[2], header.Depth);
                    out[1] = To8Bit(s[1], header.Depth);
                    out[2] = To8Bit(s[0], header.Depth);
                    out[3] = s[0] == transparentKey[0] && s[1] == transparentKey[1] && s[2] == transparentKey[2] ? 0 : 255;
                    break;
                case 3:
                    if (int(s[0]) >= paletteCount) BadPng(L"a pixel refers past the end of the palette");
                    std::memcpy(out, palette[s[0]], 4);
                    break;
                case 4:
                    out[0] = out[1] = out[2] = To8Bit(s[0], header.Depth);
                    out[3] = To8Bit(s[1], header.Depth);
                    break;
                case 6:
                    out[0] = To8Bit(s[2], header.Depth);
                    out[1] = To8Bit(s[1], header.Depth);
                    out[2] = To8Bit(s[0], header.Depth);
                    out[3] = To8Bit(s[3], header.Depth);
                    break;
                }
            }
        }
        passData += passHeight[p] * (stride + 1);
    }
    return image;
}
}  // namespace

TBytes EncodePng(const TRasterImage& image) {
    if (image.Width <= 0 || image.Height <= 0) throw EInvalidGraphic(L"Cannot write an empty image as PNG");
    const int channels = image.HasAlpha ? 4 : 3;
    const std::size_t stride = std::size_t(image.Width) * channels;
    TBytes raw;
    raw.reserve((stride + 1) * image.Height);
    for (int y = 0; y < image.Height; ++y) {
        raw.push_back(0);
        const std::uint8_t* in = &image.Pixels[std::size_t(y) * image.Width * 4];
        for (int x = 0; x < image.Width; ++x, in += 4) {
            raw.push_back(in[2]);
            raw.push_back(in[1]);
            raw.push_back(in[0]);
            if (channels == 4) raw.push_back(in[3]);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    TBytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        throw EInvalidGraphic(L"Cannot compress the PNG image data");
    packed.resize(packedSize);

    TBytes out(PngSignature, PngSignature + 8);
    auto chunk = [&out](const char* type, const TBytes& body) {
        PutBigEndian32(out, std::uint32_t(body.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), body.begin(), body.end());
        PutBigEndian32(out, std::uint32_t(crc32(0, out.data() + start, uInt(body.size() + 4))));
    };
    TBytes header;
    PutBigEndian32(header, std::uint32_t(image.Width));
    PutBigEndian32(header, std::uint32_t(image.Height));
    header.insert(header.end(), {8, std::uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

// ---- JPEG ----
// libjpeg reports errors through a callback that must not return; it jumps back
// with longjmp, so the functions below hold no objects with destructors of their own
// between setjmp and the end of the libjpeg work.

namespace {

struct TJpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    TJpegErrors* errors = reinterpret_cast<TJpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

void JpegQuiet(j_common_ptr) {}

struct TJpegDecodeResult {
    int Width, Height, Components;
    bool Inverted;  // Adobe CMYK files store inverted ink values
    bool TooLarge;
};

// Returns false with `errors->Message` set on failure; `pixels` receives the rows.
bool RunJpegDecode(const std::uint8_t* data, std::size_t size, TBytes* pixels, TJpegDecodeResult* result,
                   TJpegErrors* errors) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors->Manager);
    errors->Manager.error_exit = JpegErrorExit;
    errors->Manager.output_message = JpegQuiet;
    if (setjmp(errors->Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // Before jpeg_start_decompress: it allocates for the declared size.
    result->TooLarge = !PictureSizeAllowed(info.image_width, info.image_height);
    if (result->TooLarge) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        info.out_color_space = JCS_CMYK;
    } else if (info.num_components == 1) {
        info.out_color_space = JCS_GRAYSCALE;
    } else {
        info.out_color_space = JCS_RGB;
    }
    result->Inverted = info.saw_Adobe_marker != 0;
    jpeg_start_decompress(&info);
    result->Width = int(info.output_width);
    result->Height = int(info.output_height);
    result->Components = info.output_components;
    pixels->resize(std::size_t(info.output_width) * info.output_height * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels->data() + std::size_t(info.output_scanline) * info.output_width * info.output_components;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool RunJpegEncode(const std::uint8_t* rgb, int width, int height, int quality, unsigned char** buffer,
                   unsigned long* bufferSize, TJpegErrors* errors) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&errors->Manager);
    errors->Manager.error_exit = JpegErrorExit;
    errors->Manager.output_message = JpegQuiet;
    if (setjmp(errors->Jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, bufferSize);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + std::size_t(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

TRasterImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (!IsJpegSignature(data, size)) throw EInvalidGraphic(L"JPEG image is not valid: the JPEG signature is missing");
    TBytes samples;
    TJpegDecodeResult result{};
    TJpegErrors errors{};
    if (!RunJpegDecode(data, size, &samples, &result, &errors)) {
        if (result.TooLarge) throw EInvalidGraphic(L"JPEG image is not valid: the image size is out of range");
        const std::string message = errors.Message;
        throw EInvalidGraphic(L"JPEG image is not valid: " + std::wstring(message.begin(), message.end()));
    }
    TRasterImage image;
    image.Width = result.Width;
    image.Height = result.Height;
    image.Pixels.resize(std::size_t(result.Width) * result.Height * 4);
    const std::size_t count = std::size_t(result.Width) * result.Height;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* out = &image.Pixels[i * 4];
        const std::uint8_t* in = &samples[i * result.Components];
        if (result.Components == 1) {
            out[0] = out[1] = out[2] = in[0];
        } else if (result.Components == 4) {
            int c = in[0], m = in[1], y = in[2], k = in[3];
            if (!result.Inverted) { c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k; }
            out[2] = std::uint8_t(c * k / 255);
            out[1] = std::uint8_t(m * k / 255);
            out[0] = std::uint8_t(y * k / 255);
        } else {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
        out[3] = 255;
    }
    return image;
}

TBytes EncodeJpeg(const TRasterImage& image, int quality) {
    if (image.Width <= 0 || image.Height <= 0) throw EInvalidGraphic(L"Cannot write an empty image as JPEG");
    TBytes rgb(std::size_t(image.Width) * image.Height * 3);
    for (std::size_t i = 0, n = std::size_t(image.Width) * image.Height; i < n; ++i) {
        rgb[i * 3] = image.Pixels[i * 4 + 2];
        rgb[i * 3 + 1] = image.Pixels[i * 4 + 1];
        rgb[i * 3 + 2] = image.Pixels[i * 4];
    }
    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;
    TJpegErrors errors{};
    const bool ok = RunJpegEncode(rgb.data(), image.Width, image.Height, quality < 1 ? 1 : quality > 100 ? 100 : quality,
                                  &buffer, &bufferSize, &errors);
    TBytes out;
    if (ok) out.assign(buffer, buffer + bufferSize);
    std::free(buffer);
    if (!ok) {
        const std::string message = errors.Message;
        throw EInvalidGraphic(L"Cannot write the JPEG image: " + std::wstring(message.begin(), message.end()));
    }
    return out;
}

// ---- GIF and TIFF headers ----

void CheckGifHeader(const std::uint8_t* data, std::size_t size) {
    auto bad = [](const wchar_t* why) { throw EInvalidGraphic(std::wstring(L"GIF image is not valid: ") + why); };
    if (size < 13 || std::memcmp(data, "GIF8", 4) != 0) bad(L"the GIF signature is missing");
    auto le16 = [data](std::size_t at) { return unsigned(data[at]) | (unsigned(data[at + 1]) << 8); };
    if (!PictureSizeAllowed(le16(6), le16(8))) bad(L"the image size is out of range");
    const bool globalTable = (data[10] & 0x80) != 0;
    std::size_t pos = 13;
    if (globalTable) pos += 3u << ((data[10] & 7) + 1);
    // Skips a chain of sized blocks ending in an empty one.
    auto skipBlocks = [data, size](std::size_t at) {
        while (at < size && data[at] != 0) at += std::size_t(data[at]) + 1;
        return at + 1;
    };
    // Every frame is checked: the system's decoder looks at all of them, not only the first.
    bool seenImage = false;
    while (pos < size && data[pos] != 0x3B) {
        if (data[pos] == 0x21) {
            pos = skipBlocks(pos + 2);
        } else if (data[pos] == 0x2C) {
            if (size - pos < 10) bad(L"an image descriptor is cut short");
            const unsigned width = le16(pos + 5), height = le16(pos + 7);
            if (width == 0 || height == 0 || !PictureSizeAllowed(width, height)) bad(L"the image size is out of range");
            const std::uint8_t flags = data[pos + 9];
            // Wine: its decoder reads a frame's missing colour table through a null pointer.
            if (!globalTable && !(flags & 0x80)) bad(L"an image has no colour table");
            pos += 10;
            if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
            pos = skipBlocks(pos + 1);  // after the LZW code size
            seenImage = true;
        } else {
            break;  // trailing bytes that are no block: the system stops there too
        }
    }
    if (!seenImage) bad(L"the data holds no image");
}

void CheckTiffHeader(const std::uint8_t* data, std::size_t size) {
    auto bad = [](const wchar_t* why) { throw EInvalidGraphic(std::wstring(L"TIFF image is not valid: ") + why); };
    if (size < 8) bad(L"the TIFF signature is missing");
    const bool little = data[0] == 'I' && data[1] == 'I';
    if (!little && !(data[0] == 'M' && data[1] == 'M')) bad(L"the TIFF signature is missing");
    auto u16 = [data, little](std::size_t at) {
        return little ? unsigned(data[at]) | (unsigned(data[at + 1]) << 8) : (unsigned(data[at]) << 8) | data[at + 1];
    };
    auto u32 = [data, little](std::size_t at) {
        return little ? std::uint32_t(data[at]) | (std::uint32_t(data[at + 1]) << 8) | (std::uint32_t(data[at + 2]) << 16) |
                            (std::uint32_t(data[at + 3]) << 24)
                      : BigEndian32(data + at);
    };
    if (u16(2) != 42) bad(L"the TIFF signature is missing");
    // Bytes per value of each field type (0: a type the system skips).
    static const unsigned typeSizes[14] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    std::uint32_t width = 0, height = 0;
    // Every directory of the chain, and every value a field keeps outside it, must lie
    // inside the data: the system's reader allocates for the counts it finds there.
    std::uint32_t directory = u32(4);
    for (int index = 0; directory != 0; ++index) {
        if (index == 256) bad(L"its directories run in a circle");
        if (directory < 8 || directory > size - 2) bad(L"an image directory lies outside the data");
        const unsigned entries = u16(directory);
        if (std::size_t(entries) * 12 + 4 > size - directory - 2) bad(L"an image directory is cut short");
        for (unsigned i = 0; i < entries; ++i) {
            const std::size_t entry = directory + 2 + std::size_t(i) * 12;
            const unsigned tag = u16(entry), type = u16(entry + 2);
            const std::uint64_t bytes = std::uint64_t(u32(entry + 4)) * (type < 14 ? typeSizes[type] : 0);
            if (bytes > 4 && (u32(entry + 8) > size || bytes > size - u32(entry + 8)))
                bad(L"a field's values lie outside the data");
            if (index == 0 && (tag == 256 || tag == 257)) {
                // A SHORT value sits in the first two bytes of the value field, a LONG fills it.
                const std::uint32_t value = type == 3 ? u16(entry + 8) : type == 4 ? u32(entry + 8) : 0;
                (tag == 256 ? width : height) = value;
            }
        }
        directory = u32(directory + 2 + std::size_t(entries) * 12);
    }
    if (width == 0 || height == 0 || !PictureSizeAllowed(width, height)) bad(L"the image size is out of range");
}

}  // namespace ClassLib
