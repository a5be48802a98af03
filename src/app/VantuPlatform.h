#pragma once

class IAppDirectory;
class IClock;
class IMessageBox;
class IMousePointer;

// The platform services the main window works through: real ones in the program, fakes in tests.
struct VantuPlatform
{
    IAppDirectory& AppDirectory;
    IMessageBox& Messages;
    IClock& Clock;
    IMousePointer& Pointer;
};
