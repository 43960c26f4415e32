#include "engine/DirectX.h"

#include <cstdio>

#include "engine/CriticalError.h"

namespace {

constexpr uint32_t DirectDraw(uint32_t code) {
    return 0x88760000u + code;
}
constexpr uint32_t DirectPlay(uint32_t code) {
    return 0x88770000u + code;
}
constexpr uint32_t DirectSound(uint32_t code) {
    return 0x88780000u + code;
}

struct ErrorText {
    uint32_t result;
    const char* text;
};

// Several facilities share the general COM codes; each value has one text.
constexpr ErrorText kErrorTexts[] = {
    {0x00000000u, "The request completed successfully."},
    // General COM results.
    {0x80004001u, "The function is not implemented."},
    {0x80004002u, "The requested interface is not supported."},
    {0x80004003u, "An invalid pointer was passed."},
    {0x80004005u, "An undetermined error occurred."},
    {0x8000000Au, "The operation is still pending."},
    {0x80040110u, "This object does not support aggregation."},
    {0x80040154u, "The class is not registered."},
    {0x80070005u, "Access is denied; another application may have priority."},
    {0x8007000Eu, "There is not enough memory to perform the operation."},
    {0x80070057u, "One or more arguments are invalid."},
    // DirectInput results built from system error codes.
    {0x80070002u, "The requested object does not exist."},
    {0x8007000Cu, "The device is not acquired."},
    {0x80070015u, "The object has not been initialized."},
    {0x8007001Eu, "Access to the input device has been lost; it must be reacquired."},
    {0x80070077u, "The installed device driver is not compatible."},
    {0x800700AAu, "The operation cannot be performed while the device is acquired."},
    {0x8007047Eu, "The application requires a newer version of DirectInput."},
    {0x80070481u,
     "The application was written for an unsupported prerelease version of DirectInput."},
    {0x800704DFu, "The object is already initialized."},
    // DirectDraw.
    {DirectDraw(5), "The object has already been initialized."},
    {DirectDraw(10), "The surface cannot be attached."},
    {DirectDraw(20), "The surface cannot be detached."},
    {DirectDraw(40), "Support is currently not available."},
    {DirectDraw(55), "An exception was encountered while performing the operation."},
    {DirectDraw(90), "The height of the rectangle is not a multiple of the required alignment."},
    {DirectDraw(95),
     "The primary surface creation request does not match the existing primary surface."},
    {DirectDraw(100), "The capabilities passed are invalid."},
    {DirectDraw(110), "DirectDraw does not support the provided clip list."},
    {DirectDraw(120), "DirectDraw does not support the requested mode."},
    {DirectDraw(130), "DirectDraw received a pointer that was an invalid object."},
    {DirectDraw(145), "The pixel format was invalid as specified."},
    {DirectDraw(150), "The rectangle provided was invalid."},
    {DirectDraw(160),
     "The operation cannot be carried out because one or more surfaces are locked."},
    {DirectDraw(170), "There is no 3-D hardware present."},
    {DirectDraw(180), "There is no alpha acceleration hardware present or available."},
    {DirectDraw(205), "No clip list is available."},
    {DirectDraw(210),
     "The operation cannot be carried out because no color-conversion hardware is present."},
    {DirectDraw(212), "The cooperative level has not been set."},
    {DirectDraw(215), "The surface does not currently have a color key."},
    {DirectDraw(220), "There is no hardware support for the destination color key."},
    {DirectDraw(222), "There is no DirectDraw support possible with the current display driver."},
    {DirectDraw(225), "The operation requires the application to have exclusive mode."},
    {DirectDraw(230), "Flipping visible surfaces is not supported."},
    {DirectDraw(240), "There is no GDI present."},
    {DirectDraw(250), "There is no mirroring hardware present or available."},
    {DirectDraw(255), "The requested item was not found."},
    {DirectDraw(260), "There is no overlay hardware present or available."},
    {DirectDraw(280), "There is no appropriate raster-operation hardware present or available."},
    {DirectDraw(290), "There is no rotation hardware present or available."},
    {DirectDraw(310), "There is no hardware support for stretching."},
    {DirectDraw(316), "The surface is not using a 4-bit color palette."},
    {DirectDraw(317), "The surface is not using a 4-bit color index palette."},
    {DirectDraw(320), "The operation requires an 8-bit color palette."},
    {DirectDraw(330), "There is no texture-mapping hardware present or available."},
    {DirectDraw(335), "There is no hardware support for vertical blank-synchronized operations."},
    {DirectDraw(340), "There is no z-buffer hardware present or available."},
    {DirectDraw(350), "The overlay surfaces cannot be z-layered by hardware."},
    {DirectDraw(360), "The hardware needed for the operation has already been allocated."},
    {DirectDraw(380), "DirectDraw does not have enough display memory to perform the operation."},
    {DirectDraw(382), "The hardware does not support clipped overlays."},
    {DirectDraw(384), "Only one color key can be active on an overlay."},
    {DirectDraw(387), "Access to the palette is denied because it is in use by another thread."},
    {DirectDraw(400), "No source color key is specified for the operation."},
    {DirectDraw(410), "The surface was already attached."},
    {DirectDraw(420), "The surface is already dependent on another surface."},
    {DirectDraw(430), "Access to the surface is refused because it is locked by another thread."},
    {DirectDraw(435), "Access to the surface is refused because an attempt was made to lock a "
                      "surface that cannot be locked."},
    {DirectDraw(440), "Access to the surface is refused because it is obscured."},
    {DirectDraw(450),
     "Access to the surface is refused because its memory is gone; it must be restored."},
    {DirectDraw(460), "The requested surface is not attached."},
    {DirectDraw(470), "The height requested by DirectDraw is too large."},
    {DirectDraw(480), "The size requested by DirectDraw is too large."},
    {DirectDraw(490), "The width requested by DirectDraw is too large."},
    {DirectDraw(510), "The pixel format requested is not supported by DirectDraw."},
    {DirectDraw(520), "The bitmask in the pixel format requested is not supported by DirectDraw."},
    {DirectDraw(537), "A vertical blank is in progress."},
    {DirectDraw(540), "The previous blit operation that is transferring information to or from "
                      "this surface is incomplete."},
    {DirectDraw(560),
     "The rectangle provided was not horizontally aligned on the required boundary."},
    {DirectDraw(561),
     "The GUID passed to DirectDrawCreate is not a valid DirectDraw driver identifier."},
    {DirectDraw(562),
     "A DirectDraw object representing this driver has already been created for this process."},
    {DirectDraw(563), "A hardware-only DirectDraw object creation was attempted but the driver did "
                      "not support any hardware."},
    {DirectDraw(564), "This process has already created a primary surface."},
    {DirectDraw(565), "Software emulation is not available."},
    {DirectDraw(566), "The region passed to the clipper is too small."},
    {DirectDraw(567),
     "An attempt was made to set a clip list for a clipper attached to a window handle."},
    {DirectDraw(568), "No clipper is attached to the surface."},
    {DirectDraw(569), "Clipper notification requires a window handle, or no window handle was set "
                      "as the cooperative level."},
    {DirectDraw(570),
     "DirectDraw is prevented from restoring state because the window handle has been subclassed."},
    {DirectDraw(571),
     "The window handle is already set for the cooperative level of another DirectDraw object."},
    {DirectDraw(572), "No palette object is attached to this surface."},
    {DirectDraw(573), "There is no hardware support for 16- or 256-color palettes."},
    {DirectDraw(574), "BltFast cannot be used on a surface with a clipper attached."},
    {DirectDraw(575), "There is no blitter hardware present."},
    {DirectDraw(576), "There is no raster-operation hardware present."},
    {DirectDraw(577), "The overlay is not visible."},
    {DirectDraw(578), "No destination has been set for the overlay."},
    {DirectDraw(579), "The position of the overlay on the destination is no longer legal."},
    {DirectDraw(580), "The surface is not an overlay surface."},
    {DirectDraw(581), "Exclusive mode has already been set by another object."},
    {DirectDraw(582), "The surface is not part of a flipping chain."},
    {DirectDraw(583),
     "Primary and 3-D surfaces, or surfaces that are implicitly created, cannot be duplicated."},
    {DirectDraw(584), "An attempt was made to unlock a surface that was not locked."},
    {DirectDraw(585), "A device context could not be created for this surface."},
    {DirectDraw(586), "No device context was ever created for this surface."},
    {DirectDraw(587), "The surface was created in a different mode and cannot be restored."},
    {DirectDraw(588),
     "The surface cannot be restored because it is an implicitly created surface."},
    {DirectDraw(589), "The surface is not palette-based."},
    {DirectDraw(590), "The display is currently in an unsupported mode."},
    {DirectDraw(591), "There is no mipmap-capable texture-mapping hardware present or available."},
    {DirectDraw(592), "The surface was of the wrong type."},
    {DirectDraw(620), "A device context has already been returned for this surface."},
    {DirectDraw(640), "The page lock failed."},
    {DirectDraw(660), "The page unlock failed."},
    {DirectDraw(680),
     "An attempt was made to page-unlock a surface with no outstanding page locks."},
    {DirectDraw(690), "There is more data available than the buffer can hold."},
    {DirectDraw(695), "The video port is not active."},
    {DirectDraw(699), "The surface is owned by another device."},
    // DirectPlay.
    {DirectPlay(5), "This object is already initialized."},
    {DirectPlay(10), "The session is full or an incorrect password was supplied."},
    {DirectPlay(20),
     "The operation cannot be performed because there are existing active players."},
    {DirectPlay(30), "The supplied buffer is not large enough to contain the requested data."},
    {DirectPlay(40), "The player cannot be added to the session."},
    {DirectPlay(50), "A new group cannot be created."},
    {DirectPlay(60), "A new player cannot be created."},
    {DirectPlay(70), "A new session cannot be created."},
    {DirectPlay(80), "The capabilities of the DirectPlay object have not been determined yet."},
    {DirectPlay(90), "An exception occurred when processing the request."},
    {DirectPlay(120), "The flags passed to this method are invalid."},
    {DirectPlay(130), "The DirectPlay object pointer is invalid."},
    {DirectPlay(150), "The player identifier is not recognized as a valid player."},
    {DirectPlay(155), "The group identifier is not recognized as a valid group."},
    {DirectPlay(160), "The communication link that DirectPlay is attempting to use is not capable "
                      "of this function."},
    {DirectPlay(170), "No communication link was established."},
    {DirectPlay(190), "There are no messages in the receive queue."},
    {DirectPlay(200), "No name server (host) could be found or created."},
    {DirectPlay(210), "There are no active players in the session."},
    {DirectPlay(220), "There are no existing sessions for this game."},
    {DirectPlay(230), "The message being sent by the Send method is too large."},
    {DirectPlay(240), "The operation could not be completed in the specified time."},
    {DirectPlay(250), "The requested function is not available at this time."},
    {DirectPlay(270), "A message cannot be sent because the transmission medium is busy."},
    {DirectPlay(280), "The user canceled the connection process."},
    {DirectPlay(290), "The server could not be created."},
    {DirectPlay(300), "A player has lost the connection to the session."},
    {DirectPlay(310), "The connection to the session has been lost."},
    {DirectPlay(320), "The requested object has not been initialized."},
    {DirectPlay(330), "No more players can be added to the session."},
    {DirectPlay(340), "An invalid password was supplied when attempting to join a session."},
    {DirectPlay(350), "The method is in the process of connecting to the network."},
    {DirectPlay(360), "The service provider connection was reset while data was being sent."},
    {DirectPlay(370), "The message identifier is not recognized."},
    {DirectPlay(380), "The message could not be canceled."},
    {DirectPlay(390), "The specified priority is not within the range of allowed priorities."},
    {DirectPlay(400), "The message was not handled."},
    {DirectPlay(410), "The operation was canceled."},
    {DirectPlay(420), "The operation was canceled before it could be completed."},
    {DirectPlay(1000), "The data buffer is too large to store."},
    {DirectPlay(1010), "The application process cannot be started."},
    {DirectPlay(1020), "The application failed to start or initialize."},
    {DirectPlay(1030), "The interface parameter is invalid."},
    {DirectPlay(1040), "The service provider is not available."},
    {DirectPlay(1050), "The application identifier is unknown."},
    {DirectPlay(1070), "The application was not started by a lobby."},
    {DirectPlay(1080), "The service provider has already been loaded."},
    {DirectPlay(1090), "The application has already been registered."},
    {DirectPlay(1100), "The application has not been registered."},
    {DirectPlay(2000), "The password or credentials supplied could not be authenticated."},
    {DirectPlay(2010), "No security support provider interface could be loaded."},
    {DirectPlay(2020), "The requested information could not be digitally encrypted."},
    {DirectPlay(2030), "The requested information could not be digitally signed."},
    {DirectPlay(2040), "No security package could be loaded."},
    {DirectPlay(2050), "No encryption service is available for the session."},
    {DirectPlay(2060), "No cryptographic application interface could be loaded."},
    {DirectPlay(2070), "The client has not logged in to the secure session."},
    {DirectPlay(2080), "The session rejected the logon credentials."},
    // DirectSound.
    {DirectSound(10),
     "The request failed because resources, such as a priority level, were already in use."},
    {DirectSound(30), "The buffer control requested by the caller is not available."},
    {DirectSound(50), "This function is not valid for the current state of this object."},
    {DirectSound(70),
     "The caller does not have the priority level required for the function to succeed."},
    {DirectSound(100), "The specified wave format is not supported."},
    {DirectSound(120), "No sound driver is available for use."},
    {DirectSound(130), "The object is already initialized."},
    {DirectSound(150), "The buffer memory has been lost and must be restored."},
    {DirectSound(160), "Another application has a higher priority level."},
    {DirectSound(170),
     "The Initialize method has not been called or has not been called successfully."},
};

} // namespace

const char* GetDirectXErrorText(int32_t result) {
    const auto code = static_cast<uint32_t>(result);
    for (const ErrorText& entry : kErrorTexts)
        if (entry.result == code)
            return entry.text;
    return "Unknown error";
}

std::string FormatDirectXError(const char* sourceFile, int line, int32_t result) {
    char head[512];
    std::snprintf(head, sizeof head, "\nError Reported in %s (%d) ", sourceFile ? sourceFile : "",
                  line);
    return std::string(head) + GetDirectXErrorText(result);
}

void ReportDirectXError(const char* sourceFile, int line, int32_t result) {
    DebugPrint("%s", FormatDirectXError(sourceFile, line, result).c_str());
}
