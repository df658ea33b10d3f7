// Writes the generated parts of the data folder korvel/ beside the program: the templates (parameter
// and animation packages), the start-up, ending and background-preview movies, the default
// background picture and the combination templates.
#pragma once

#include "tools/templates/Template.h"

#include <QString>
#include <vector>

namespace lumiset::templates {

class DataFolderWriter {
public:
    // `sources` is data/templates; `programDir` the folder of the executable.
    DataFolderWriter(QString sources, QString programDir);

    // Reads and checks every design first, then writes; throws Error naming the file at fault.
    void build();
    // A Markdown table of the templates, for docs/templates.md.
    QString describe() const;

private:
    struct Output {
        QString path;
        QByteArray bytes;
    };
    void loadTemplates();
    std::vector<Output> templatePackages() const;
    std::vector<Output> specialPackages() const;
    std::vector<Output> combinationPackages() const;
    QByteArray specialMovie(const QString& file, int layersExpected, std::optional<int> frames) const;

    QString sources_;
    QString programDir_;
    struct Entry {
        QString folder; // category folder name, shared by both package trees
        QString stem;   // file name without extension
        Template design;
    };
    std::vector<Entry> templates_;
};

} // namespace lumiset::templates
