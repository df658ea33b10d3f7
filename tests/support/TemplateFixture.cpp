#include "tests/support/TemplateFixture.h"

#include "core/IniFile.h"
#include "core/Package.h"

#include <map>
#include <memory>

namespace lumiset::test {

QByteArray TemplateParameterFile(const TemplateSpec& s) {
    const QString text =
        QStringLiteral("[1]\r\nmblx=%1\r\nmbfl=%2\r\nxpsl=%3\r\nxpkd=%4\r\nxpgd=%5\r\nszhz=%6\r\n"
                       "xpjpgmc=%7\r\nmbdx=%8\r\nwxcs01=%9\r\nwxcs02=%10\r\nwxcs03=\r\nwxcs04=%11\r\n"
                       "[0]\r\nsl=%7\r\n"
                       "[l_x_k_r_v_t_w_j_s_y]\r\nl_x_k_r_v_t_w_j_s_y_m_c=%12\r\n"
                       "l_x_k_r_v_t_w_j_s_y=%13\r\n")
            .arg(QStringLiteral("类型"), s.category)
            .arg(s.pictures.count(u'|') - 1)
            .arg(s.widths, s.heights, s.orientations, s.pictures, s.frames, s.positions, s.mandatoryMarks,
                 s.randomMarks, s.name)
            .arg(s.marker);
    return EncodeGbk(text);
}

QString WriteTemplate(const TempTree& tree, const QString& stem, const TemplateSpec& design) {
    const QByteArray movie = !design.movie.isEmpty()
                                 ? design.movie
                                 : QByteArrayLiteral(R"({"v":"5.7.0","fr":25,"ip":0,"op":)") +
                                       design.frames.toUtf8() +
                                       QByteArrayLiteral(R"(,"w":1920,"h":1080,"assets":[],"layers":[]})");
    tree.write(QStringLiteral("korvel/wj_0_or_2/wjj_02/") + stem + QStringLiteral(".rar"),
               EncodePackage(movie, 20));
    return tree.write(QStringLiteral("korvel/wj_0_or_2/wjj_01/") + stem + QStringLiteral(".rar"),
                      EncodePackage(TemplateParameterFile(design), 20));
}

void WriteVariedTemplates(const TempTree& tree, int count) {
    const char* orientations[] = {"|heng|", "|shu|", "|shuheng|", "|heng|shu|", "|heng|heng|shu|shu|"};
    const char* pictures[] = {"|zp_1|", "|zp_1|", "|zp_1|", "|zp_1|zp_2|", "|zp_1|zp_2|zp_3|zp_4|"};
    for (int i = 0; i < count; ++i) {
        TemplateSpec design;
        design.name = QStringLiteral("模板%1").arg(i);
        design.orientations = orientations[i % 5];
        design.pictures = pictures[i % 5];
        design.positions = "|50|200|";
        design.mandatoryMarks = "|A|B|";
        WriteTemplate(tree, QStringLiteral("c%1/t%2").arg(i / 50).arg(i, 4, 10, QLatin1Char('0')), design);
    }
}

const TempTree& VariedTemplateFolder(int count) {
    static std::map<int, std::unique_ptr<TempTree>> folders;
    std::unique_ptr<TempTree>& folder = folders[count];
    if (!folder) {
        folder = std::make_unique<TempTree>();
        WriteVariedTemplates(*folder, count);
    }
    return *folder;
}

} // namespace lumiset::test
