#include "settings/SettingsCodec.h"

#include "common/AnsiText.h"

#include <QtEndian>
#include <bit>
#include <cstring>
#include <limits>

namespace
{
class RecordWriter
{
public:
    void Integer(std::int16_t value) { Raw(qToLittleEndian(value)); }
    void Long(std::int32_t value) { Raw(qToLittleEndian(value)); }
    void Double(double value) { Raw(qToLittleEndian(std::bit_cast<std::uint64_t>(value))); }

    // The length word holds at most 65535 bytes; a longer text is cut at a character boundary.
    void Text(const QString& value)
    {
        QByteArray bytes = EncodeAnsi(value);
        if (bytes.size() > std::numeric_limits<std::uint16_t>::max())
        {
            qsizetype end = std::numeric_limits<std::uint16_t>::max();
            while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
                --end;
            bytes.truncate(end);
        }
        Raw(qToLittleEndian(static_cast<std::uint16_t>(bytes.size())));
        out_.append(bytes);
    }

    QByteArray Take() { return std::move(out_); }

private:
    template <typename T> void Raw(T value)
    {
        out_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }

    QByteArray out_;
};

class RecordReader
{
public:
    explicit RecordReader(const QByteArray& bytes) : bytes_(bytes) {}

    std::int16_t Integer() { return Raw<std::int16_t>(); }
    std::int32_t Long() { return Raw<std::int32_t>(); }
    double Double() { return std::bit_cast<double>(Raw<std::uint64_t>()); }

    QString Text()
    {
        const std::uint16_t length = Raw<std::uint16_t>();
        const qsizetype available = std::min<qsizetype>(length, bytes_.size() - pos_);
        if (available < length)
            short_ = true;
        const QString text = DecodeAnsi(QByteArrayView(bytes_).sliced(pos_, available));
        pos_ += available;
        return text;
    }

    // Whether a field ran past the end of the bytes.
    bool Short() const { return short_; }

private:
    // A number that the bytes reach only in part is read as zero, like one they don't reach at all.
    template <typename T> T Raw()
    {
        T value{};
        if (bytes_.size() - pos_ < static_cast<qsizetype>(sizeof(T)))
        {
            pos_ = bytes_.size();
            short_ = true;
            return value;
        }
        std::memcpy(&value, bytes_.constData() + pos_, sizeof(T));
        pos_ += static_cast<qsizetype>(sizeof(T));
        return qFromLittleEndian(value);
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    bool short_ = false;
};
} // namespace

QByteArray EncodeSettings(const SettingsRecord& r)
{
    RecordWriter w;
    w.Integer(r.AutoConnect);
    w.Text(r.Reserved1);
    w.Integer(r.SettingsLoaded);
    w.Double(r.Sensitivity);
    w.Long(r.MaxFiles);
    w.Integer(r.SoundNotify);
    w.Text(r.ImageDirectory);
    w.Text(r.NotifyFile);
    w.Integer(r.SaveImage);
    w.Integer(r.EmailNotify);
    w.Text(r.EmailAddress);
    w.Text(r.POPServer);
    w.Text(r.POPUser);
    w.Text(r.POPPassword);
    w.Text(r.DeviceName);
    w.Text(r.LogFile);
    w.Integer(r.WriteLogFile);
    w.Long(r.LogMaxSize);
    return w.Take();
}

SettingsRecord DecodeSettings(const QByteArray& bytes, bool* complete)
{
    RecordReader in(bytes);
    SettingsRecord r;
    r.AutoConnect = in.Integer();
    r.Reserved1 = in.Text();
    r.SettingsLoaded = in.Integer();
    r.Sensitivity = in.Double();
    r.MaxFiles = in.Long();
    r.SoundNotify = in.Integer();
    r.ImageDirectory = in.Text();
    r.NotifyFile = in.Text();
    r.SaveImage = in.Integer();
    r.EmailNotify = in.Integer();
    r.EmailAddress = in.Text();
    r.POPServer = in.Text();
    r.POPUser = in.Text();
    r.POPPassword = in.Text();
    r.DeviceName = in.Text();
    r.LogFile = in.Text();
    r.WriteLogFile = in.Integer();
    r.LogMaxSize = in.Long();
    if (complete != nullptr)
        *complete = !in.Short();
    return r;
}
