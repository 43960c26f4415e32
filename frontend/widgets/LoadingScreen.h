#pragma once
// CLoadingScreen: the progress of long loading steps in the bottom strip of
// the screen (rows 509 to 599): a bar picture, a progress bar and a
// caption. It draws and presents only that strip, so the picture above it
// stays as it was.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/NamedObject.h"
#include "engine/Pixel.h"

class CProgressBar;
class CSprite;

class CLoadingScreen : public CNamedObject, public CGraphicsBase {
public:
    static constexpr int32_t kStripTop = 509;
    static constexpr int32_t kStripHeight = 91;

    // Sets the fields; builds nothing yet.
    explicit CLoadingScreen(uint32_t argument);
    ~CLoadingScreen() override;

    // Saves the strip of g_screen as it is now (dropping an earlier copy)
    // and builds the progress bar and the bar picture. Called once, before
    // the first caption.
    void Draw();
    void SetCaption(const std::string& text);
    // Puts the saved strip back onto g_screen, draws the bar at the progress
    // (held to 0..100), the bar picture and the caption (once set), then
    // presents the strip twice so that both display buffers show it.
    // Answers 0.
    virtual int32_t Render(int32_t param);

    std::vector<uint8_t> savedStrip; // the strip's rows of g_screen, as saved by Draw
    int32_t savedWidth = 0;          // their width in pixels
    int32_t savedRows = 0;           // and their number
    std::optional<std::string> caption;
    uint32_t argument = 0;
    int32_t progress = 0; // percent; set by the owner before each Render
    int32_t stripTop = kStripTop;
    int32_t stripHeight = kStripHeight;
    uint8_t showCaption = 1;
    std::unique_ptr<CSprite> barPicture;
    std::unique_ptr<CProgressBar> progressBar;
};
