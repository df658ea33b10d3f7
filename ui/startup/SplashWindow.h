// The splash window (TForm1, caption "Lumiset"): borderless and centred, the picture Image1 with the
// thin bar ProgressBar_jiazai along its bottom edge, showing how far the template catalogue has loaded.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace lumiset::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // The bar at `position` of `maximum` (templates loaded of all).
    void showProgress(int position, int maximum);
    int position() const;
    int maximum() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void centreOnScreen();

    QLabel* picture_;
    QProgressBar* bar_;
};

} // namespace lumiset::ui
