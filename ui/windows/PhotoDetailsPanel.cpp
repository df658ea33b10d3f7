#include "ui/windows/PhotoDetailsPanel.h"

#include "core/Columns.h"
#include "photos/PhotoFit.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace lumiset::ui {

namespace {

constexpr int kBorder = 3; // white around the picture, on each side

} // namespace

QSize PreviewFrameSize(QSize photo) {
    if (photo.width() <= 0 || photo.height() <= 0)
        return {};
    const QSize frame = PhotoDetailsPanel::kPreviewSize - QSize(2 * kBorder, 2 * kBorder);
    return FitPhotoSize(photo, frame) + QSize(2 * kBorder, 2 * kBorder);
}

PhotoDetailsPanel::PhotoDetailsPanel(const ThumbnailLoader& thumbnails, QWidget* parent)
    : QWidget(parent), preview_(new QLabel), renderer_(thumbnails) {
    connect(&renderer_, &PictureRenderer::rendered, this,
            [this](int, const QImage& picture) { preview_->setPixmap(QPixmap::fromImage(picture)); });

    auto* box = new QScrollArea(this);
    box->setObjectName(QStringLiteral("ScrollBox_xianshizhaopianshi"));
    box->setFixedSize(kPreviewSize + QSize(4, 4));
    box->setAlignment(Qt::AlignCenter);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview_->setObjectName(QStringLiteral("Image_xianshizhaopian"));
    preview_->setFixedSize(kPreviewSize);
    preview_->setAlignment(Qt::AlignCenter);
    box->setWidget(preview_);

    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(7);
    const struct {
        const char* name;
        const char* label;
    } fields[] = {{"Edit_xuhao", "照片序号"},  {"Edit_mingcheng", "照片名称"}, {"Edit_geshi", "照片格式"},
                  {"Edit_kuandu", "照片宽度"}, {"Edit_gaodu", "照片高度"},     {"Edit_weizhi", "照片位置"}};
    for (const auto& field : fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(field.name));
        edit->setReadOnly(true);
        form->addRow(QString::fromUtf8(field.label), edit);
        fields_.append(edit);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(box, 0, Qt::AlignHCenter);
    layout->addLayout(form);
    layout->addStretch(1);
}

void PhotoDetailsPanel::clear() {
    renderer_.cancel();
    preview_->clear();
    preview_->setToolTip({});
    for (QLineEdit* field : fields_)
        field->clear();
}

void PhotoDetailsPanel::showPhoto(int row, const QStringList& cells) {
    clear();
    if (row < 0 || cells.size() < PhotoCol::Count)
        return;
    for (int column = 0; column < fields_.size(); ++column) {
        fields_[column]->setText(cells[column]);
        fields_[column]->setCursorPosition(0);
    }
    preview_->setToolTip(QStringLiteral("第%1张, 照片名称: %2").arg(row + 1).arg(cells[PhotoCol::Name]));

    const QSize frame = PreviewFrameSize({cells[PhotoCol::Width].toInt(), cells[PhotoCol::Height].toInt()});
    if (frame.isEmpty())
        return;
    const QRect picture(kBorder, kBorder, frame.width() - 2 * kBorder, frame.height() - 2 * kBorder);
    renderer_.render({{cells[PhotoCol::Path], frame, picture}});
}

} // namespace lumiset::ui
