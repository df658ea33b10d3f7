// Simplified and traditional Chinese script for lyric lines, converted by OpenCC with the configurations
// its Debian package ships (s2t.json, t2s.json). Each converter is loaded once, on first use (a few tens
// of milliseconds); a line then takes microseconds. Conversions may run on several threads at once.
//
// When OpenCC cannot load a configuration the text is shown as it is: a lyric in the other script is
// better than none. The failure is logged once per configuration.
#pragma once

#include <QString>

namespace lumiset {

// One OpenCC converter.
class ScriptConverter {
public:
    // `config`: an OpenCC configuration file, by name from OpenCC's data folder or by path.
    explicit ScriptConverter(const QString& config);
    ~ScriptConverter();
    ScriptConverter(const ScriptConverter&) = delete;
    ScriptConverter& operator=(const ScriptConverter&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    // `text` converted; unchanged when the converter did not load or OpenCC refuses the text.
    QString convert(const QString& text) const;

private:
    void* handle_ = nullptr;
};

QString ToSimplified(const QString& text);
QString ToTraditional(const QString& text);
// The text in the script a lyric settings row names: "jianti" simplified, "fanti" traditional; any other
// word leaves it unchanged.
QString ConvertToScript(const QString& text, const QString& scriptWord);

} // namespace lumiset
