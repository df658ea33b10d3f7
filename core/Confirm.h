// A yes/no question put to the user before an operation changes the album: the window shows the
// confirmation box, the command line answers from its --yes option, tests script the answer. Only a
// true answer acts.
#pragma once

#include <QString>
#include <functional>

namespace lumiset {

using Confirm = std::function<bool(const QString& caption, const QString& question)>;

} // namespace lumiset
