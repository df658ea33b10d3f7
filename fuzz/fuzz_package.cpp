// The package decoder: nested layers of a size and a zlib stream, peeled as a template package is.
#include "core/Error.h"
#include "core/Package.h"
#include "fuzz/FuzzSupport.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy: DecodeLayer replaces its argument in place.
    QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString name = QStringLiteral("fuzz.rar");
    try {
        constexpr lumiset::PackageFormat format = lumiset::PackageLayers::TemplateAnimation;
        for (int layer = 0; layer < format.layers && !content.isEmpty(); ++layer)
            lumiset::DecodeLayer(content, name, format.maxPayload);
    } catch (const lumiset::Error&) {
    }
    return 0;
}
