#include "tools/effects/PaletteImage.h"

#include <QList>
#include <QRgb>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace lumiset::tools {

void PaletteError::add(const PaletteError& other) {
    largest = std::max(largest, other.largest);
    channelSum += other.channelSum;
    coveredPixels += other.coveredPixels;
}

namespace {

constexpr int kPaletteSize = 256;
// Entries kept back from the median cut for the colours the boxes serve worst: a small highlight is
// too rare to earn a box of its own, yet a far colour in its place shows.
constexpr int kOutlierEntries = 8;
// A colour this close to its entry in every channel is not worth an entry of its own.
constexpr int kOutlierError = 6;
// Dithering mixes in no entry farther than this from the colour in any channel.
constexpr int kDitherReach = 12;
// The 8 × 8 ordered-dither thresholds, 0..63.
constexpr uchar kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
// The bits of each channel that a cell keeps.
constexpr quint32 kCellMask = 0xfcfcfcfc;

using Channels = std::array<int, 4>; // premultiplied a, r, g, b

Channels channelsOf(quint32 argb) {
    return {int(argb >> 24), int((argb >> 16) & 0xff), int((argb >> 8) & 0xff), int(argb & 0xff)};
}

// Counts of the distinct colours of a frame, and later the palette index of each. Open addressing on
// the colour itself; 0 (transparent) is never stored, so it marks an empty slot.
class ColourTable {
public:
    ColourTable() { resize(15); }

    quint32& operator[](quint32 colour) {
        if (2 * (used_ + 1) > qsizetype(keys_.size()))
            resize(bits_ + 1);
        qsizetype slot = find(colour);
        if (keys_[slot] == 0) {
            keys_[slot] = colour;
            ++used_;
        }
        return values_[slot];
    }
    quint32 value(quint32 colour) const { return values_[find(colour)]; }
    template <typename F> void forEach(F&& visit) {
        for (size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] != 0)
                visit(keys_[i], values_[i]);
        }
    }
    qsizetype size() const { return used_; }

private:
    qsizetype find(quint32 colour) const {
        const size_t mask = keys_.size() - 1;
        // Fibonacci hashing: the high bits of the product depend on every bit of the colour.
        size_t slot = (colour * 2654435761u) >> (32 - bits_);
        while (keys_[slot] != 0 && keys_[slot] != colour)
            slot = (slot + 1) & mask;
        return qsizetype(slot);
    }
    void resize(int bits) {
        std::vector<quint32> keys(std::move(keys_)), values(std::move(values_));
        bits_ = bits;
        keys_.assign(size_t(1) << bits, 0);
        values_.assign(size_t(1) << bits, 0);
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] != 0) {
                const qsizetype slot = find(keys[i]);
                keys_[slot] = keys[i];
                values_[slot] = values[i];
            }
        }
    }

    std::vector<quint32> keys_, values_;
    int bits_ = 0;
    qsizetype used_ = 0;
};

struct Colour {
    Channels c;
    double count;
    int cell = 0;
    int entry = 0; // palette entry it maps to
};

// Weighted sums of a set of colours, enough for its mean and squared error.
struct Moments {
    double weight = 0;
    std::array<double, 4> sum{}, squares{};

    void add(const Channels& c, double count) {
        weight += count;
        for (int i = 0; i < 4; ++i) {
            sum[i] += count * c[i];
            squares[i] += count * double(c[i]) * c[i];
        }
    }
    void merge(const Moments& other) {
        weight += other.weight;
        for (int i = 0; i < 4; ++i) {
            sum[i] += other.sum[i];
            squares[i] += other.squares[i];
        }
    }
    Moments minus(const Moments& part) const {
        Moments rest;
        rest.weight = weight - part.weight;
        for (int i = 0; i < 4; ++i) {
            rest.sum[i] = sum[i] - part.sum[i];
            rest.squares[i] = squares[i] - part.squares[i];
        }
        return rest;
    }
    double error(int channel) const {
        return weight > 0 ? std::max(0.0, squares[channel] - sum[channel] * sum[channel] / weight) : 0;
    }
    double error() const {
        if (weight <= 0)
            return 0;
        const double inverse = 1 / weight;
        double total = 0;
        for (int i = 0; i < 4; ++i)
            total += squares[i] - sum[i] * sum[i] * inverse;
        return std::max(0.0, total);
    }
};

// Colours that agree but for their lowest bits, cut into boxes as one: captions and glows hold many
// colours a step or two apart, and the boxes need not tell them apart.
struct Cell {
    int id = 0;
    Channels c; // the mean colour
    Moments moments;
    int entry = 0;
};

struct Box {
    int begin = 0, end = 0;
    Moments moments;
    double error = -1; // the moments' error, or -1 for a box that cannot be split

    Box(int from, int to, const Moments& m)
        : begin(from), end(to), moments(m), error(to - from > 1 ? m.error() : -1) {}
};

Moments momentsOf(const std::vector<Cell>& cells) {
    Moments m;
    for (const Cell& cell : cells)
        m.merge(cell.moments);
    return m;
}

// Splits `box` along its channel of largest error, where the two halves' summed error is least. The
// channel has only 256 values, so the candidates are found from one moment per value.
std::pair<Box, Box> split(std::vector<Cell>& cells, const Box& box) {
    int channel = 0;
    for (int i = 1; i < 4; ++i) {
        if (box.moments.error(i) > box.moments.error(channel))
            channel = i;
    }
    int low = 255, high = 0;
    for (int i = box.begin; i < box.end; ++i) {
        low = std::min(low, cells[i].c[channel]);
        high = std::max(high, cells[i].c[channel]);
    }
    std::vector<Moments> byValue(high - low + 1);
    for (int i = box.begin; i < box.end; ++i)
        byValue[cells[i].c[channel] - low].merge(cells[i].moments);
    Moments left, bestLeft;
    int threshold = low;
    double bestError = -1;
    for (int v = low; v < high; ++v) {
        if (byValue[v - low].weight == 0)
            continue;
        left.merge(byValue[v - low]);
        const double error = left.error() + box.moments.minus(left).error();
        if (bestError < 0 || error < bestError) {
            bestError = error;
            threshold = v;
            bestLeft = left;
        }
    }
    const auto middle = std::partition(cells.begin() + box.begin, cells.begin() + box.end,
                                       [&](const Cell& c) { return c.c[channel] <= threshold; });
    const int at = int(middle - cells.begin());
    return {Box{box.begin, at, bestLeft}, Box{at, box.end, box.moments.minus(bestLeft)}};
}

// A palette entry: the colour as stored (straight) and as the reader will composite it (premultiplied).
struct Entry {
    QRgb stored = 0;
    Channels shown{};
};

Entry entryFor(const Moments& m) {
    Entry entry;
    if (m.weight <= 0)
        return entry;
    const int alpha = std::clamp(int(std::lround(m.sum[0] / m.weight)), 0, 255);
    if (alpha == 0)
        return entry;
    int straight[3];
    for (int i = 0; i < 3; ++i)
        straight[i] = std::clamp(int(std::lround(m.sum[i + 1] / m.weight * 255.0 / alpha)), 0, 255);
    entry.stored = qRgba(straight[0], straight[1], straight[2], alpha);
    const QRgb shown = qPremultiply(entry.stored);
    entry.shown = {qAlpha(shown), qRed(shown), qGreen(shown), qBlue(shown)};
    return entry;
}

int distance(const Channels& a, const Channels& b) {
    int d = 0;
    for (int i = 0; i < 4; ++i)
        d += (a[i] - b[i]) * (a[i] - b[i]);
    return d;
}

// Nearest entry by squared distance. The entries are ordered along the axis on which they spread most
// and searched outward from the colour's place on it: an entry whose place differs by s cannot be
// nearer than s².
class NearestEntry {
public:
    explicit NearestEntry(const std::vector<Entry>& entries) : entries_(entries) {
        axis_ = principalAxis(entries);
        for (size_t i = 0; i < entries.size(); ++i)
            order_.push_back({project(entries[i].shown), int(i)});
        std::sort(order_.begin(), order_.end());
    }

    int find(const Channels& c, int guess) const {
        const double place = project(c);
        int best = guess, bestDistance = distance(c, entries_[guess].shown);
        const auto start = std::lower_bound(order_.begin(), order_.end(), std::pair<double, int>(place, -1));
        for (auto up = start; up != order_.end(); ++up) {
            const double gap = up->first - place;
            if (gap * gap >= bestDistance)
                break;
            const int d = distance(c, entries_[up->second].shown);
            if (d < bestDistance) {
                bestDistance = d;
                best = up->second;
            }
        }
        for (auto down = start; down != order_.begin();) {
            --down;
            const double gap = place - down->first;
            if (gap * gap >= bestDistance)
                break;
            const int d = distance(c, entries_[down->second].shown);
            if (d < bestDistance) {
                bestDistance = d;
                best = down->second;
            }
        }
        return best;
    }

private:
    using Axis = std::array<double, 4>;

    double project(const Channels& c) const {
        return axis_[0] * c[0] + axis_[1] * c[1] + axis_[2] * c[2] + axis_[3] * c[3];
    }

    // The unit direction of largest variance of the entries, by power iteration on their covariance.
    static Axis principalAxis(const std::vector<Entry>& entries) {
        Axis mean{};
        for (const Entry& e : entries) {
            for (int i = 0; i < 4; ++i)
                mean[i] += e.shown[i] / double(entries.size());
        }
        std::array<Axis, 4> covariance{};
        for (const Entry& e : entries) {
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j)
                    covariance[i][j] += (e.shown[i] - mean[i]) * (e.shown[j] - mean[j]);
            }
        }
        Axis axis{0.5, 0.5, 0.5, 0.5};
        for (int step = 0; step < 12; ++step) {
            Axis next{};
            double length = 0;
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j)
                    next[i] += covariance[i][j] * axis[j];
                length += next[i] * next[i];
            }
            if (length <= 0)
                break;
            for (int i = 0; i < 4; ++i)
                axis[i] = next[i] / std::sqrt(length);
        }
        return axis;
    }

    const std::vector<Entry>& entries_;
    Axis axis_{};
    std::vector<std::pair<double, int>> order_;
};

// The distinct colours of the area (transparent left out) with their pixel counts.
struct ColourCount {
    ColourTable table;
    qint64 covered = 0;
};

template <typename RowAt> ColourCount countColours(RowAt rowAt, int width, int height) {
    ColourCount count;
    for (int y = 0; y < height; ++y) {
        const quint32* row = rowAt(y);
        for (int x = 0; x < width;) {
            const quint32 colour = row[x];
            int run = 1;
            while (x + run < width && row[x + run] == colour)
                ++run;
            if (colour != 0) {
                count.table[colour] += run;
                count.covered += run;
            }
            x += run;
        }
    }
    return count;
}

// Lists the colours and gathers them into cells; each colour notes its cell's number.
std::vector<Cell> gatherCells(ColourTable& table, std::vector<Colour>& colours) {
    colours.reserve(table.size());
    std::vector<Cell> cells;
    cells.reserve(table.size());
    ColourTable cellOf;
    table.forEach([&](quint32 key, quint32 count) {
        Colour colour{channelsOf(key), double(count)};
        // Low bits cleared and one added: never 0, the table's empty mark.
        quint32& cell = cellOf[(key & kCellMask) + 1];
        if (cell == 0) {
            cells.emplace_back();
            cells.back().id = int(cells.size()) - 1;
            cell = quint32(cells.size());
        }
        colour.cell = int(cell) - 1;
        cells[colour.cell].moments.add(colour.c, colour.count);
        colours.push_back(colour);
    });
    for (Cell& cell : cells) {
        for (int i = 0; i < 4; ++i)
            cell.c[i] = int(std::lround(cell.moments.sum[i] / cell.moments.weight));
    }
    return cells;
}

// Cuts the cells into boxes, one entry each after the transparent entry 0, and points every colour at
// the entry nearest to its cell.
std::vector<Entry> cutIntoEntries(std::vector<Cell>& cells, std::vector<Colour>& colours) {
    std::vector<Box> boxes;
    if (!cells.empty())
        boxes.emplace_back(0, int(cells.size()), momentsOf(cells));
    while (int(boxes.size()) < kPaletteSize - 1 - kOutlierEntries) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.error < b.error; });
        if (widest == boxes.end() || widest->error <= 0)
            break;
        const auto [low, high] = split(cells, *widest);
        *widest = low;
        boxes.push_back(high);
    }
    std::vector<Entry> entries(1);
    for (const Box& box : boxes) {
        entries.push_back(entryFor(box.moments));
        for (int i = box.begin; i < box.end; ++i)
            cells[i].entry = int(entries.size()) - 1;
    }
    // A cell near a box's edge may lie nearer to the neighbouring box's entry.
    const NearestEntry nearest(entries);
    std::vector<int> cellEntry(cells.size());
    for (const Cell& cell : cells)
        cellEntry[cell.id] = nearest.find(cell.c, cell.entry);
    for (Colour& colour : colours)
        colour.entry = cellEntry[colour.cell];
    return entries;
}

int largestDifference(const Channels& a, const Channels& b) {
    int largest = 0;
    for (int i = 0; i < 4; ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Spends the entries left on the colours that lie farthest from their entries.
void addOutlierEntries(std::vector<Entry>& entries, std::vector<Colour>& colours) {
    std::vector<int> differences(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        differences[i] = largestDifference(colours[i].c, entries[colours[i].entry].shown);
    while (int(entries.size()) < kPaletteSize && !colours.empty()) {
        const size_t worst = std::max_element(differences.begin(), differences.end()) - differences.begin();
        if (differences[worst] <= kOutlierError)
            break;
        Moments alone;
        alone.add(colours[worst].c, colours[worst].count);
        entries.push_back(entryFor(alone));
        const int added = int(entries.size()) - 1;
        for (size_t i = 0; i < colours.size(); ++i) {
            Colour& colour = colours[i];
            if (distance(colour.c, entries[added].shown) < distance(colour.c, entries[colour.entry].shown)) {
                colour.entry = added;
                differences[i] = largestDifference(colour.c, entries[added].shown);
            }
        }
        // An entry that cannot hold its colour exactly (premultiplied rounding) is not asked again.
        differences[worst] = std::min(differences[worst], kOutlierError);
    }
}

} // namespace

PaletteImage QuantizeToPalette(const QImage& frame, const QRect& area, PaletteDither dither) {
    Q_ASSERT(frame.format() == QImage::Format_ARGB32_Premultiplied);
    Q_ASSERT(frame.rect().contains(area));
    const int width = area.width(), height = area.height();
    auto rowAt = [&](int y) {
        return reinterpret_cast<const quint32*>(frame.constScanLine(area.top() + y)) + area.left();
    };

    ColourCount count = countColours(rowAt, width, height);
    std::vector<Colour> colours;
    std::vector<Cell> cells = gatherCells(count.table, colours);
    std::vector<Entry> entries = cutIntoEntries(cells, colours);
    addOutlierEntries(entries, colours);

    // Each colour's mix: its entry and, when dithering, a second entry on the far side of the colour
    // that a share of its pixels (out of 64) take, so that smooth gradients show no steps.
    const NearestEntry nearest(entries);
    PaletteImage result;
    result.error.coveredPixels = count.covered;
    for (const Colour& colour : colours) {
        const Channels& near = entries[colour.entry].shown;
        int far = colour.entry, share = 0;
        if (dither == PaletteDither::Ordered && largestDifference(colour.c, near) > 0) {
            Channels beyond;
            for (int i = 0; i < 4; ++i)
                beyond[i] = std::clamp(2 * colour.c[i] - near[i], 0, 255);
            far = nearest.find(beyond, colour.entry);
            const Channels& other = entries[far].shown;
            double along = 0, length = 0;
            for (int i = 0; i < 4; ++i) {
                along += double(colour.c[i] - near[i]) * (other[i] - near[i]);
                length += double(other[i] - near[i]) * (other[i] - near[i]);
            }
            if (length > 0 && largestDifference(colour.c, other) <= kDitherReach)
                share = std::clamp(int(std::lround(64 * along / length)), 0, 32);
        }
        // Counted as the shares of pixels that take each entry.
        for (const auto& [entry, part] : {std::pair(colour.entry, 64 - share), std::pair(far, share)}) {
            if (part == 0)
                continue;
            const Channels& shown = entries[entry].shown;
            int sum = 0;
            for (int i = 0; i < 4; ++i)
                sum += std::abs(colour.c[i] - shown[i]);
            result.error.largest = std::max(result.error.largest, largestDifference(colour.c, shown));
            result.error.channelSum += colour.count * part / 64.0 * sum / 4.0;
        }
        count.table[qRgba(colour.c[1], colour.c[2], colour.c[3], colour.c[0])] =
            quint32(colour.entry) | quint32(far) << 8 | quint32(share) << 16;
    }

    result.image = QImage(width, height, QImage::Format_Indexed8);
    QList<QRgb> colourTable;
    for (const Entry& entry : entries)
        colourTable.append(entry.stored);
    result.image.setColorTable(colourTable);
    for (int y = 0; y < height; ++y) {
        const quint32* row = rowAt(y);
        uchar* out = result.image.scanLine(y);
        // The pattern is fixed to the whole frame, so a crop does not shift it.
        const uchar* thresholds = kBayer[(area.top() + y) & 7];
        quint32 last = 0, mix = 0;
        for (int x = 0; x < width; ++x) {
            const quint32 colour = row[x];
            if (colour != last) {
                last = colour;
                mix = colour == 0 ? 0 : count.table.value(colour);
            }
            const bool takesFar = int((mix >> 16) & 0xff) > thresholds[(area.left() + x) & 7];
            out[x] = uchar(takesFar ? (mix >> 8) & 0xff : mix & 0xff);
        }
    }
    return result;
}

} // namespace lumiset::tools
