#pragma once
// What the GDI+ tests of both wrapper families share: pixel probes and streams.
#include <windows.h>
#include <objbase.h>

#include <cstdint>

namespace GdipTestSupport {

// An empty in-memory stream; the caller releases it.
inline IStream* NewMemoryStream() {
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    return stream;
}

inline void Rewind(IStream* stream) {
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

// Encoders of the published GDI+ codecs.
inline const CLSID& PngEncoder() {
    static const CLSID id = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return id;
}
inline const CLSID& BmpEncoder() {
    static const CLSID id = {0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return id;
}

}  // namespace GdipTestSupport
