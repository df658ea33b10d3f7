// The album being made: every table and state field, owned in one place. Tables keep their
// original names and column numbers (core/Columns.h); operations that keep them consistent live in
// the subsystems and take the album by reference.
#pragma once

#include "core/Table.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace lumiset {

// State passed between the program's parts, by the original field names and with their words.
// Fields whose first value nobody reads start empty.
struct AlbumState {
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

    // Fields of other windows used across windows.
    QString Edit_caozuo;                               // confirmation answer: "yes" or empty
    QString Edit_mobanfashi;                           // "shiyong_suijimoban" / "shiyong_zuhemoban"
    QString Edit_zuhemoban_xuanhao;                    // chosen combination template
    QString Edit_zidongtianjia_wenzitexiao_wancheng;   // "zidongtianjia_wenzitexiao_wangcheng"
    QString Edit_zidongtianjia_huamiantexiao_wancheng; // "zidongtianjia_huamiantexiao_wangcheng"
};

class Album {
public:
    Album();

    Table photos;           // ListView_daoru_zhaopian
    Table pendingLandscape; // ListView_heng_zhao
    Table pendingPortrait;  // ListView_shu_zhao
    Table usedTemplates;    // ListView_moban_shiyong
    Table templateSlots;    // ListView_moban_shiyong_canshu
    Table landscapePhotos;  // ListView_qubu_hengzhao
    Table backgrounds;      // ListView_moban_beijing
    Table music;            // ListView_daoru_yinyue
    Table lyrics;           // ListView_daoru_LRC
    Table lyricSettings;    // ListView_geci_shezhi_canshu
    Table pictureEffects;   // ListView_Image of TForm32
    Table textEffects;      // ListView_Image of TForm33

    // ListBox_yijing_wancheng_shiyongmoban_hanghao: used-template rows ready to play, rebuilt before
    // each playback and production.
    QStringList finishedTemplates;

    AlbumState state;
    // Choices of the settings, quality and synchronisation windows by control name.
    QMap<QString, QString> settings;

    // The tables an album file holds, in file order.
    QList<Table*> tables();
    QList<const Table*> tables() const;

    // Empties every table; settings and state stay.
    void clearTables();

    // The lists that follow from the photo table: the pending lists (photos without a slot, landscape and
    // square ones apart from portrait ones) and the landscape photo list, each in photo order.
    void rebuildPendingLists();
    void rebuildLandscapePhotoList();
    void rebuildPhotoLists() {
        rebuildPendingLists();
        rebuildLandscapePhotoList();
    }

    // Rebuilds ListBox_yijing_wancheng_shiyongmoban_hanghao from the used-template table.
    void rebuildFinishedTemplates();
};

} // namespace lumiset
