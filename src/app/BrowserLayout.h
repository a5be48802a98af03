#pragma once

#include <QRect>
#include <QSize>

// The window's size in View mode, in twips: the size at which the browser's design places hold.
constexpr int BrowserWindowWidthTwips = 5025;
constexpr int BrowserWindowHeightTwips = 3615;

// The places of the browser's list, picture and information line.
struct BrowserLayout
{
    QRect List;
    QRect Picture;
    QRect Info;
};

// The browser's places in a window of the given size. Up to the View mode size the design places
// hold; beyond it the list and the picture take the extra height, the information line stays under
// the picture, and the extra width goes to the list as far as its widest entry needs (at most half of
// it) and to the picture for the rest.
BrowserLayout GrowBrowser(const BrowserLayout& design, QSize designWindow, QSize window, int listWanted);
