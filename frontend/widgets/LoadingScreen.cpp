#include "frontend/widgets/LoadingScreen.h"

#include <algorithm>
#include <cstring>

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/ImageAccess.h"
#include "engine/Sprite.h"
#include "frontend/widgets/ProgressBar.h"

namespace {

const char* const kBarPicture = "gfx\\loadingbar.bmp";
const char* const kCaptionFont = "gfx\\fonts\\garamond20bold.bmp";
constexpr int32_t kBarPictureX = 160;
constexpr int32_t kBarX = 200;
constexpr int32_t kBarY = 528;
constexpr uint32_t kBarWidth = 400;
constexpr uint32_t kBarHeight = 25;
constexpr int32_t kCaptionX = 400;
constexpr int32_t kCaptionY = 570;

} // namespace

CLoadingScreen::CLoadingScreen(uint32_t argumentValue)
    : CNamedObject("Drawable"), argument(argumentValue) {}

CLoadingScreen::~CLoadingScreen() = default;

void CLoadingScreen::Draw() {
    savedStrip.clear();
    savedWidth = 0;
    savedRows = 0;
    if (g_screen && g_screen->bytesPerPixel == 2) {
        CPixelAccess access(*g_screen);
        const PixelView& view = access.view;
        const int32_t top = std::clamp(stripTop, 0, view.height);
        const int32_t bottom = std::clamp(stripTop + stripHeight, top, view.height);
        if (view.pixels && bottom > top) {
            const size_t rowBytes = static_cast<size_t>(view.width) * 2;
            savedStrip.resize(rowBytes * static_cast<size_t>(bottom - top));
            for (int32_t row = top; row < bottom; ++row)
                std::memcpy(savedStrip.data() + rowBytes * static_cast<size_t>(row - top),
                            access.Row(row), rowBytes);
            savedWidth = view.width;
            savedRows = bottom - top;
        }
    }

    progressBar = std::make_unique<CProgressBar>(100, kBarWidth, 26, 101, 0);
    progressBar->x = kBarX;
    progressBar->y = kBarY;
    progressBar->height = kBarHeight;
    progressBar->drawFrame = 0;
    progressBar->drawNumber = 0;

    barPicture = std::make_unique<CSprite>(kBarPicture);
    barPicture->SetPosition(kBarPictureX, stripTop);
}

void CLoadingScreen::SetCaption(const std::string& text) {
    caption = text;
}

int32_t CLoadingScreen::Render(int32_t /*param*/) {
    if (!g_screen)
        return 0;

    // The strip goes back only onto a screen of the size it was saved from.
    if (!savedStrip.empty() && g_screen->bytesPerPixel == 2) {
        CPixelAccess access(*g_screen);
        const PixelView& view = access.view;
        const int32_t top = std::max(stripTop, 0);
        if (view.pixels && view.width == savedWidth && top + savedRows <= view.height) {
            const size_t rowBytes = static_cast<size_t>(savedWidth) * 2;
            for (int32_t row = 0; row < savedRows; ++row)
                std::memcpy(access.Row(top + row),
                            savedStrip.data() + rowBytes * static_cast<size_t>(row), rowBytes);
        }
    }

    // The screen may have been made anew since Draw.
    if (progressBar) {
        progressBar->destination = g_screen.get();
        const int32_t shown = std::clamp(progress, 0, 100);
        progressBar->percent = shown;
        progressBar->value = shown;
        progressBar->Draw(0);
    }
    if (barPicture) {
        barPicture->SetDestination(g_screen.get());
        barPicture->Draw(0);
    }
    if (showCaption && caption) {
        if (CFont* font = g_fonts.Get(kCaptionFont))
            font->DrawTextCentredShadowed(*caption, kCaptionX, kCaptionY, g_screen.get(),
                                          RgbToPixel(255, 189, 0));
    }

    const Rect strip{0, stripTop, GetScreenWidth(), stripTop + stripHeight};
    PresentScreenRect(strip);
    PresentScreenRect(strip);
    return 0;
}
