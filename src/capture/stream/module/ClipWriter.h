#pragma once

#include "capture/stream/ClipRecorder.h"

#include <cstddef>
#include <memory>

// The module's recorder of event clips (see ClipRecorder).
std::unique_ptr<ClipRecorder> CreateClipWriter(std::size_t bufferBytes);
