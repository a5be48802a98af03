#include "app/BrowserLayout.h"

#include <algorithm>

BrowserLayout GrowBrowser(const BrowserLayout& design, QSize designWindow, QSize window, int listWanted)
{
    const int wider = std::max(0, window.width() - designWindow.width());
    const int taller = std::max(0, window.height() - designWindow.height());
    const int listWider = std::clamp(listWanted - design.List.width(), 0, wider / 2);
    const int pictureWider = wider - listWider;

    BrowserLayout grown = design;
    grown.List.adjust(0, 0, listWider, taller);
    grown.Picture.adjust(listWider, 0, listWider + pictureWider, taller);
    grown.Info.adjust(listWider, taller, listWider + pictureWider, taller);
    return grown;
}
