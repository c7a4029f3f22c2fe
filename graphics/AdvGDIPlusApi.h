#pragma once
// GDI+ bound by name at run time: the library's module, one typed entry per flat
// function the run-time wrapper family calls, that family's root class and the
// path-data holder it fills.
#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "graphics/AdvGDIPCore.h"

namespace AdvGDIPlusApi {

ADVGDIP_SHARED_NAMES
using Status = Gdiplus::Status;

// One entry per flat name, typed by the toolchain's declaration of that function.
struct TGdiplusApiTable {
    decltype(&Gdiplus::DllExports::GdipAlloc) GdipAlloc = nullptr;
    decltype(&Gdiplus::DllExports::GdipFree) GdipFree = nullptr;
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
#define ADVGDIP_TABLE_ENTRY(name) decltype(&Gdiplus::DllExports::name) name = nullptr;
    ADVGDIP_FLAT_FUNCTIONS(ADVGDIP_TABLE_ENTRY)
#undef ADVGDIP_TABLE_ENTRY
};

// Written by LoadGdiplusApi and UnloadGdiplusApi only; read-only in between.
extern TGdiplusApiTable GdiplusApi;
extern HMODULE GdiplusModule;

// Loads the library (by default "gdiplus.dll") and binds every entry by name; an entry
// the library lacks stays null. Nothing happens when a library is already loaded.
// False when the library cannot be loaded.
bool LoadGdiplusApi(const wchar_t* libraryPath = nullptr);
// Frees the library and clears every entry; nothing happens when none is loaded.
void UnloadGdiplusApi();

struct TEntryBinding {
    const char* Name;
    bool Bound;
};
// Every entry of the table with whether it is bound, in table order.
std::vector<TEntryBinding> EntryBindings();

// The flat API reached through the table. An entry that is not bound answers instead of
// being called: NotImplemented when the library lacks it, GdiplusNotInitialized when no
// library is loaded.
struct TTableCalls {
    static Status MissingEntry() noexcept {
        return GdiplusModule ? Gdiplus::NotImplemented : Gdiplus::GdiplusNotInitialized;
    }
#define ADVGDIP_TABLE_CALL(name) \
    template <class... A> static Status name(A&&... args) { \
        if (const auto entry = GdiplusApi.name) return entry(std::forward<A>(args)...); \
        return MissingEntry(); \
    }
    ADVGDIP_FLAT_FUNCTIONS(ADVGDIP_TABLE_CALL)
#undef ADVGDIP_TABLE_CALL
};

// Root of the run-time family: instances live in memory from the table's GdipAlloc and
// go back through GdipFree; GDI+ is never started from here. Without a loaded library
// the C++ heap serves instead, so wrappers still exist and answer GdiplusNotInitialized.
class TGdiplusBase {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* object) noexcept;
protected:
    TGdiplusBase() = default;
    ~TGdiplusBase() = default;
};

// The points and type bytes of a path; owns both arrays.
class TPathData {
public:
    TPathData() = default;
    ~TPathData() { Clear(); }
    TPathData(const TPathData&) = delete;
    TPathData& operator=(const TPathData&) = delete;

    // Frees the arrays and sets Count to 0.
    void Clear() noexcept;
    // Arrays for count points; false (nothing held) when memory cannot be had.
    bool Allocate(int count) noexcept;

    int Count = 0;
    TGPPointF* Points = nullptr;
    BYTE* Types = nullptr;
};

inline TGPPointF GPPointF(float x, float y) { return TGPPointF(x, y); }
inline TGPRectF GPRectF(float x, float y, float width, float height) { return TGPRectF(x, y, width, height); }
constexpr ARGB ARGBFromChannels(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}

}  // namespace AdvGDIPlusApi
