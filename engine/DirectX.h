#pragma once
// The common base of the DirectX-style wrappers (display, sound, multiplayer
// session) and their error report.
#include <cstdint>
#include <string>

class CDirectXObject {
public:
    virtual ~CDirectXObject() = default;
};

// The text of a DirectDraw, DirectSound, DirectInput or DirectPlay result
// code (or of a general COM result); "Unknown error" for any other value.
const char* GetDirectXErrorText(int32_t result);

// "\nError Reported in <file> (<line>) " followed by the result's text.
std::string FormatDirectXError(const char* sourceFile, int line, int32_t result);

// Hands the line above to the debug log; nothing is shown to the player.
void ReportDirectXError(const char* sourceFile, int line, int32_t result);
