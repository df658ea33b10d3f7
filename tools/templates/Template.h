// A template: its design file turned into the pair the program installs, a parameter file (INI, GBK)
// and a Lottie movie, with the checks that keep the two consistent with how the program prepares
// and matches templates.
#pragma once

#include "tools/templates/Fields.h"

#include <QByteArray>
#include <QJsonObject>
#include <QSize>
#include <optional>
#include <vector>

namespace lumiset::templates {

// One entry of the template's picture list ("xpjpgmc" and its parallel lists).
struct TemplatePicture {
    QString name;
    QString fits; // "heng", "shu" or "shuheng"
    QSize slot;   // as written to "xpkd"/"xpgd"; a width of 0 means the whole 1920 x 1080 frame
    bool photo = true;
};

struct Caption {
    int frame = 0;
    QString marks; // one mark, or for the random caption the letters to draw from
};

struct Template {
    QString name;
    QString category;
    QString kind;   // the class the catalogue gives it: "heng", "shu", "shuheng" or "gaojimoban"
    QString motion; // what it does, for the documentation
    int frames = 0;
    int landscape = 0; // photos the matching puts in, as the catalogue counts them
    int portrait = 0;
    std::vector<TemplatePicture> pictures;
    std::vector<Caption> captions;
    std::optional<Caption> randomCaption;
    QJsonObject movie;
};

// Defaults a category folder gives its templates ("page", "handover").
struct CategoryDefaults {
    QString name;
    QJsonObject page;
    QJsonObject handover;
};

CategoryDefaults LoadCategory(const QString& path);
// Throws Error naming the file and field of anything inconsistent.
Template LoadTemplate(const QString& path, const CategoryDefaults& category);

// The parameter file, GBK encoded.
QByteArray ParameterFile(const Template& t);

// The caption letters templates may use.
inline const QString kCaptionMarks = QStringLiteral("ABCD");

} // namespace lumiset::templates
