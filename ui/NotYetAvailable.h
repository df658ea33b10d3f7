// Commands whose window comes in a later version are disabled with this tool tip, never a dead click.
#pragma once

#include <QString>

namespace lumiset::ui {

inline const QString kNotYetAvailable = QStringLiteral("此功能将在后续版本中提供");

} // namespace lumiset::ui
