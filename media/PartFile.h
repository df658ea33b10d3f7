// A file written under a temporary name beside its final one, which it takes only when complete: a
// stopped or failed write never leaves a partial file under the final name.
#pragma once

#include <QString>

namespace lumiset {

class PartFile {
public:
    // Creates ".<name>.part-xxxxxx" beside `finalPath`, empty. Throws Error naming the folder when no
    // file can be created there.
    explicit PartFile(const QString& finalPath);
    // Removes the file unless it has taken its final name.
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    const QString& path() const { return path_; }

    // Gives the complete file its final name in one step, replacing a file of that name. Throws Error
    // naming the final file when it cannot.
    void moveTo(const QString& finalPath);

private:
    QString path_;
};

} // namespace lumiset
