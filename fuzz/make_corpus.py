#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

Seeds are small on purpose: each shows the fuzzer one shape of valid input (the fuzzer finds the rest).
Run from anywhere; the files are rewritten identically each time.
"""
import base64
import json
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def package(payload, layers):
    """The package format: per layer, the decoded size (int32, little-endian) and one zlib stream."""
    for _ in range(layers):
        payload = struct.pack("<i", len(payload)) + zlib.compress(payload, 9)
    return payload


# Template parameters as the shipped packages hold them: GBK text with CRLF line ends.
TEMPLATE_INI = (
    "[1]\r\nmblx=横照模板\r\nmbfl=时光相册\r\nxpsl=2\r\nxpkd=|960|540|\r\nxpgd=|720|720|\r\n"
    "zhenshu=250\r\n[wenzi]\r\nl_x_k_r_v_t_w_j_s_y=片头\r\n"
).encode("gbk")
EFFECT_INI = "\ufeff; 特效参数\n[Effect]\nName=淡入\nDuration=25\n\n[Empty]\n=no key\nbroken line\n".encode("utf-8")


def ini_seeds():
    write("ini", "template.ini", TEMPLATE_INI)
    write("ini", "effect_utf8.ini", EFFECT_INI)
    write("ini", "sections_only.ini", b"[a]\n[B]\r\n[c\nkey=value=more\n")


def package_seeds():
    write("package", "parameters_3.rar", package(TEMPLATE_INI, 3))
    write("package", "movie_2.rar", package(json.dumps(background_movie()).encode(), 2))
    write("package", "empty_payload.rar", package(b"", 1))
    write("package", "text_20.rar", package(b"x" * 64, 20))


# A movie is Lottie JSON; these cover the layer kinds and shape items the player draws.
def value(v):
    return {"a": 0, "k": v}


def animated(*keys):
    return {"a": 1, "k": [{"t": t, "s": s, "i": {"x": [0.7], "y": [1]}, "o": {"x": [0.3], "y": [0]}}
                          for t, s in keys]}


def transform(**overrides):
    ks = {"a": value([0, 0, 0]), "p": value([0, 0, 0]), "s": value([100, 100, 100]), "r": value(0),
          "o": value(100)}
    ks.update(overrides)
    return ks


def layer(ty, ind, name, **fields):
    base = {"ty": ty, "ind": ind, "nm": name, "ip": 0, "op": 30, "st": 0, "sr": 1, "ks": transform()}
    base.update(fields)
    return base


def movie(layers, assets=(), w=64, h=36):
    return {"v": "5.7.4", "fr": 25, "ip": 0, "op": 30, "w": w, "h": h, "ddd": 0, "assets": list(assets),
            "layers": layers, "markers": [{"cm": "k_r_v_t_s_y_l_x", "tm": 0, "dr": 0}]}


def background_movie():
    gradient = {"ty": "gf", "t": 1, "s": value([-32, -18]), "e": value([32, 18]), "o": value(100), "r": 1,
                "g": {"p": 2, "k": value([0, 0.2, 0.2, 0.3, 1, 0.1, 0.1, 0.1, 0, 1, 1, 1])}}
    group = {"ty": "gr", "nm": "group", "it": [
        {"ty": "rc", "d": 1, "p": value([0, 0]), "s": value([64, 36]), "r": value(0)}, gradient,
        {"ty": "tr", "a": value([0, 0]), "p": value([0, 0]), "s": value([100, 100]), "r": value(0),
         "o": value(100), "sk": value(0), "sa": value(0)}]}
    return movie([layer(2, 2, "num_stop", refId="background",
                        ks=transform(s=animated((0, [100, 100, 100]), (30, [105, 105, 100])))),
                  layer(4, 1, "page", shapes=[group], ks=transform(p=value([32, 18, 0])))],
                 assets=[{"id": "background", "w": 64, "h": 36, "u": "", "p": "background.jpg", "e": 0}])


def shapes_movie():
    star = {"ty": "sr", "sy": 1, "p": value([10, 10]), "pt": value(5), "or": value(8), "ir": value(4),
            "os": value(0), "is": value(0), "r": value(0)}
    path = {"ty": "sh", "ks": value({"c": True, "v": [[0, 0], [20, 0], [10, 15]],
                                     "i": [[0, 0], [0, 0], [0, 0]], "o": [[0, 0], [0, 0], [0, 0]]})}
    items = [
        {"ty": "el", "p": value([32, 18]), "s": animated((0, [10, 10]), (29, [30, 30]))},
        star, path,
        {"ty": "tm", "s": value(0), "e": animated((0, [0]), (29, [100])), "o": value(0), "m": 1},
        {"ty": "st", "c": value([1, 0, 0, 1]), "o": value(100), "w": value(2), "lc": 2, "lj": 2},
        {"ty": "fl", "c": value([0, 0.5, 1, 1]), "o": value(80), "r": 1},
    ]
    return movie([layer(4, 1, "shapes", shapes=items,
                        ks=transform(r=animated((0, [0]), (29, [90]))))])


def precomp_movie():
    inner = [layer(1, 1, "solid", sc="#ff8800", sw=64, sh=36),
             layer(3, 2, "null", ks=transform(p=animated((0, [0, 0, 0]), (29, [20, 10, 0])))),
             layer(4, 3, "child", parent=2, shapes=[
                 {"ty": "rc", "d": 1, "p": value([0, 0]), "s": value([10, 10]), "r": value(2)},
                 {"ty": "fl", "c": value([1, 1, 1, 1]), "o": value(100), "r": 1}])]
    mask = {"mode": "a", "inv": False, "o": value(100),
            "pt": value({"c": True, "v": [[0, 0], [40, 0], [40, 30], [0, 30]],
                         "i": [[0, 0]] * 4, "o": [[0, 0]] * 4})}
    matte_source = layer(4, 1, "matte", td=1, shapes=[
        {"ty": "el", "p": value([32, 18]), "s": value([30, 30])},
        {"ty": "fl", "c": value([1, 1, 1, 1]), "o": value(100), "r": 1}])
    outer = [matte_source,
             layer(0, 2, "comp", refId="comp_1", w=64, h=36, tt=1, masksProperties=[mask],
                   tm=animated((0, [0]), (29, [1])))]
    return movie(outer, assets=[{"id": "comp_1", "layers": inner}])


def picture_movie():
    # A 1x1 PNG embedded as a data URI, and a picture in the folder that is missing.
    png = base64.b64decode(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==")
    assets = [{"id": "inline", "w": 1, "h": 1, "e": 1, "u": "",
               "p": "data:image/png;base64," + base64.b64encode(png).decode()},
              {"id": "zp_1", "w": 64, "h": 36, "e": 0, "u": "images/", "p": "zp_1.jpg"}]
    return movie([layer(2, 1, "inline", refId="inline", ks=transform(s=value([3200, 3200, 100]))),
                  layer(2, 2, "zp_1", refId="zp_1")], assets=assets)


def lottie_seeds():
    for name, m in [("background", background_movie()), ("shapes", shapes_movie()),
                    ("precomp_matte", precomp_movie()), ("pictures", picture_movie())]:
        write("lottie", name + ".json", json.dumps(m, separators=(",", ":"), ensure_ascii=False))


# An album as the program saves it, with every table name and a few rows.
def album_seeds():
    photo = lambda n, w, h: [str(n), "p%d" % n, ".jpg", str(w), str(h), "D:/照片/p%d.jpg" % n, "完成"]
    slot = ["2", "甜蜜时刻", "高级模板", "1", "1", "00:00:09", "综合模板", "0", "heng_zhaopian", "zp_1", "0",
            "yi_pipei", "0", "D:/照片/p1.jpg", "960", "640", "0", "0", "960", "720", "quanping_or_jubuquanping",
            "54", "0", "853", "640", "", ""]
    tables = {
        "ListView_daoru_LRC": [["1", "歌词", ".lrc", "D:/音乐/歌词.lrc"]],
        "ListView_daoru_yinyue": [["1", "s", ".mp3", "00:00:01", "D:/音乐/s.mp3"]],
        "ListView_daoru_zhaopian": [photo(1, 64, 48), photo(2, 48, 64)],
        "ListView_geci_shezhi_canshu": [],
        "ListView_heng_zhao": [],
        "ListView_moban_beijing": [["1", "甜蜜时刻", "高级模板", "综合模板", "p1", ".jpg", "64", "48",
                                    "D:/照片/p1.jpg", "0"]],
        "ListView_moban_shiyong": [["2", "甜蜜时刻", "高级模板", "1", "1", "00:00:09", "综合模板", "已完成", "1"]],
        "ListView_moban_shiyong_canshu": [slot],
        "ListView_qubu_hengzhao": [photo(1, 64, 48)[:6] + ["0"]],
        "ListView_shu_zhao": [],
        "TForm32.ListView_Image": [],
        "TForm33.ListView_Image": [],
    }
    album = {"format": "lumiset-album", "version": 1, "settings": {"CheckBox_suiji": "1"}, "tables": tables}
    write("album", "album.json", json.dumps(album, ensure_ascii=False, separators=(",", ":")))
    empty = {"format": "lumiset-album", "version": 1, "settings": {}, "tables": {}}
    write("album", "empty.json", json.dumps(empty))


# JPEG headers: markers up to the frame header, with and without an EXIF block.
def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def exif_block(orientation, big_endian, thumbnail):
    order = ">" if big_endian else "<"
    tiff = (b"MM" if big_endian else b"II") + struct.pack(order + "HI", 42, 8)
    ifd0 = struct.pack(order + "H", 1) + struct.pack(order + "HHIHH", 0x0112, 3, 1, orientation, 0)
    ifd1_offset = 8 + len(ifd0) + 4
    tiff += ifd0 + struct.pack(order + "I", ifd1_offset if thumbnail else 0)
    if thumbnail:
        data_offset = ifd1_offset + 2 + 2 * 12 + 4
        tiff += struct.pack(order + "H", 2)
        tiff += struct.pack(order + "HHII", 0x0201, 4, 1, data_offset)
        tiff += struct.pack(order + "HHII", 0x0202, 4, 1, len(thumbnail))
        tiff += struct.pack(order + "I", 0) + thumbnail
    return b"Exif\0\0" + tiff


def frame_header(marker, width, height):
    return segment(marker, struct.pack(">BHHB", 8, height, width, 3) + b"\x01\x22\x00\x02\x11\x01\x03\x11\x01")


def photo_seeds():
    # A whole 64x48 picture as an encoder writes it.
    write("photo_header", "plain.jpg", bytes.fromhex(
        "ffd8ffe000104a46494600010200000100010000fffe00104c61766335392e33372e31303000ffdb00430008"
        "3e3e493e49555555555555645d6468686864646464686868707070838383707070686870707c7c83838f938f"
        "8787838793939b9b9bbabab2b2d9d9e0ffffffffc4004d000101000000000000000000000000000000060101"
        "0101000000000000000000000000000006071001000000000000000000000000000000001101000000000000"
        "00000000000000000000ffc00011080030004003012200021100031100ffda000c03010002110311003f008b"
        "0128dfc000000000000000000000000000000001ffd9"))
    soi, eoi = b"\xFF\xD8", b"\xFF\xD9"
    thumb = soi + frame_header(0xC0, 8, 8) + eoi
    write("photo_header", "exif_rotated.jpg",
          soi + segment(0xE1, exif_block(6, False, thumb)) + frame_header(0xC0, 40, 30) + eoi)
    write("photo_header", "exif_motorola_progressive.jpg",
          soi + segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0<x/>") + segment(0xE1, exif_block(3, True, b""))
          + b"\xFF\xFF" + frame_header(0xC2, 300, 200) + eoi)


# Lyric files as users bring them: GBK with CRLF line ends, UTF-8 with a byte-order mark, and brackets that
# do not pair.
def lrc_seeds():
    write("lrc", "gbk.lrc", "[ti:甜蜜蜜]\r\n[ar:歌手]\r\n[offset:0]\r\n[00:05.50]清晨的阳光\r\n"
          "[00:10.95][01:10.95]翻开旧相册\r\n[00:16.40]那些[00:17.00]小日子\r\n".encode("gbk"))
    write("lrc", "utf8_bom.lrc", "\ufeff[al:专辑]\n[00:01.00]你好\n[00:02.00]\n[by:me] \n")
    write("lrc", "unpaired.lrc", b"[00:01.00]a]b[c\r[[]]\n][\n[ti\n")


if __name__ == "__main__":
    ini_seeds()
    package_seeds()
    lottie_seeds()
    album_seeds()
    photo_seeds()
    lrc_seeds()
