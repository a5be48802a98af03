#include "capture/driver/DibFrame.h"
#include "capture/stream/StreamModule.h"
#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "monitor/ClipRecording.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace
{
constexpr int Width = 320;
constexpr int Height = 240;
constexpr int FrameMs = 40; // 25 frames a second

// Frames of a bar moving across a grey picture, as the capture window hands them out: bottom-up rows,
// each a multiple of four bytes long.
class ScriptedFrames
{
public:
    ScriptedFrames(int width = Width, int height = Height)
        : width_(width), height_(height), stride_((width * 3 + 3) & ~3),
          bits_(static_cast<std::size_t>(stride_ * height))
    {
    }

    void Feed(ClipRecorder& recorder, int count)
    {
        for (int i = 0; i < count; ++i, ++number_)
        {
            std::fill(bits_.begin(), bits_.end(), std::uint8_t{96});
            const int bar = (number_ * 4) % (width_ - 8);
            for (int y = 0; y < height_; ++y)
                std::fill_n(bits_.begin() + y * stride_ + bar * 3, 3 * 8, std::uint8_t{240});
            recorder.Frame(bits_.data(), width_, height_, stride_, std::int64_t{number_} * FrameMs);
        }
    }
    std::int64_t Now() const { return std::int64_t{number_} * FrameMs; }

private:
    int width_;
    int height_;
    int stride_;
    std::vector<std::uint8_t> bits_;
    int number_ = 0;
};

// What FFmpeg reads back from a clip: its picture size, the frames it decodes and the time they span.
struct ReadBack
{
    int Width = 0;
    int Height = 0;
    int Frames = 0;
    double Seconds = 0;
};

ReadBack Read(const QString& path)
{
    ReadBack clip;
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return clip;
    avformat_find_stream_info(input, nullptr);
    const AVStream* stream = input->streams[0];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::int64_t first = -1;
    std::int64_t last = 0;
    const auto drain = [&]
    {
        while (avcodec_receive_frame(decoder, frame) == 0)
        {
            ++clip.Frames;
            clip.Width = frame->width;
            clip.Height = frame->height;
            if (first < 0)
                first = frame->best_effort_timestamp;
            last = frame->best_effort_timestamp;
        }
    };
    while (av_read_frame(input, packet) >= 0)
    {
        avcodec_send_packet(decoder, packet);
        av_packet_unref(packet);
        drain();
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    clip.Seconds = static_cast<double>(last - first) * av_q2d(stream->time_base);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&input);
    return clip;
}

std::unique_ptr<ClipRecorder> MakeRecorder()
{
    QString error;
    const StreamModuleFunctions* module = LoadStreamModule(QStringLiteral(VANTU_STREAM_MODULE), &error);
    EXPECT_NE(module, nullptr) << error.toStdString();
    return module != nullptr ? module->CreateClipRecorder(64 * 1024 * 1024) : nullptr;
}
} // namespace

TEST(ClipRecorder, AClipRunsFromThePreEventTimeToItsEndAtTheSourcesSize)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Event_2026-01-01_10-00-00.mkv"));
    std::unique_ptr<ClipRecorder> recorder = MakeRecorder();
    ASSERT_NE(recorder, nullptr);
    EXPECT_EQ(recorder->EncoderName(), QStringLiteral("libx264")) << "this machine's FFmpeg has H.264";
    recorder->SetPreMilliseconds(2000);
    ScriptedFrames frames;
    frames.Feed(*recorder, 100); // four seconds before the event, of which two are kept
    QString error;
    ASSERT_TRUE(recorder->Start(path, frames.Now() - 2000, &error)) << error.toStdString();
    frames.Feed(*recorder, 50);
    ASSERT_TRUE(recorder->Stop(&error)) << error.toStdString();

    const ReadBack clip = Read(path);
    EXPECT_EQ(clip.Width, Width);
    EXPECT_EQ(clip.Height, Height);
    EXPECT_EQ(clip.Frames, 100) << "two seconds before the start and two after, at 25 frames a second";
    EXPECT_NEAR(clip.Seconds, 3.96, 0.01);
}

TEST(ClipRecorder, AnOddSizedSourceIsRecordedWithoutItsLastColumnAndItsTopRow)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Event_2026-01-01_10-00-00.mkv"));
    std::unique_ptr<ClipRecorder> recorder = MakeRecorder();
    ASSERT_NE(recorder, nullptr);
    ScriptedFrames frames(Width + 1, Height + 1);
    frames.Feed(*recorder, 1);
    QString error;
    ASSERT_TRUE(recorder->Start(path, 0, &error)) << error.toStdString();
    frames.Feed(*recorder, 24);
    ASSERT_TRUE(recorder->Stop(&error)) << error.toStdString();
    const ReadBack clip = Read(path);
    EXPECT_EQ(clip.Width, Width);
    EXPECT_EQ(clip.Height, Height);
    EXPECT_EQ(clip.Frames, 25);
}

TEST(ClipRecorder, AClipStaysReadableUpToItsLastSecondWhenTheWriterIsKilled)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Event_2026-01-01_10-00-00.mkv"));
    std::unique_ptr<ClipRecorder> recorder = MakeRecorder();
    ASSERT_NE(recorder, nullptr);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
    {
        QString error;
        ScriptedFrames frames;
        frames.Feed(*recorder, 1);
        if (!recorder->Start(path, 0, &error))
            ::_exit(1);
        frames.Feed(*recorder, 124); // five seconds, then the power goes
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const ReadBack clip = Read(path);
    EXPECT_EQ(clip.Width, Width);
    EXPECT_GE(clip.Frames, 95) << "at most the last second is lost";
    EXPECT_GE(clip.Seconds, 3.7);
}

TEST(ClipRecorder, MonitoringRecordsFromThePreEventTimeBeforeTheFirstDetectionToThePostEventTimeAfterTheLast)
{
    const QTemporaryDir dir;
    SettingsRecord settings;
    settings.ImageDirectory = dir.path() + QChar('/');
    ProgramOptions options;
    options.Clips = true;
    options.PreSeconds = 1;
    options.PostSeconds = 1;
    QStringList notices;
    ClipRecording clips({settings, options, QStringLiteral(VANTU_STREAM_MODULE),
                         [](QString*) { return true; }, [&](const QString& text) { notices << text; }});
    DibFrame frame;
    frame.Resize(Width, Height);
    const QDateTime start(QDate(2026, 1, 1), QTime(10, 0, 0));
    for (int i = 0; i < 150; ++i)
    {
        std::fill(frame.Bits.begin(), frame.Bits.end(), static_cast<std::uint8_t>(i));
        frame.TimeCaptured = static_cast<std::uint32_t>(i * FrameMs);
        clips.Frame(frame);
        // Detections at 2.0 s and 2.4 s: the clip runs from 1.0 s to 3.4 s.
        if (i == 50 || i == 60)
            clips.Detected(start.addMSecs(i * FrameMs));
        clips.WaitForWorker();
    }
    clips.Stop();
    clips.WaitForWorker();
    EXPECT_TRUE(notices.isEmpty()) << notices.join(QChar('\n')).toStdString();
    const QStringList names = QDir(dir.path()).entryList({QStringLiteral("*.mkv")});
    ASSERT_EQ(names, QStringList{QStringLiteral("Event_2026-01-01_10-00-02.mkv")});
    const ReadBack clip = Read(dir.filePath(names[0]));
    EXPECT_EQ(clip.Frames, 61);
    EXPECT_NEAR(clip.Seconds, 2.4, 0.01);
}
