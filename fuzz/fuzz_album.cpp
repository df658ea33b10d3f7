// The album file reader: JSON of tables and settings. An album it accepts must save and open again.
#include "core/AlbumFile.h"
#include "core/Error.h"
#include "fuzz/FuzzSupport.h"

#include <cstdlib>

namespace {
constexpr int kCatalogueSize = 40;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumiset::Album album;
    try {
        album = lumiset::AlbumFromJson(lumiset::fuzz::InputBytes(data, size), kCatalogueSize);
    } catch (const lumiset::Error&) {
        return 0;
    }
    try {
        (void)lumiset::AlbumFromJson(lumiset::AlbumToJson(album), kCatalogueSize);
    } catch (const lumiset::Error&) {
        std::abort(); // an album we accepted would not open again after a save
    }
    return 0;
}
