#include "capture/v4l2/V4l2Text.h"

namespace
{
bool Printable(char c)
{
    return c > ' ' && c < 0x7f;
}
} // namespace

QString FourCcText(std::uint32_t code)
{
    QString text;
    bool blankSeen = false;
    for (int i = 0; i < 4; ++i)
    {
        const char c = static_cast<char>((code >> (8 * i)) & 0xff);
        if (c == ' ')
        {
            blankSeen = true;
            continue;
        }
        // Only trailing blanks can be left off and restored; anything else is written as a number.
        if (!Printable(c) || blankSeen)
            return QStringLiteral("0x%1").arg(code, 8, 16, QChar('0'));
        text += QChar(c);
    }
    return text;
}

std::uint32_t FourCcFromText(const QString& text)
{
    if (text.startsWith(QStringLiteral("0x")))
    {
        bool ok = false;
        const std::uint32_t code = text.mid(2).toUInt(&ok, 16);
        return ok ? code : 0;
    }
    if (text.isEmpty() || text.size() > 4)
        return 0;
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i)
    {
        const char c = i < text.size() ? text.at(i).toLatin1() : ' ';
        if (i < text.size() && !Printable(c))
            return 0;
        code |= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << (8 * i);
    }
    return code;
}
