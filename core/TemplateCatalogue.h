// The template catalogue: rebuilt from the data folder at every start in five steps (scan, load,
// classify, count, publish) into the catalogue, the three class lists and the template list.
#pragma once

#include "core/DataPaths.h"
#include "core/Table.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace lumiset {

// The marker every template parameter file must carry.
inline const QString kTemplateMarker = QStringLiteral("k_r_v_t_s_y_l_x");

// The longest template accepted, in frames: one hour, far beyond any real template (seconds long).
constexpr qint64 kMaxTemplateFrames = 25 * 60 * 60;

// Class of a template from its slot orientation tokens: "heng", "shu", "shuheng", "gaojimoban" or empty.
QString ClassifySlots(const QStringList& orientations);

// Landscape and portrait photo slots of a template. `inPortraitList` counts "shuheng" slots as portrait.
// A picture is a photo slot when its name holds exactly one "_".
struct SlotCounts {
    int landscape = 0;
    int portrait = 0;
};
SlotCounts CountPhotoSlots(const QStringList& orientations, const QStringList& pictureNames,
                           bool inPortraitList);
bool IsPhotoPlaceholder(const QString& pictureName);

class TemplateCatalogue {
public:
    using Progress = std::function<void(int position, int maximum)>;

    TemplateCatalogue();

    // Runs the five steps. Throws Error with a message for the user on any failure.
    static TemplateCatalogue build(const DataPaths& paths, const Progress& progress = {});

    // The steps, in the order the start-up runs them.
    void scan(const DataPaths& paths);        // "扫描模板文件"
    void load(const Progress& progress = {}); // "读取模板参数"
    void classify();                          // "模板分类"
    void count();                             // "模板照片数量"
    void publish();                           // "添加到Form8窗口"

    const QStringList& parameterPackages() const { return parameterPackages_; }
    const QStringList& animationPackages() const { return animationPackages_; }
    const Table& catalogue() const { return catalogue_; }
    const Table& landscapeList() const { return landscape_; }
    const Table& portraitList() const { return portrait_; }
    const Table& advancedList() const { return advanced_; }
    const Table& templateList() const { return templateList_; }

    // The catalogue row of a template number (catalogue column 9), if any.
    std::optional<int> rowOfTemplate(int templateNumber) const;

private:
    QStringList parameterPackages_; // ListBox_saomiaomobanwenjian_ini
    QStringList animationPackages_; // ListBox_saomiaomobanwenjian_swf
    Table catalogue_;
    Table landscape_;
    Table portrait_;
    Table advanced_;
    Table templateList_;
};

} // namespace lumiset
