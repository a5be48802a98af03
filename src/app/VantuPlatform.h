#pragma once

class IAppDirectory;
class IClock;
class IMessageBox;
class IMousePointer;
class INetworkConnection;
class ISoundPlayer;
class MailComponent;

// The platform services the main window works through: real ones in the program, fakes in tests.
struct VantuPlatform
{
    IAppDirectory& AppDirectory;
    IMessageBox& Messages;
    IClock& Clock;
    IMousePointer& Pointer;
    ISoundPlayer& Sound;
    MailComponent& Mail;
    INetworkConnection& Connection;
};
