#pragma once

// The capture window's error and status callbacks, and the video error box.

#include "capture/avicap.h"

#include <QString>
#include <cstdint>
#include <functional>

class IMessageBox;

// Where a video error goes: the box, then the end of the program through the main window's unload.
struct VideoErrorSink
{
    IMessageBox& Messages;
    // Ends the program because of the error described.
    std::function<void(const QString& reason)> UnloadMainWindow;
};

// The capture layer's text, taken into a 255-character buffer and cut at its terminating NUL.
QString CaptureCallbackText(const char* text);

// The prompt of the video error box.
QString VideoErrorPrompt(const QString& text, std::int32_t number);

std::intptr_t CaptureErrorCallback(const VideoErrorSink& sink, CaptureWindow* window, std::int32_t number,
                                   const char* text);
std::intptr_t CaptureStatusCallback(CaptureWindow* window, std::int32_t number, const char* text);
void ShowVideoError(const VideoErrorSink& sink, const QString& text, std::int32_t number);
