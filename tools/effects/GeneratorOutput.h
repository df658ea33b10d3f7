// Writing helpers shared by the library generators: staged library folders, GBK parameter files, PNG
// frames (palette or RGBA, cropped or whole) and a small parallel loop for drawing frames on every core.
#pragma once

#include "tools/effects/PaletteImage.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <mutex>

namespace lumiset::tools {

// A library folder written beside its final place and swapped in when complete, so that an interrupted
// build never leaves a half-written library where the program looks for one.
class StagedFolder {
public:
    explicit StagedFolder(const QString& finalPath);
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    const QString& path() const { return stagingPath_; }
    // Replaces the final folder by the staged one; throws Error when the swap fails.
    void commit();

private:
    QString finalPath_;
    QString stagingPath_;
    bool committed_ = false;
};

// Writes a file inside a staged folder. No per-file atomic save here: the folder as a whole is swapped
// in, and syncing thousands of frames one by one would make the build crawl.
void WriteStagedFile(const QString& path, const QByteArray& content);

// Gives `path` the same content as the staged file `existing`, sharing its storage where possible.
void WriteStagedCopy(const QString& existing, const QString& path);

// One section of key = value lines, written in GBK with CRLF line ends like the program's own INI files.
using IniEntries = QList<QPair<QString, QString>>;
void WriteGbkIni(const QString& path, const QString& section, const IniEntries& entries);

// Encodes a frame as PNG: with a palette (PLTE and tRNS) when it is Format_Indexed8, as RGBA otherwise.
// A non-zero offset is recorded in an oFFs chunk, which Qt reads back as QImage::offset().
QByteArray EncodePng(const QImage& image, const QString& nameForErrors, QPoint offset = {});

// Production frames are cropped to what they show; preview frames keep their whole size, which the
// windows place and centre them by.
enum class FrameCrop { Whole, ToContent };

// How a library stores its frames' colours: a palette, a dithered palette (for broad soft light, where
// palette steps would show as rings) or all colours (for faint overlays whose tint a palette shifts).
enum class FrameColours { Palette, DitheredPalette, Full };

// What the palette conversion did to a library's frames, gathered from every drawing thread.
class FrameReport {
public:
    void add(bool palette, const PaletteError& error);
    QString summary() const;

private:
    mutable std::mutex lock_;
    int frames_ = 0;
    int paletteFrames_ = 0;
    PaletteError error_;
};

// Encodes a drawn frame (premultiplied ARGB) for a library: as a palette PNG when asked and the palette
// keeps every channel of every pixel close to the drawing, as RGBA otherwise. Cropped frames record their
// top-left as the PNG's offset.
QByteArray EncodeEffectFrame(const QImage& frame, FrameCrop crop, FrameColours colours, FrameReport& report,
                             const QString& nameForErrors);

// Runs body(i) for i in [0, count) on Qt's global thread pool (one thread per core by default). The first
// exception thrown by any call is rethrown here after all threads have stopped.
void ParallelFor(int count, const std::function<void(int)>& body);

} // namespace lumiset::tools
