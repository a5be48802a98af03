#pragma once

#include "app/CaptureLayout.h"

#include <QSize>
#include <QString>
#include <vector>

class CaptureWindow;
class QMainWindow;
struct frmVantuUi;

// The live view's size and the main window's place. The window takes the size the picture needs, but
// never grows past the screen: a larger picture is shown smaller, keeping its proportions. With
// scaling on, a window the user made smaller shows the whole picture smaller. The window's place on
// the screen is kept in the capture settings across runs.
class LiveViewPlacement
{
public:
    LiveViewPlacement(QMainWindow& window, frmVantuUi& ui) : window_(window), ui_(ui) {}

    // Sizes the capture window, the "Live View" frame, the status picture and the main window for the
    // picture lwnd delivers.
    void FitToVideo(CaptureWindow* lwnd);
    // Shrinks the capture area to the window's size, when the picture is scaled and on screen.
    void FitToWindow(CaptureWindow* lwnd);

    void RestorePosition();
    // False, with the reason, when the place could not be kept.
    bool SavePosition(QString* error);

private:
    // Sizes the "Live View" frame and the status picture around a capture area of the size given.
    CaptureLayout ApplyLayout(QSize shown);
    // The main window's size around a capture area of the size given.
    QSize WindowSizeFor(QSize shown) const;

    QMainWindow& window_;
    frmVantuUi& ui_;
};

// The whole numbers kept under key in the capture settings, written with commas between them; empty
// unless the value holds exactly count of them.
std::vector<int> KeptNumbers(const QString& key, std::size_t count);
