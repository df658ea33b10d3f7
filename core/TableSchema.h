// The album's tables described once: name, column headings, the kind of each column and the table a
// reference column points into. Row removal, the consistency check, the table models of the windows and
// the album file all read this description instead of knowing the tables one by one.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumiset {

enum class TableId : int {
    Photos,           // ListView_daoru_zhaopian
    PendingLandscape, // ListView_heng_zhao (derived)
    PendingPortrait,  // ListView_shu_zhao (derived)
    UsedTemplates,    // ListView_moban_shiyong
    TemplateSlots,    // ListView_moban_shiyong_canshu
    LandscapePhotos,  // ListView_qubu_hengzhao (derived)
    Backgrounds,      // ListView_moban_beijing
    Music,            // ListView_daoru_yinyue
    Lyrics,           // ListView_daoru_LRC
    LyricSettings,    // ListView_geci_shezhi_canshu
    PictureEffects,   // ListView_Image of TForm32
    TextEffects,      // ListView_Image of TForm33
};
constexpr int kAlbumTableCount = 12;

enum class ColumnKind {
    Text,
    Ordinal,        // 1-based position, renumbered 1..N whenever rows go
    RowReference,   // 0-based row of another table, as decimal text
    TemplateNumber, // 0-based catalogue row
};

// What a reference does when the row it names is removed.
enum class OnTargetRemoved {
    ClearCell, // the cell is emptied (the row stays)
    RemoveRow, // the referring row goes too
};

struct ColumnSchema {
    QString heading;
    ColumnKind kind = ColumnKind::Text;
    std::optional<TableId> refersTo; // RowReference only
    bool emptyAllowed = false;       // RowReference: an empty cell names no row
    OnTargetRemoved onTargetRemoved = OnTargetRemoved::ClearCell;
};

struct TableSchema {
    TableId id;
    QString name;
    QList<ColumnSchema> columns;
    // Row i belongs to row i of that table: rows are removed together, and the counts must agree.
    std::optional<TableId> rowsFollow;
    // Follows from other tables; rebuilt after every change, never read from a file.
    bool derived = false;
};

// Every album table, in the order of the album file.
const QList<TableSchema>& AlbumTableSchemas();
const TableSchema& SchemaOf(TableId id);
// The table called `name`, if it is an album table.
std::optional<TableId> TableNamed(const QString& name);

// A set of album tables (which ones changed).
class TableSet {
public:
    TableSet() = default;
    TableSet(std::initializer_list<TableId> ids) {
        for (TableId id : ids)
            insert(id);
    }
    static TableSet all() { return TableSet((1u << kAlbumTableCount) - 1); }
    void insert(TableId id) { bits_ |= bit(id); }
    bool contains(TableId id) const { return bits_ & bit(id); }
    bool isEmpty() const { return bits_ == 0; }
    TableSet& operator|=(TableSet other) {
        bits_ |= other.bits_;
        return *this;
    }
    bool operator==(const TableSet&) const = default;

private:
    explicit TableSet(unsigned bits) : bits_(bits) {}
    static unsigned bit(TableId id) { return 1u << static_cast<int>(id); }
    unsigned bits_ = 0;
};

} // namespace lumiset
