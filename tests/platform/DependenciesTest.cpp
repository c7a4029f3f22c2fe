// The third-party libraries link into a Windows executable and work under Wine.
#include <winsock2.h>  // before windows.h, which libssh2.h pulls in
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <libssh2.h>
#include <zlib.h>

TEST(Dependencies, ZlibInflatesWhatItDeflated) {
    const char text[] = "AT+LCD=<y>,<x>,<text> AT+LCD=<y>,<x>,<text> AT+LCD=<y>,<x>,<text>";
    uLongf packedSize = compressBound(sizeof text);
    std::vector<Bytef> packed(packedSize);
    ASSERT_EQ(compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text), sizeof text), Z_OK);
    EXPECT_LT(packedSize, sizeof text);

    std::vector<Bytef> unpacked(sizeof text);
    uLongf unpackedSize = unpacked.size();
    ASSERT_EQ(uncompress(unpacked.data(), &unpackedSize, packed.data(), packedSize), Z_OK);
    ASSERT_EQ(unpackedSize, sizeof text);
    EXPECT_EQ(std::memcmp(unpacked.data(), text, sizeof text), 0);
}

TEST(Dependencies, LibjpegDecodesAnImageItEncoded) {
    const int width = 16, height = 8;
    std::vector<unsigned char> rgb(width * height * 3);
    for (int i = 0; i < width * height; ++i) {  // a plain red image survives lossy coding
        rgb[i * 3] = 200; rgb[i * 3 + 1] = 20; rgb[i * 3 + 2] = 20;
    }

    jpeg_compress_struct out{};
    jpeg_error_mgr outErrors{};
    out.err = jpeg_std_error(&outErrors);
    jpeg_create_compress(&out);
    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;
    jpeg_mem_dest(&out, &buffer, &bufferSize);
    out.image_width = width; out.image_height = height;
    out.input_components = 3; out.in_color_space = JCS_RGB;
    jpeg_set_defaults(&out);
    jpeg_set_quality(&out, 90, TRUE);
    jpeg_start_compress(&out, TRUE);
    while (out.next_scanline < out.image_height) {
        JSAMPROW row = &rgb[out.next_scanline * width * 3];
        jpeg_write_scanlines(&out, &row, 1);
    }
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    ASSERT_GT(bufferSize, 2u);
    EXPECT_EQ(buffer[0], 0xFF);
    EXPECT_EQ(buffer[1], 0xD8);

    jpeg_decompress_struct in{};
    jpeg_error_mgr inErrors{};
    in.err = jpeg_std_error(&inErrors);
    jpeg_create_decompress(&in);
    jpeg_mem_src(&in, buffer, bufferSize);
    ASSERT_EQ(jpeg_read_header(&in, TRUE), JPEG_HEADER_OK);
    jpeg_start_decompress(&in);
    EXPECT_EQ(in.output_width, unsigned(width));
    EXPECT_EQ(in.output_height, unsigned(height));
    std::vector<unsigned char> row(in.output_width * in.output_components);
    JSAMPROW rowPointer = row.data();
    jpeg_read_scanlines(&in, &rowPointer, 1);
    EXPECT_NEAR(row[0], 200, 8);
    EXPECT_NEAR(row[1], 20, 8);
    jpeg_abort_decompress(&in);
    jpeg_destroy_decompress(&in);
    free(buffer);
}

TEST(Dependencies, Libssh2Starts) {
    ASSERT_EQ(libssh2_init(0), 0);
    EXPECT_NE(libssh2_version(0), nullptr);
    libssh2_exit();
}
