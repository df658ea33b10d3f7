#include "core/AlbumDocument.h"

#include "core/AlbumFile.h"
#include "core/AlbumReferences.h"
#include "core/AlbumTableModel.h"
#include "core/Error.h"
#include "core/JobRunner.h"
#include "core/Session.h"
#include "tests/support/TempTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <atomic>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace lumiset;
using lumiset::test::TempTree;

namespace {

// Column constants of one table do not address another table, nor does a bare number.
template <typename TableType, typename ColumnType>
concept Reads = requires(const TableType& t, ColumnType c) {
    t.cell(0, c);
};
template <typename TableType, typename ColumnType>
concept Writes = requires(TableType& t, ColumnType c) {
    t.setCell(0, c, QString());
};
static_assert(Reads<TableOf<PhotoCol::Column>, PhotoCol::Column>);
static_assert(!Reads<TableOf<PhotoCol::Column>, SlotCol::Column>);
static_assert(!Reads<TableOf<PhotoCol::Column>, int>);
static_assert(Writes<TableOf<SlotCol::Column>, SlotCol::Column>);
static_assert(!Writes<TableOf<SlotCol::Column>, UsedTemplateCol::Column>);

// An album whose rows carry their own names, so a test can tell where a reference points after rows go:
// photos "P<i>", used templates "T<i>" (backgrounds "B<i>" beside them), slots naming a template and
// maybe a photo, text effects naming a template or none, lyrics "L<i>" with their settings.
Album RandomAlbum(std::mt19937& random, int size) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    Album album;
    for (int p = 0; p < size; ++p)
        album.photos.appendRow({QString::number(p + 1), QStringLiteral("P%1").arg(p), ".jpg", "40", "30",
                                QStringLiteral("/p/P%1.jpg").arg(p), ""});
    const int templates = size / 2 + 1;
    for (int t = 0; t < templates; ++t) {
        album.usedTemplates.appendRow(
            {"0", QStringLiteral("T%1").arg(t), "", "", "", "", "", "未完成", QString::number(t + 1)});
        album.backgrounds.appendRow({QString::number(t + 1), QStringLiteral("B%1").arg(t)});
    }
    for (int s = 0; s < size * 2; ++s) {
        QStringList slot(SlotCol::Count);
        slot[SlotCol::TemplateNumber] = "0";
        slot[SlotCol::UsedRow] = QString::number(pick(templates));
        if (pick(3) > 0)
            slot[SlotCol::PhotoRow] = QString::number(pick(size));
        album.templateSlots.appendRow(slot);
    }
    for (int e = 0; e < size; ++e) {
        QStringList effect(TextEffectCol::Count);
        if (pick(2))
            effect[TextEffectCol::UsedRow] = QString::number(pick(templates));
        album.textEffects.appendRow(effect);
    }
    for (int l = 0; l < 3; ++l) {
        album.lyrics.appendRow({QString::number(l + 1), QStringLiteral("L%1").arg(l)});
        album.lyricSettings.appendRow({QString::number(l + 1), QStringLiteral("L%1").arg(l)});
    }
    album.refreshDerived();
    return album;
}

// What each reference names, by the name of the row it points to ("" for none).
QStringList ReferencedNames(const Album& album) {
    QStringList names;
    for (const TableSchema& schema : AlbumTableSchemas()) {
        if (schema.derived)
            continue;
        const Table& table = album.table(schema.id);
        for (int c = 0; c < schema.columns.size(); ++c) {
            if (schema.columns[c].kind != ColumnKind::RowReference)
                continue;
            const Table& target = album.table(*schema.columns[c].refersTo);
            const int nameColumn = schema.columns[c].refersTo == TableId::Photos ? PhotoCol::Name : 1;
            for (int r = 0; r < table.rowCount(); ++r) {
                const QString& cell = table.cell(r, c);
                names.append(cell.isEmpty() ? QString() : target.cell(cell.toInt(), nameColumn));
            }
        }
    }
    return names;
}

TEST(RowRemoval, RandomDeletionsKeepEveryReferenceOnTheRowItNamed) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        Album album = RandomAlbum(random, 3 + round % 12);
        const TableId victims[] = {TableId::Photos, TableId::UsedTemplates, TableId::TemplateSlots,
                                   TableId::TextEffects, TableId::Lyrics};
        const TableId id = victims[round % std::size(victims)];
        if (album.table(id).isEmpty())
            continue;
        QList<int> rows;
        for (int r = 0; r < album.table(id).rowCount(); ++r)
            if (random() % 3 == 0)
                rows.append(r);
        // The name every reference should still carry, or "" where its row went.
        QStringList goneNames;
        for (int r : rows)
            goneNames.append(album.table(id).cell(r, id == TableId::Photos ? PhotoCol::Name : 1));

        const Album before = album;
        RemoveRows(album, id, rows);
        album.refreshDerived();
        SCOPED_TRACE(testing::Message()
                     << "round " << round << ", table " << before.table(id).name().toStdString());

        EXPECT_EQ(AlbumProblems(album), QStringList());
        EXPECT_EQ(album.table(id).rowCount(), before.table(id).rowCount() - rows.size());
        EXPECT_EQ(album.backgrounds.rowCount(), album.usedTemplates.rowCount());
        // Every surviving reference names what it named before; none names a removed row.
        const QStringList after = ReferencedNames(album);
        for (const QString& name : after)
            EXPECT_TRUE(name.isEmpty() || !goneNames.contains(name)) << name.toStdString();
        for (int r = 0; r < album.photos.rowCount(); ++r)
            EXPECT_EQ(album.photos.cell(r, PhotoCol::Number), QString::number(r + 1));
        for (int r = 0; r < album.usedTemplates.rowCount(); ++r)
            EXPECT_EQ(album.usedTemplates.cell(r, UsedTemplateCol::Position), QString::number(r + 1));
        for (int r = 0; r < album.backgrounds.rowCount(); ++r)
            EXPECT_EQ(album.backgrounds.cell(r, BackgroundCol::TemplateName).mid(1),
                      album.usedTemplates.cell(r, UsedTemplateCol::Name).mid(1));
        for (int r = 0; r < album.lyricSettings.rowCount(); ++r)
            EXPECT_EQ(album.lyricSettings.cell(r, LyricSettingsCol::LyricName),
                      album.lyrics.cell(r, LyricCol::Name));
    }
}

TEST(RowRemoval, RemovingATemplateTakesItsSlotsBackgroundAndAutomaticEffectsAlong) {
    Album album;
    for (int t = 0; t < 3; ++t) {
        album.usedTemplates.appendRow(
            {"0", QStringLiteral("T%1").arg(t), "", "", "", "", "", "", QString::number(t + 1)});
        album.backgrounds.appendRow({QString::number(t + 1), QStringLiteral("T%1").arg(t)});
        QStringList slot(SlotCol::Count);
        slot[SlotCol::TemplateNumber] = "0";
        slot[SlotCol::UsedRow] = QString::number(t);
        album.templateSlots.appendRow(slot);
        QStringList effect(TextEffectCol::Count);
        effect[TextEffectCol::UsedRow] = QString::number(t);
        album.textEffects.appendRow(effect);
    }
    album.textEffects.appendRow(QStringList(TextEffectCol::Count)); // placed by hand
    RemoveRows(album, TableId::UsedTemplates, {1});

    EXPECT_EQ(album.usedTemplates.rowCount(), 2);
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::TemplateName), "T2");
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::Number), "2");
    EXPECT_EQ(album.templateSlots.rowCount(), 2);
    EXPECT_EQ(album.templateSlots.cell(1, SlotCol::UsedRow), "1");
    ASSERT_EQ(album.textEffects.rowCount(), 3);
    EXPECT_EQ(album.textEffects.cell(1, TextEffectCol::UsedRow), "1");
    EXPECT_EQ(album.textEffects.cell(2, TextEffectCol::UsedRow), "");
    EXPECT_THROW(RemoveRows(album, TableId::UsedTemplates, {5}), Error);
    // A background goes only with its template.
    EXPECT_THROW(RemoveRows(album, TableId::Backgrounds, {0}), Error);
    EXPECT_EQ(album.backgrounds.rowCount(), 2);
}

TEST(TableInvariants, HoldInEveryBuild) {
    Table table(QStringLiteral("t"), 2);
    EXPECT_THROW(table.appendRow({"a", "b", "c"}), Error);
    EXPECT_THROW(table.setRows({{"a"}}), Error);
    EXPECT_TRUE(table.isEmpty());
}

Album AlbumWithPhotos(int count) {
    Album album;
    for (int p = 0; p < count; ++p)
        album.photos.appendRow({QString::number(p + 1), QStringLiteral("P%1").arg(p), ".jpg",
                                p % 2 ? "30" : "40", "35", QStringLiteral("/p/%1.jpg").arg(p), ""});
    return album;
}

TEST(AlbumDocument, AppliesStepsThatUndoAndRedoAndSaysWhichTablesChanged) {
    AlbumDocument document;
    QSignalSpy changes(&document, &AlbumDocument::tablesChanged);
    EXPECT_FALSE(document.isModified());

    const TableSet changed = document.apply("add", AlbumWithPhotos(3));
    EXPECT_TRUE(changed.contains(TableId::Photos));
    EXPECT_FALSE(changed.contains(TableId::Music));
    // The derived lists followed: two landscape photos, one portrait one.
    EXPECT_EQ(document.album().pendingLandscape.rowCount(), 2);
    EXPECT_EQ(document.album().pendingPortrait.rowCount(), 1);
    EXPECT_TRUE(document.isModified());
    ASSERT_EQ(changes.size(), 1);
    const TableSet signalled = changes[0][0].value<TableSet>();
    EXPECT_TRUE(signalled.contains(TableId::Photos) && signalled.contains(TableId::PendingLandscape));

    document.undo();
    EXPECT_EQ(document.album(), Album());
    EXPECT_FALSE(document.isModified());
    document.redo();
    EXPECT_EQ(document.album().photos.rowCount(), 3);

    // A change that changes nothing is no step; a change that throws leaves the album alone.
    EXPECT_TRUE(document.apply("same", document.album()).isEmpty());
    EXPECT_THROW(document.modify("bad",
                                 [](Album& a) {
                                     a.photos.clear();
                                     throw Error("no");
                                 }),
                 Error);
    EXPECT_EQ(document.album().photos.rowCount(), 3);
    EXPECT_EQ(document.undoStack().count(), 1);
}

TEST(AlbumDocument, OpensRebuildingStaleDerivedListsAndKeepsTheAlbumWhenAFileIsBad) {
    TempTree tree;
    Album stored = AlbumWithPhotos(2);
    QJsonObject root = QJsonDocument::fromJson(AlbumToJson(stored)).object();
    QJsonObject tables = root["tables"].toObject();
    // A stale pending list naming a photo the file no longer has.
    tables["ListView_heng_zhao"] = QJsonArray{QJsonArray{"9", "gone", ".jpg", "40", "30", "/gone.jpg", ""}};
    tables["ListView_qubu_hengzhao"] = QJsonArray{};
    root["tables"] = tables;
    const QString path = tree.write("stale.lumiset", QJsonDocument(root).toJson());

    AlbumDocument document;
    document.open(path);
    EXPECT_EQ(document.album().pendingLandscape.rows(), QList<QStringList>{stored.photos.row(0)});
    EXPECT_EQ(document.album().landscapePhotos.rowCount(), 1);
    EXPECT_EQ(document.displayName(), "stale.lumiset");
    EXPECT_FALSE(document.isModified());

    const Album before = document.album();
    EXPECT_THROW(document.open(tree.write("bad.lumiset", "{")), Error);
    EXPECT_EQ(document.album(), before);
    EXPECT_EQ(document.displayName(), "stale.lumiset");
}

TEST(Session, DropsThePhotoSelectionWhenPhotoRowsGo) {
    AlbumDocument document;
    Session session(document);
    document.apply("add", AlbumWithPhotos(3));
    session.selectPhotoRow(2);
    document.modify("delete", [](Album& a) { RemoveRows(a, TableId::Photos, {0}); });
    EXPECT_EQ(session.selectedPhotoRow(), -1);
    EXPECT_EQ(session.state.Edit_hangshu, "wu");
}

// Counts its steps; stops when asked.
JobOutcome CountingJob(const Album& album, Job& control, std::atomic<int>& step) {
    Album work = album;
    for (int i = 0; i < 200; ++i) {
        if (control.stopRequested())
            return JobOutcome::stopped({QStringLiteral("已停止")});
        work.photos.appendRow(
            {QString::number(work.photos.rowCount() + 1), "new", ".jpg", "40", "30", "/n.jpg", ""});
        control.report(i, 200, QStringLiteral("添加照片"));
        step = i;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return JobOutcome::done(std::move(work));
}

TEST(JobRunner, AJobStoppedHalfWayChangesNothingAndEmitsNoChange) {
    AlbumDocument document;
    document.apply("add", AlbumWithPhotos(2));
    QSignalSpy changes(&document, &AlbumDocument::tablesChanged);
    JobRunner runner;
    std::atomic<int> step{0};
    QObject::connect(&runner, &JobRunner::progress, [&](int position, int, const QString&) {
        if (position >= 20)
            runner.requestStop();
    });
    const JobOutcome outcome =
        runner.run(document.album(), [&](const Album& a, Job& c) { return CountingJob(a, c, step); });
    EXPECT_TRUE(outcome.isStopped());
    EXPECT_LT(step.load(), 199);
    EXPECT_TRUE(document.applyOutcome("job", outcome).isEmpty());
    EXPECT_EQ(changes.size(), 0);
    EXPECT_EQ(document.album().photos.rowCount(), 2);
}

TEST(JobRunner, RunsOnAWorkerWhileTheInterfaceThreadReadsTheDocument) {
    AlbumDocument document;
    document.apply("add", AlbumWithPhotos(5));
    AlbumTableModel model(document, TableId::Photos);
    JobRunner runner;
    std::atomic<int> step{0};
    std::thread::id worker;
    QSignalSpy finished(&runner, &JobRunner::finished);
    runner.start(document.album(), [&](const Album& a, Job& c) {
        worker = std::this_thread::get_id();
        return CountingJob(a, c, step);
    });
    int reads = 0;
    while (finished.isEmpty()) {
        // The interface thread keeps reading the album and its model while the job works on its copy.
        EXPECT_EQ(model.rowCount(), 5);
        EXPECT_EQ(model.data(model.index(4, PhotoCol::Name)).toString(), "P4");
        ++reads;
        finished.wait(5);
    }
    EXPECT_GT(reads, 1);
    EXPECT_NE(worker, std::this_thread::get_id());
    const JobOutcome outcome = finished[0][0].value<JobOutcome>();
    document.applyOutcome("job", outcome);
    EXPECT_EQ(model.rowCount(), 205);
    EXPECT_EQ(model.headerData(PhotoCol::Name, Qt::Horizontal).toString(), "照片");
}

TEST(JobRunner, TurnsEveryExceptionIntoAFailedOutcome) {
    Job control;
    const JobOutcome error = RunJobHere(
        Album(), [](const Album&, Job&) -> JobOutcome { throw Error("坏了", "标题"); }, control);
    EXPECT_EQ(error.status, JobOutcome::Status::Failed);
    EXPECT_EQ(error.messages, QStringList{"坏了"});
    EXPECT_EQ(error.caption, "标题");
    const JobOutcome other = RunJobHere(
        Album(), [](const Album&, Job&) -> JobOutcome { throw std::out_of_range("index"); }, control);
    EXPECT_EQ(other.status, JobOutcome::Status::Failed);
    EXPECT_NE(other.messages.value(0).indexOf("index"), -1);
}

} // namespace
