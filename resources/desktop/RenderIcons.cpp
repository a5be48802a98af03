// Renders the program's picture as the PNG icons of the desktop's icon theme, one file per size:
//   vantu_render_icons picture.svg output-folder size...
// writes output-folder/vantu-<size>.png for each size.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: %s picture.svg output-folder size...\n", argv[0]);
        return 2;
    }
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    if (!picture.isValid())
    {
        std::fprintf(stderr, "%s: %s is not a picture it can read\n", argv[0], argv[1]);
        return 1;
    }
    for (int index = 3; index < argc; ++index)
    {
        const int size = QString::fromLocal8Bit(argv[index]).toInt();
        if (size <= 0)
        {
            std::fprintf(stderr, "%s: %s is not a size\n", argv[0], argv[index]);
            return 2;
        }
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        picture.render(&painter);
        painter.end();
        const QString path = QStringLiteral("%1/vantu-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (!icon.save(path))
        {
            std::fprintf(stderr, "%s: could not write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
