#pragma once
// The pixels of an image for one step of drawing work, as a PixelView; an
// image on a surface has its surface locked meanwhile.
#include "engine/Blit.h"
#include "engine/Image.h"

class CPixelAccess {
public:
    explicit CPixelAccess(const CImageBase& image) : m_surface(image.surface) {
        if (m_surface)
            view = {m_surface->Lock(), m_surface->GetWidth(), m_surface->GetHeight(),
                    m_surface->GetPitch()};
        else
            view = {image.pixels, image.width, image.height, image.pitch};
    }
    ~CPixelAccess() {
        if (m_surface)
            m_surface->Unlock();
    }
    CPixelAccess(const CPixelAccess&) = delete;
    CPixelAccess& operator=(const CPixelAccess&) = delete;

    uint8_t* Row(int32_t y) const { return view.pixels + static_cast<size_t>(y) * view.pitch; }

    PixelView view;

private:
    CSurface* m_surface;
};
