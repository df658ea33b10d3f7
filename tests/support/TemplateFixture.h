// Builds small data folders for tests: template parameter and animation packages made with the real
// package encoder, in the layout the catalogue scans.
#pragma once

#include "tests/support/TempTree.h"

#include <QString>
#include <QStringList>

namespace lumiset::test {

struct TemplateSpec {
    QString name = QStringLiteral("模板");
    QString orientations = QStringLiteral("|heng|"); // szhz
    QString pictures = QStringLiteral("|zp_1|");     // xpjpgmc
    QString widths = QStringLiteral("|0|");          // xpkd
    QString heights = QStringLiteral("|0|");         // xpgd
    QString frames = QStringLiteral("250");          // mbdx
    QString category = QStringLiteral("浪漫");       // mbfl
    QString positions;                               // wxcs01
    QString mandatoryMarks;                          // wxcs02
    QString randomMarks;                             // wxcs04
    QString marker = QStringLiteral("k_r_v_t_s_y_l_x");
    QByteArray movie; // the Lottie document; empty: a movie of `frames` frames that draws nothing
};

// The GBK parameter file of a template.
QByteArray TemplateParameterFile(const TemplateSpec& design);

// Writes the k-th template (file name stem `stem`, e.g. "t001") into both template trees of the data
// folder below `programDir` relative to `tree`; returns the parameter package path.
QString WriteTemplate(const TempTree& tree, const QString& stem, const TemplateSpec& design);

// `count` templates of the five slot designs in turn (one landscape, one portrait, one either way, two
// and four photos), fifty to a category folder: a data folder of a realistic mix for start-up benchmarks.
void WriteVariedTemplates(const TempTree& tree, int count);
// A folder of WriteVariedTemplates(count), made on first use and kept until the program ends.
const TempTree& VariedTemplateFolder(int count);

} // namespace lumiset::test
