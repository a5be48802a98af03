#pragma once

// What the program sees of video capture: one capture window per program, driven by the requests of
// modAVICAP, and three callbacks through which it hands out frames, errors and status changes.

#include <cstdint>
#include <functional>

class CaptureWindow;
class QWidget;

// Window style of the capture window: a visible child.
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;

// What a connected driver can do. The program reads the device index and the three dialog flags.
struct CAPDRIVERCAPS
{
    std::uint32_t wDeviceIndex;
    std::int32_t fHasOverlay;
    std::int32_t fHasDlgVideoSource;
    std::int32_t fHasDlgVideoFormat;
    std::int32_t fHasDlgVideoDisplay;
    std::int32_t fCaptureInitialized;
    std::int32_t fDriverSuppliesPalettes;
    std::uint32_t hVideoIn;
    std::uint32_t hVideoOut;
    std::uint32_t hVideoExtIn;
    std::uint32_t hVideoExtOut;
};
static_assert(sizeof(CAPDRIVERCAPS) == 44);

// The capture window's state. The program reads the size of the current video format.
struct CAPSTATUS
{
    std::uint32_t uiImageWidth;
    std::uint32_t uiImageHeight;
    std::int32_t fLiveWindow;
    std::int32_t fOverlayWindow;
    std::int32_t fScale;
    std::int32_t ptScrollX;
    std::int32_t ptScrollY;
    std::int32_t fUsingDefaultPalette;
    std::int32_t fAudioHardware;
    std::int32_t fCapFileExists;
    std::uint32_t dwCurrentVideoFrame;
    std::uint32_t dwCurrentVideoFramesDropped;
    std::uint32_t dwCurrentWaveSamples;
    std::uint32_t dwCurrentTimeElapsedMS;
    std::uint32_t hPalCurrent;
    std::int32_t fCapturingNow;
    std::uint32_t dwReturn;
    std::uint32_t wNumVideoAllocated;
    std::uint32_t wNumAudioAllocated;
};
static_assert(sizeof(CAPSTATUS) == 76);

// One frame handed to the frame callback: dwBytesUsed bytes at lpData, 24-bit bottom-up bitmap rows
// (blue, green, red), each row padded to a multiple of four bytes.
struct VIDEOHDR
{
    std::uint8_t* lpData;
    std::uint32_t dwBufferLength;
    std::uint32_t dwBytesUsed;
    std::uint32_t dwTimeCaptured;
    std::uintptr_t dwUser;
    std::uint32_t dwFlags;
    std::uintptr_t dwReserved[4];
};

constexpr std::uint32_t VHDR_DONE = 0x00000001;
constexpr std::uint32_t VHDR_KEYFRAME = 0x00000008;

// Callbacks. Installing an empty callback removes the one installed.
using CAPVIDEOCALLBACK = std::function<std::intptr_t(CaptureWindow* window, VIDEOHDR* header)>;
using CAPERRORCALLBACK =
    std::function<std::intptr_t(CaptureWindow* window, std::int32_t id, const char* text)>;
using CAPSTATUSCALLBACK = CAPERRORCALLBACK;
// The yield, video-stream, wave-stream and capture-control callbacks: installed only to clear them.
using CAPOTHERCALLBACK = std::function<std::intptr_t(CaptureWindow* window)>;

// Creates the capture window as a child of parent. Returns null on failure.
CaptureWindow* capCreateCaptureWindowA(const char* windowName, std::uint32_t style, int x, int y, int width,
                                       int height, QWidget* parent, int id);

// Fills the NUL-terminated name and version of the installed driver at driverIndex (0 to 9) and
// returns true, or returns false when there is no driver with that index.
bool capGetDriverDescriptionA(std::uint16_t driverIndex, char* name, int nameSize, char* version,
                              int versionSize);
