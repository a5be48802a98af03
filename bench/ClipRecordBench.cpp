// Measures event clip recording next to decoding: for 768x576 and 1920x1080 frames of a moving scene,
// the processor time per frame of
// - keeping a frame before an event (conversion to 4:2:0),
// - recording a frame into a clip (conversion, H.264 or MPEG-4 encoding and Matroska writing),
// - decoding a frame of the clip just made, as a network camera or video file source does, with its
//   conversion to a bitmap (the decoder alone);
// and the private memory of the process while it records at each size, next to the goal of 25 MB
// plus the pre-event buffer.
//
// Usage: ClipRecordBench

#include "capture/stream/StreamModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <vector>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace
{
constexpr int Frames = 150;

double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

long PrivateKilobytes()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    long total = 0;
    for (const QByteArray& line : rollup.readAll().split('\n'))
        if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
            total += line.mid(14).trimmed().split(' ').first().toLong();
    return total;
}

// A scene with a person-sized block walking across a textured background, bottom-up BGR rows.
std::vector<std::uint8_t> SceneFrame(int width, int height, int number)
{
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * height);
    const int walker = (number * width / Frames) % width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint8_t* pixel = bits.data() + static_cast<std::size_t>(y) * stride + x * 3;
            const bool person = x >= walker && x < walker + width / 10 && y > height / 4;
            const int texture = ((x / 8) ^ (y / 8)) & 15;
            pixel[0] = static_cast<std::uint8_t>(person ? 40 : 100 + texture * 4);
            pixel[1] = static_cast<std::uint8_t>(person ? 60 : 110 + x * 60 / width);
            pixel[2] = static_cast<std::uint8_t>(person ? 160 : 90 + y * 60 / height);
        }
    return bits;
}

// Decodes the clip at path and converts each picture to a bitmap; the processor time per frame.
double DecodeMsPerFrame(const QString& path)
{
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return -1;
    avformat_find_stream_info(input, nullptr);
    const AVCodec* codec = avcodec_find_decoder(input->streams[0]->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, input->streams[0]->codecpar);
    decoder->thread_count = 1;
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* picture = av_frame_alloc();
    SwsContext* scaler = nullptr;
    std::vector<std::uint8_t> bitmap;
    int decoded = 0;
    const double start = CpuMs();
    const auto drain = [&]
    {
        while (avcodec_receive_frame(decoder, picture) == 0)
        {
            scaler = sws_getCachedContext(
                scaler, picture->width, picture->height, static_cast<AVPixelFormat>(picture->format),
                picture->width, picture->height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
            bitmap.resize(static_cast<std::size_t>(picture->width) * picture->height * 3);
            std::uint8_t* rows[1] = {bitmap.data()};
            const int strides[1] = {picture->width * 3};
            sws_scale(scaler, picture->data, picture->linesize, 0, picture->height, rows, strides);
            ++decoded;
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
    const double elapsed = CpuMs() - start;
    sws_freeContext(scaler);
    av_frame_free(&picture);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&input);
    return decoded > 0 ? elapsed / decoded : -1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long before = PrivateKilobytes();
    QString error;
    const StreamModuleFunctions* module = LoadStreamModule(QStringLiteral(VANTU_STREAM_MODULE), &error);
    if (module == nullptr)
    {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    av_log_set_level(AV_LOG_ERROR);
    const long loaded = PrivateKilobytes();
    std::printf("private memory: %ld KB before the module, %ld KB with it loaded\n", before, loaded);
    const QTemporaryDir dir;
    for (const auto& [width, height] : {std::pair{768, 576}, std::pair{1920, 1080}})
    {
        std::vector<std::vector<std::uint8_t>> frames;
        for (int i = 0; i < Frames; ++i)
            frames.push_back(SceneFrame(width, height, i));
        const int stride = (width * 3 + 3) & ~3;
        const std::unique_ptr<ClipRecorder> recorder = module->CreateClipRecorder(64 * 1024 * 1024);
        recorder->SetPreMilliseconds(2000);
        double start = CpuMs();
        for (int i = 0; i < Frames; ++i)
            recorder->Frame(frames[i].data(), width, height, stride, std::int64_t{i} * 40);
        const double keepMs = (CpuMs() - start) / Frames;
        const long buffered = PrivateKilobytes();

        const QString path = dir.filePath(QStringLiteral("clip_%1.mkv").arg(width));
        if (!recorder->Start(path, std::int64_t{Frames} * 40, &error))
        {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        long recording = 0;
        start = CpuMs();
        for (int i = 0; i < Frames; ++i)
        {
            recorder->Frame(frames[i].data(), width, height, stride, std::int64_t{Frames + i} * 40);
            if (i == Frames / 2)
                recording = PrivateKilobytes();
        }
        const double recordMs = (CpuMs() - start) / Frames;
        recorder->Stop(&error);
        const long frameKb = static_cast<long>(frames.size() * frames[0].size() / 1024);
        std::printf("%dx%d %s: keep %.2f ms/frame, record %.2f ms/frame, decode alone %.2f ms/frame; "
                    "private memory with the buffer full %ld KB, recording %ld KB (the scripted frames take "
                    "%ld KB of it), clip %lld KB\n",
                    width, height, qPrintable(recorder->EncoderName()), keepMs, recordMs,
                    DecodeMsPerFrame(path), buffered - loaded - frameKb, recording - loaded - frameKb,
                    frameKb, QFile(path).size() / 1024);
    }
    return 0;
}
