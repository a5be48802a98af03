#include "capture/stream/StreamFormatDialog.h"
#include "capture/stream/StreamSourceDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{
template <typename Widget> Widget* Child(QDialog& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
} // namespace

TEST(StreamSourceDialog, ShowsTheSettingsAndReturnsWhatTheUserEntered)
{
    const StreamSettings current{QStringLiteral("rtsp://cam/one"), StreamTransport::Udp, QSize(320, 240)};
    StreamSourceDialog dialog(current, [](const StreamSettings&, QString*) { return true; });
    auto* location = Child<QLineEdit>(dialog, "txtLocation");
    auto* transport = Child<QComboBox>(dialog, "cmboTransport");
    ASSERT_TRUE(location && transport);
    EXPECT_EQ(location->text(), current.Location);
    EXPECT_EQ(transport->currentText(), QStringLiteral("UDP"));
    EXPECT_EQ(dialog.Chosen(), current);
    // Every label's "&" marks its access key, none is shown as a character.
    for (const QLabel* label : dialog.findChildren<QLabel*>())
    {
        if (label->text().contains(QChar('&')))
        {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }

    location->setText(QStringLiteral("  http://cam/two.mjpg "));
    transport->setCurrentIndex(transport->findText(QStringLiteral("TCP")));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const StreamSettings chosen = dialog.Chosen();
    EXPECT_EQ(chosen.Location, QStringLiteral("http://cam/two.mjpg"));
    EXPECT_EQ(chosen.Transport, StreamTransport::Tcp);
    EXPECT_EQ(chosen.Size, QSize(320, 240));
}

TEST(StreamSourceDialog, KeepsItselfOpenAndExplainsWhenTheSourceCannotBeUsed)
{
    int checks = 0;
    QString checked;
    StreamSourceDialog dialog(StreamSettings{},
                              [&](const StreamSettings& chosen, QString* error)
                              {
                                  ++checks;
                                  checked = chosen.Location;
                                  if (chosen.Location.contains(QStringLiteral("good")))
                                      return true;
                                  *error = QStringLiteral("Vantu could not open rtsp://admin@cam/bad.");
                                  return false;
                              });
    auto* location = Child<QLineEdit>(dialog, "txtLocation");
    ASSERT_NE(location, nullptr);

    location->setText(QStringLiteral("rtsp://admin:pw@cam/bad"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(dialog.Message(), QStringLiteral("Vantu could not open rtsp://admin@cam/bad."));

    location->setText(QStringLiteral("rtsp://cam/good"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(checked, QStringLiteral("rtsp://cam/good"));
    EXPECT_TRUE(dialog.Message().isEmpty());

    // An empty location clears the source; there is nothing to check.
    dialog.setResult(QDialog::Rejected);
    location->setText(QStringLiteral("   "));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(checks, 2);
    EXPECT_TRUE(dialog.Chosen().Location.isEmpty());
}

TEST(StreamSourceDialog, BrowsePutsThePickedFileIntoTheLocation)
{
    StreamSourceDialog dialog(
        StreamSettings{QStringLiteral("/srv/videos/old.avi"), StreamTransport::Tcp, QSize()}, {});
    QString startedIn;
    QString answer = QStringLiteral("/srv/videos/new.mkv");
    dialog.SetFilePicker(
        [&](QWidget*, const QString& folder)
        {
            startedIn = folder;
            return answer;
        });
    auto* browse = Child<QPushButton>(dialog, "cmdBrowse");
    auto* location = Child<QLineEdit>(dialog, "txtLocation");
    ASSERT_TRUE(browse && location);
    EXPECT_EQ(browse->text(), QStringLiteral("Browse..."));

    browse->click();
    EXPECT_EQ(location->text(), QStringLiteral("/srv/videos/new.mkv"));

    answer.clear(); // the user cancels the picker
    browse->click();
    EXPECT_EQ(location->text(), QStringLiteral("/srv/videos/new.mkv"));
}

TEST(StreamFormatDialog, SaysWhatTheSourceOffersAndOffersItsSizes)
{
    const StreamInfo info{QStringLiteral("Motion JPEG"), QSize(640, 480), 25};
    StreamFormatDialog dialog(info, QSize());
    auto* source = Child<QLabel>(dialog, "lblSource");
    auto* sizes = Child<QComboBox>(dialog, "cmboSize");
    ASSERT_TRUE(source && sizes);
    EXPECT_EQ(
        source->text(),
        QStringLiteral("The source offers: Motion JPEG video, 640 x 480 pixels, 25 frames per second."));
    QStringList texts;
    for (int i = 0; i < sizes->count(); ++i)
        texts << sizes->itemText(i);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("640 x 480 (the source's own size)"),
                                  QStringLiteral("320 x 240"), QStringLiteral("160 x 120")}));
    EXPECT_EQ(sizes->currentIndex(), 0);
    EXPECT_EQ(dialog.ChosenSize(), QSize());
    sizes->setCurrentIndex(2);
    EXPECT_EQ(dialog.ChosenSize(), QSize(160, 120));
}

TEST(StreamFormatDialog, SelectsTheSizeChosenBeforeEvenWhenItIsNotOffered)
{
    const StreamInfo info{QStringLiteral("Motion JPEG"), QSize(640, 480), 0};
    StreamFormatDialog offered(info, QSize(320, 240));
    EXPECT_EQ(offered.ChosenSize(), QSize(320, 240));

    StreamFormatDialog other(info, QSize(100, 50));
    EXPECT_EQ(other.ChosenSize(), QSize(100, 50));
}

TEST(StreamFormatDialog, DescribesWhatIsKnownOfTheSource)
{
    const std::pair<StreamInfo, QString> cases[] = {
        {{QStringLiteral("H.264"), QSize(1920, 1080), 29.97},
         QStringLiteral("H.264 video, 1920 x 1080 pixels, 29.97 frames per second")},
        {{QStringLiteral("Motion JPEG"), QSize(66, 50), 12.5},
         QStringLiteral("Motion JPEG video, 66 x 50 pixels, 12.5 frames per second")},
        {{QString(), QSize(), 0}, QStringLiteral("Unknown video, size not known yet, frame rate not given")},
    };
    for (const auto& [info, text] : cases)
        EXPECT_EQ(DescribeStreamSource(info), text);
}
