// Comparing pictures in tests.
#pragma once

#include <QImage>

namespace lumiset::test {

// The largest difference of one colour channel between two pictures of the same size, 0 to 255.
int LargestChannelDifference(const QImage& a, const QImage& b);

} // namespace lumiset::test
