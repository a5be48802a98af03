#pragma once

#include <QSize>
#include <vector>

// The frame sizes offered for a source whose own size is native, largest first: the native size, half
// and quarter of it (widths rounded down to an even number), and the common sizes below the native
// size whose proportions match it. Sizes under 8 pixels either way are left out; an empty native size
// offers nothing.
std::vector<QSize> StreamSizeChoices(QSize native);
