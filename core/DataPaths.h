// Every path of the data folder and the work folders, built in one place.
//
// Shipped data is read below the program folder (the folder of the executable); work files are
// written below the work root, which is the program folder when it is writable and the user's cache
// folder otherwise. Relative names are fixed; paths use '/'.
#pragma once

#include <QString>

namespace lumiset {

// Extension of decoded animations in the preview tree (the hidden field Edit_kuozhanming_1).
inline const QString kAnimationExtension = QStringLiteral(".rar");

class DataPaths {
public:
    DataPaths(const QString& programDir, const QString& workRoot);
    // Work root = programDir when writable, else $XDG_CACHE_HOME/lumiset.
    static DataPaths forProgramDir(const QString& programDir);
    // The folder of the running executable, or $LUMISET_PROGRAM_DIR when set (tests, tools).
    static DataPaths forRunningProgram();

    const QString& programDir() const { return programDir_; }
    const QString& workRoot() const { return workRoot_; }

    // --- shipped, below the program folder
    QString dataFolder() const;                     // korvel
    QString templateParameterTree() const;          // korvel/wj_0_or_2/wjj_01
    QString templateAnimationTree() const;          // korvel/wj_0_or_2/wjj_02
    QString startupPackage() const;                 // 13 layers
    QString endingPackage() const;                  // 16 layers
    QString backgroundPreviewPackage() const;       // 6 layers
    QString defaultBackgroundPackage() const;       // 3 layers
    QString combinationFolder() const;              // korvel/wj_0_or_9_9
    QString combinationPackage(int number) const;   // 3 layers, number 1-based
    QString pictureEffectLibrary() const;           // folder holding wj_x_g_c_l_<n>
    QString pictureEffectFolder(int number) const;  // number 1-based
    QString textEffectLibrary() const;              // folder holding wj_x_g_c_l_<c>
    QString textEffectCategory(int category) const; // category 1-based
    QString textEffectFolder(int category, int effect) const;
    QString sampleFolder() const; // yinyuegeciwenjian
    QString sampleMusic() const;  // yinyuegeciwenjian/甜蜜蜜.mp3
    QString sampleLyrics() const; // yinyuegeciwenjian/甜蜜蜜.lrc

    // --- work files, below the work root
    QString workFolder() const;                         // korvel/wj_0_or_2/wjj_00_j_y
    QString startupAnimation() const;                   // work folder/wj_0_or_2_2_d.swf
    QString parameterFile(int k) const;                 // work folder/wjj_00_j_y<k>.ini
    QString backgroundPreviewAnimation(int copy) const; // korvel/wj_0_or_5_5/wj_0_or_5_5_d_<copy>.rar
    QString backgroundWorkPicture(const QString& extension) const; // korvel/wj_0_or_5_5/wj_y_l_b_j.<ext>
    QString defaultBackgroundPicture() const;                      // korvel/wj_0_or_6_6/wj_0_or_6_6.jpg
    QString previewTree() const;                                   // korvel/wj_y_l
    QString usedTemplateFolder(int n) const;                       // n = 1-based used-template row
    QString usedTemplateMovie(int n) const;
    QString endingFolder() const;
    QString endingMovie() const;
    QString endingMovieCopy() const;                         // the production's second copy
    QString handOverFolder() const;                          // .../pic
    QString handOverPicture(const QString& extension) const; // picture_0.<ext>
    QString singlePreviewFolder() const;
    QString singlePreviewMovie(bool copy) const; // wj_y_l_d_g_2.rar / wj_y_l_d_g_2_2.rar
    QString productionWorkPicture() const;       // korvel/wj_y_l/wj_y_l/wj_y_l/wj_y_l.bmp
    QString obsoleteFolder() const;              // wj_to_wj, removed at start

    // The work folders and files removed at start and at exit.
    QStringList workFoldersToClear() const;
    QStringList workFilesToClear() const;

private:
    QString shipped(const QString& relative) const;
    QString work(const QString& relative) const;

    QString programDir_;
    QString workRoot_;
};

} // namespace lumiset
