// What only the running program needs, shared by its windows: selection, window mode, drag, playback
// and production flags. None of it belongs to the album, so jobs never copy it and files never store it.
// Fields keep their original names and words.
#pragma once

#include "core/AlbumDocument.h"

#include <QObject>
#include <QString>

namespace lumiset {

struct SessionState {
    // Main window.
    QString Edit_tuichu = QStringLiteral("bofang_tingzhi"); // "bofang_kaishi" while the album plays
    QString Edit_moban_zhen_leijia;                         // frame inside the current animation
    QString Edit_zong_leijia_zhen;                          // frames shown since play started
    QString Edit_moban_hanghao_leijia;                      // position in the finished list
    QString Edit_yinyue_leijia;                             // current song row
    QString Edit_geci_leijia;                               // current lyric row
    QString Edit_yinyue_shijian;                            // song position, minutes and seconds
    QString Edit_sui_yinyue_shijian;                        // seconds of music before the current song
    QString Edit_huamiantexiao_shijian;                     // picture-effect clock text
    QString Edit_wenzitexiao_shijian;                       // text-effect clock text
    QString Edit_huamiantexiao_xiezai = QStringLiteral("xiezai");
    QString Edit_wenzitexiao_xiezai = QStringLiteral("xiezai");
    QString Edit_ShockwaveFlash_bofang = QStringLiteral("1");
    QString Edit_ShockwaveFlash_qi_dong_dong_hua = QStringLiteral("0");
    QString Edit_kuozhanming_1 = QStringLiteral(".rar");
    QString Edit_hangshu = QStringLiteral("wu"); // selected photo row or "wu"
    QString Edit_fangye_hao;                     // current photo page, 0-based
    QString Edit_Width_01 = QStringLiteral("9");
    QString Edit_Height_01 = QStringLiteral("9");
    QString Edit_Image_kongjian = QStringLiteral("wu");
    QString Edit_tuodong_kaiguan;
    QString Edit_tuodong_down_x;
    QString Edit_tuodong_down_y;
    QString Edit_zidongkongzhi; // deferred command of the main window
    QString Edit_yinyue_dakai_1ci = QStringLiteral("0");
    QString Edit_geci_dakai_1ci = QStringLiteral("0");
    QString Edit_xiangce_leixing;       // "VCD", "SVCD", "DVD", "AVI", "WMV", "MP4", "MOV"
    QString Edit_xiangce_baocun_weizhi; // output folder
    QString Edit_zhizuo_kaishi;         // "zhizuo_kaishi" while a production runs
    QString Edit_zhizuo_zhuan_zhizuo;
    QString Edit_mcl_caozuo_leixing;
    QString Edit_wancheng; // "picture_0_wancheng" when a production ends

    // Held by the program outside any window.
    QString windowMode = QStringLiteral("moren_chuangkou"); // "fangda_chuangkou", "quanping_chuangkou"
    QString deleteRequest;                                  // "shanchu-dange", "shanchu-quanbu", …"-Form2"
    QString firstPageFlag = QStringLiteral("kaishi");       // "jieshu" after the first photo page
    int backgroundMovieSwitch = 0;                          // 1 or 2, alternating

    QString Edit_caozuo; // confirmation answer: "yes" or empty
};

// The session of one run, shared by the windows (passed to them, never a global). It follows the
// document: when photo rows go (a deletion, an undone import, another album), a selected photo row
// would name another photo, so the selection is dropped.
class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(AlbumDocument& document, QObject* parent = nullptr);

    SessionState state;

    // Whether the album is playing: most commands that change the album refuse then.
    bool isPlaying() const;
    // Edit_hangshu as a row, or -1 for "wu".
    int selectedPhotoRow() const;
    void selectPhotoRow(int row);

signals:
    void selectionChanged();

private:
    int photoRows_ = 0;
};

} // namespace lumiset
