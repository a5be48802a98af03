#include "ui/Pictures.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with one application object on the offscreen platform.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InitVantuResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
