// The INI reader: GBK or UTF-8 text of sections and keys, as template and effect parameter files are.
#include "core/IniFile.h"
#include "fuzz/FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const lumiset::IniFile ini = lumiset::IniFile::fromBytes(lumiset::fuzz::InputBytes(data, size));
    // Lookups of keys the parameter files use, in another case than written.
    const QString value = ini.value(QStringLiteral("MOBAN"), QStringLiteral("ZHENSHU"));
    if (!value.isEmpty() && !ini.contains(QStringLiteral("moban"), QStringLiteral("zhenshu")))
        std::abort(); // a value that is there must also be found
    // The text codec both ways.
    const QString text = lumiset::DecodeGbk(lumiset::fuzz::InputBytes(data, size));
    (void)lumiset::EncodeGbk(text);
    return 0;
}
