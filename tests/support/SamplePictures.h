#pragma once
// Pictures made in code, shared by the picture tests and the robustness bench (which
// includes this header from the source tree's root).
#include <cstdint>
#include <vector>

#include "classlib/Pictures.h"
#include "classlib/Streams.h"

namespace TestSupport {

// What the graphic writes when saved.
inline ClassLib::TBytes SavedBytes(ClassLib::TGraphic& graphic) {
    ClassLib::TMemoryStream stream;
    graphic.SaveToStream(&stream);
    return stream.Bytes();
}

// LZW codes of 3 bits each, packed from the low bit up, as a GIF image block holds them
// while every pixel follows a clear code.
inline ClassLib::TBytes PackThreeBitCodes(const std::vector<int>& codes) {
    ClassLib::TBytes packed;
    unsigned bits = 0, count = 0;
    for (int code : codes) {
        bits |= unsigned(code) << count;
        count += 3;
        while (count >= 8) {
            packed.push_back(std::uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count) packed.push_back(std::uint8_t(bits));
    return packed;
}

// A 2 x 2 GIF: red, lime / blue, transparent. Every pixel follows a clear code, so the
// LZW codes stay 3 bits wide.
inline ClassLib::TBytes SampleGif() {
    ClassLib::TBytes gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0xF1, 0, 0};
    gif.insert(gif.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});   // colour table
    gif.insert(gif.end(), {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0});                  // index 3 is transparent
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2});               // image, LZW minimum 2
    const ClassLib::TBytes packed = PackThreeBitCodes({4, 0, 4, 1, 4, 2, 4, 3, 5});
    gif.push_back(std::uint8_t(packed.size()));
    gif.insert(gif.end(), packed.begin(), packed.end());
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

}  // namespace TestSupport
