#include "graphics/AdvGDIPlusApi.h"

#include <cstring>
#include <new>

namespace AdvGDIPlusApi {

TGdiplusApiTable GdiplusApi;
HMODULE GdiplusModule = nullptr;

namespace {

// Entries are looked up as plain addresses and given their declared types here; the
// detour through a parameterless function type keeps the cast free of warnings.
template <class T>
void Bind(T& entry, const char* name) {
    entry = reinterpret_cast<T>(reinterpret_cast<void (*)()>(::GetProcAddress(GdiplusModule, name)));
}

// Instances carry a small header saying where their memory came from.
constexpr std::size_t HeaderSize = 16;
enum : unsigned char { FromCppHeap = 0, FromGdiplus = 1 };

}  // namespace

bool LoadGdiplusApi(const wchar_t* libraryPath) {
    if (GdiplusModule) return true;
    GdiplusModule = ::LoadLibraryW(libraryPath ? libraryPath : L"gdiplus.dll");
    if (!GdiplusModule) return false;
    Bind(GdiplusApi.GdipAlloc, "GdipAlloc");
    Bind(GdiplusApi.GdipFree, "GdipFree");
    Bind(GdiplusApi.GdiplusStartup, "GdiplusStartup");
    Bind(GdiplusApi.GdiplusShutdown, "GdiplusShutdown");
#define ADVGDIP_BIND_ENTRY(name) Bind(GdiplusApi.name, #name);
    ADVGDIP_FLAT_FUNCTIONS(ADVGDIP_BIND_ENTRY)
#undef ADVGDIP_BIND_ENTRY
    return true;
}

void UnloadGdiplusApi() {
    if (!GdiplusModule) return;
    ::FreeLibrary(GdiplusModule);
    GdiplusModule = nullptr;
    GdiplusApi = TGdiplusApiTable{};
}

std::vector<TEntryBinding> EntryBindings() {
    std::vector<TEntryBinding> result = {
        {"GdipAlloc", GdiplusApi.GdipAlloc != nullptr},
        {"GdipFree", GdiplusApi.GdipFree != nullptr},
        {"GdiplusStartup", GdiplusApi.GdiplusStartup != nullptr},
        {"GdiplusShutdown", GdiplusApi.GdiplusShutdown != nullptr},
    };
#define ADVGDIP_LIST_ENTRY(name) result.push_back({#name, GdiplusApi.name != nullptr});
    ADVGDIP_FLAT_FUNCTIONS(ADVGDIP_LIST_ENTRY)
#undef ADVGDIP_LIST_ENTRY
    return result;
}

void* TGdiplusBase::operator new(std::size_t size) {
    const std::size_t total = size + HeaderSize;
    unsigned char* block = nullptr;
    unsigned char source = FromCppHeap;
    if (GdiplusApi.GdipAlloc) {
        block = static_cast<unsigned char*>(GdiplusApi.GdipAlloc(total));
        if (!block) throw std::bad_alloc();
        source = FromGdiplus;
    } else {
        block = static_cast<unsigned char*>(::operator new(total));
    }
    std::memset(block, 0, total);
    block[0] = source;
    return block + HeaderSize;
}

void TGdiplusBase::operator delete(void* object) noexcept {
    if (!object) return;
    unsigned char* block = static_cast<unsigned char*>(object) - HeaderSize;
    if (block[0] == FromCppHeap) {
        ::operator delete(block);
    } else if (GdiplusApi.GdipFree) {
        GdiplusApi.GdipFree(block);
    }
    // Otherwise the library that gave the block is gone, and its allocator with it.
}

void TPathData::Clear() noexcept {
    delete[] Points;
    delete[] Types;
    Points = nullptr;
    Types = nullptr;
    Count = 0;
}

bool TPathData::Allocate(int count) noexcept {
    Clear();
    if (count <= 0) return true;
    Points = new (std::nothrow) TGPPointF[std::size_t(count)];
    Types = new (std::nothrow) BYTE[std::size_t(count)];
    if (!Points || !Types) {
        Clear();
        return false;
    }
    Count = count;
    return true;
}

}  // namespace AdvGDIPlusApi
