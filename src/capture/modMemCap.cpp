#include "capture/modMemCap.h"

#include "common/AnsiText.h"
#include "ui/MessageBox.h"

#include <cstring>

QString CaptureCallbackText(const char* text)
{
    if (text == nullptr)
        return {};
    return DecodeAnsi(QByteArrayView(text, static_cast<qsizetype>(::strnlen(text, 255))));
}

QString VideoErrorPrompt(const QString& text, std::int32_t number)
{
    return text + QStringLiteral("\rError Number: ") + QString::number(number) +
           QStringLiteral("\rVantu will now exit.  Please check your video device and try again.");
}

std::intptr_t CaptureErrorCallback(const VideoErrorSink& sink, CaptureWindow*, std::int32_t number,
                                   const char* text)
{
    if (number == 0)
        return 0;
    ShowVideoError(sink, CaptureCallbackText(text), number);
    return 0;
}

std::intptr_t CaptureStatusCallback(CaptureWindow*, std::int32_t, const char*)
{
    return 0; // status notices (a stream reconnecting, a file at its end) have no visible effect
}

void ShowVideoError(const VideoErrorSink& sink, const QString& text, std::int32_t number)
{
    const QString prompt = VideoErrorPrompt(text, number);
    sink.Messages.Show(prompt, MsgBoxStyle::Critical, QStringLiteral("Vantu Video Error"));
    sink.UnloadMainWindow(prompt);
}
