// Reading an element's motion from its design description: "at", "scale", "rotate", "opacity",
// "in", "out", "drift", "loop", "keys", "from", "until".
#pragma once

#include "tools/templates/Fields.h"
#include "tools/templates/Motion.h"

namespace lumiset::templates {

Motion ReadMotion(Fields& f, const Pose& defaults = {});
Phase ReadPhase(Fields& f, const QString& key, bool entrance);

} // namespace lumiset::templates
