// The splash window while the template catalogue loads.
#include "ui/screenshots/Shots.h"
#include "ui/startup/SplashWindow.h"

using namespace lumiset::ui;
using namespace lumiset::shots;

namespace lumiset::shots {

void startupShots() {
    SplashWindow splash;
    splash.showProgress(37, 100);
    save(&splash, QStringLiteral("splash.png"));
}

} // namespace lumiset::shots
