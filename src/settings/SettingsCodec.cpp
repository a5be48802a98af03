#include "settings/SettingsCodec.h"

#include "common/AnsiText.h"

#include <QChar>
#include <QString>
#include <QtEndian>
#include <algorithm>
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

    void Integer(std::int16_t& field) { Raw(field); }
    void Long(std::int32_t& field) { Raw(field); }
    void Double(double& field)
    {
        std::uint64_t bits = std::bit_cast<std::uint64_t>(field);
        Raw(bits);
        field = std::bit_cast<double>(bits);
    }

    // NUL pads a text and is kept. Any other control character means that the bytes are not a record
    // the program wrote: the text is read as empty, and the fields after it, whose places depend on
    // its length word, are not read at all.
    void Text(QString& field)
    {
        std::uint16_t length = 0;
        if (!Raw(length))
            return;
        if (bytes_.size() - pos_ < length)
        {
            Stop();
            return;
        }
        const QString text = DecodeAnsi(QByteArrayView(bytes_).sliced(pos_, length));
        pos_ += length;
        const bool garbled =
            std::any_of(text.cbegin(), text.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control && c != QChar(0); });
        if (!garbled)
        {
            field = text;
            return;
        }
        field.clear();
        Stop();
    }

    // Whether every field was there in full and every text was sound.
    bool Intact() const { return !stopped_; }

private:
    // A field that the bytes reach only in part is not read, nor is any field after it.
    template <typename T> bool Raw(T& field)
    {
        if (bytes_.size() - pos_ < static_cast<qsizetype>(sizeof(T)))
        {
            Stop();
            return false;
        }
        T value{};
        std::memcpy(&value, bytes_.constData() + pos_, sizeof(T));
        pos_ += static_cast<qsizetype>(sizeof(T));
        field = qFromLittleEndian(value);
        return true;
    }

    void Stop()
    {
        pos_ = bytes_.size();
        stopped_ = true;
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    bool stopped_ = false;
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

SettingsRecord DecodeSettings(const QByteArray& bytes, SettingsRecord r, bool* intact)
{
    RecordReader in(bytes);
    in.Integer(r.AutoConnect);
    in.Text(r.Reserved1);
    in.Integer(r.SettingsLoaded);
    in.Double(r.Sensitivity);
    in.Long(r.MaxFiles);
    in.Integer(r.SoundNotify);
    in.Text(r.ImageDirectory);
    in.Text(r.NotifyFile);
    in.Integer(r.SaveImage);
    in.Integer(r.EmailNotify);
    in.Text(r.EmailAddress);
    in.Text(r.POPServer);
    in.Text(r.POPUser);
    in.Text(r.POPPassword);
    in.Text(r.DeviceName);
    in.Text(r.LogFile);
    in.Integer(r.WriteLogFile);
    in.Long(r.LogMaxSize);
    if (intact != nullptr)
        *intact = in.Intact();
    return r;
}
