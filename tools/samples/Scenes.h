// The scenes of the sample photos, each painted upright at the size asked for.
#pragma once

#include "tools/samples/Canvas.h"

#include <QSize>

namespace lumiset::tools {

Canvas PaintSunsetSea(QSize size);
Canvas PaintBeach(QSize size);
Canvas PaintLighthouse(QSize size);
Canvas PaintMountainLake(QSize size);
Canvas PaintSnowyPeak(QSize size);
Canvas PaintDunes(QSize size);
Canvas PaintWaterfall(QSize size);
Canvas PaintFlowerField(QSize size);
Canvas PaintForestPath(QSize size);
Canvas PaintBambooGrove(QSize size);
Canvas PaintCityDusk(QSize size);
Canvas PaintPagoda(QSize size);

} // namespace lumiset::tools
