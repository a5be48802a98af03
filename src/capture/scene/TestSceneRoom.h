#pragma once

#include "capture/scene/TestSceneLayout.h"

#include <QImage>

// Paints the still part of the test scene: a living room with a window, curtains, a picture, a
// sideboard with a lamp, a plant, a wooden floor with a rug, and the clock's face (its hands are drawn
// into each frame). A null image when the picture could not be allocated.
QImage PaintTestSceneRoom(const TestSceneLayout& layout);
