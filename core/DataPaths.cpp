#include "core/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lumiset {

namespace {

const QString kPreviewUsed = QStringLiteral("korvel/wj_y_l/wj_y_l/wj_y_l/wj_y_l");
const QString kEffectBase = QStringLiteral("/wj_x_g_c_l_1/wj_x_g_c_l_1/wj_x_g_c_l_0");

QString clean(const QString& dir) {
    return QDir::cleanPath(QDir(dir).absolutePath());
}

bool isWritableFolder(const QString& dir) {
    QTemporaryFile probe(dir + QStringLiteral("/.lumiset-write-probe-XXXXXX"));
    return probe.open();
}

} // namespace

DataPaths::DataPaths(const QString& programDir, const QString& workRoot)
    : programDir_(clean(programDir)), workRoot_(clean(workRoot)) {}

DataPaths DataPaths::forProgramDir(const QString& programDir) {
    if (isWritableFolder(programDir))
        return DataPaths(programDir, programDir);
    QString cache = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME"));
    if (cache.isEmpty())
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return DataPaths(programDir, cache + QStringLiteral("/lumiset"));
}

DataPaths DataPaths::forRunningProgram() {
    const QString overridden = QString::fromLocal8Bit(qgetenv("LUMISET_PROGRAM_DIR"));
    if (!overridden.isEmpty())
        return forProgramDir(overridden);
    return forProgramDir(QCoreApplication::applicationDirPath());
}

QString DataPaths::shipped(const QString& relative) const {
    return programDir_ + u'/' + relative;
}
QString DataPaths::work(const QString& relative) const {
    return workRoot_ + u'/' + relative;
}

QString DataPaths::dataFolder() const {
    return shipped(QStringLiteral("korvel"));
}
QString DataPaths::templateParameterTree() const {
    return shipped(QStringLiteral("korvel/wj_0_or_2/wjj_01"));
}
QString DataPaths::templateAnimationTree() const {
    return shipped(QStringLiteral("korvel/wj_0_or_2/wjj_02"));
}
QString DataPaths::startupPackage() const {
    return shipped(QStringLiteral("korvel/wj_0_or_2_2/wj_0_or_2_2_d.rar"));
}
QString DataPaths::endingPackage() const {
    return shipped(QStringLiteral("korvel/wj_0_or_3_3/wj_0_or_3_3_d.rar"));
}
QString DataPaths::backgroundPreviewPackage() const {
    return shipped(QStringLiteral("korvel/wj_0_or_5_5/wj_0_or_5_5_d.rar"));
}
QString DataPaths::defaultBackgroundPackage() const {
    return shipped(QStringLiteral("korvel/wj_0_or_6_6/wj_0_or_6_6.rar"));
}
QString DataPaths::combinationFolder() const {
    return shipped(QStringLiteral("korvel/wj_0_or_9_9"));
}
QString DataPaths::combinationPackage(int number) const {
    return combinationFolder() + QStringLiteral("/wj_0_or_9_9_%1.rar").arg(number);
}
QString DataPaths::pictureEffectLibrary() const {
    return shipped(QStringLiteral("korvel/wj_x_g_c_l_1") + kEffectBase);
}
QString DataPaths::pictureEffectFolder(int number) const {
    return pictureEffectLibrary() + QStringLiteral("/wj_x_g_c_l_%1").arg(number);
}
QString DataPaths::textEffectLibrary() const {
    return shipped(QStringLiteral("korvel/wj_x_g_c_l_2") + kEffectBase);
}
QString DataPaths::textEffectCategory(int category) const {
    return textEffectLibrary() + QStringLiteral("/wj_x_g_c_l_%1").arg(category);
}
QString DataPaths::textEffectFolder(int category, int effect) const {
    return textEffectCategory(category) + QStringLiteral("/wj_x_g_c_l_%1").arg(effect);
}
QString DataPaths::sampleFolder() const {
    return shipped(QStringLiteral("yinyuegeciwenjian"));
}
QString DataPaths::sampleMusic() const {
    return sampleFolder() + QStringLiteral("/甜蜜蜜.mp3");
}
QString DataPaths::sampleLyrics() const {
    return sampleFolder() + QStringLiteral("/甜蜜蜜.lrc");
}

QString DataPaths::workFolder() const {
    return work(QStringLiteral("korvel/wj_0_or_2/wjj_00_j_y"));
}
QString DataPaths::startupAnimation() const {
    return workFolder() + QStringLiteral("/wj_0_or_2_2_d.swf");
}
QString DataPaths::parameterFile(int k) const {
    return workFolder() + QStringLiteral("/wjj_00_j_y%1.ini").arg(k);
}
QString DataPaths::backgroundPreviewAnimation(int copy) const {
    return work(QStringLiteral("korvel/wj_0_or_5_5/wj_0_or_5_5_d_%1").arg(copy) + kAnimationExtension);
}
QString DataPaths::backgroundWorkPicture(const QString& extension) const {
    return work(QStringLiteral("korvel/wj_0_or_5_5/wj_y_l_b_j.") + extension);
}
QString DataPaths::defaultBackgroundPicture() const {
    return work(QStringLiteral("korvel/wj_0_or_6_6/wj_0_or_6_6.jpg"));
}
QString DataPaths::previewTree() const {
    return work(QStringLiteral("korvel/wj_y_l"));
}
QString DataPaths::usedTemplateFolder(int n) const {
    return work(kPreviewUsed + QStringLiteral("/wj_y_l_%1").arg(n));
}
QString DataPaths::usedTemplateMovie(int n) const {
    return usedTemplateFolder(n) + QStringLiteral("/wj_y_l_%1").arg(n) + kAnimationExtension;
}
QString DataPaths::endingFolder() const {
    return work(kPreviewUsed + QStringLiteral("/wj_y_l_z_h"));
}
QString DataPaths::endingMovie() const {
    return endingFolder() + QStringLiteral("/wj_y_l_z_h") + kAnimationExtension;
}
QString DataPaths::endingMovieCopy() const {
    return endingFolder() + QStringLiteral("/wj_y_l_z_h_2") + kAnimationExtension;
}
QString DataPaths::handOverFolder() const {
    return work(QStringLiteral("korvel/wj_y_l/wj_y_l/wj_y_l/pic"));
}
QString DataPaths::handOverPicture(const QString& extension) const {
    return handOverFolder() + QStringLiteral("/picture_0.") + extension;
}
QString DataPaths::singlePreviewFolder() const {
    return work(kPreviewUsed + QStringLiteral("/wj_y_l"));
}
QString DataPaths::singlePreviewMovie(bool copy) const {
    return singlePreviewFolder() +
           (copy ? QStringLiteral("/wj_y_l_d_g_2_2") : QStringLiteral("/wj_y_l_d_g_2")) + kAnimationExtension;
}
QString DataPaths::productionWorkPicture() const {
    return work(QStringLiteral("korvel/wj_y_l/wj_y_l/wj_y_l/wj_y_l.bmp"));
}
QString DataPaths::obsoleteFolder() const {
    return work(QStringLiteral("wj_to_wj"));
}

QStringList DataPaths::workFoldersToClear() const {
    return {workFolder(), previewTree(), obsoleteFolder()};
}

QStringList DataPaths::workFilesToClear() const {
    return {backgroundPreviewAnimation(1), backgroundPreviewAnimation(2),
            backgroundWorkPicture(QStringLiteral("bmp")), backgroundWorkPicture(QStringLiteral("jpg")),
            defaultBackgroundPicture()};
}

} // namespace lumiset
