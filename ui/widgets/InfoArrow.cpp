#include "ui/widgets/InfoArrow.h"

#include <algorithm>
#include <cmath>

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/GameTimer.h"
#include "engine/Palette.h"
#include "engine/Sprite.h"
#include "engine/Trig.h"
#include "net/EventTypes.h"
#include "ui/widgets/InterfaceButton.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/PopupWindow.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

constexpr int32_t kArrowSize = 64;
constexpr int32_t kMapLeft = 224; // the map view begins here on the screen

CFont* TextFont() {
    return g_fonts.Get("gfx\\fonts\\garamond14.bmp");
}

struct Rotated {
    int32_t x;
    int32_t y;
};

Rotated Rotate(int32_t x, int32_t y, int32_t angle, int32_t originX, int32_t originY) {
    int16_t outX = 0;
    int16_t outY = 0;
    RotatePoint(outX, outY, static_cast<int16_t>(x), static_cast<int16_t>(y), angle,
                static_cast<int16_t>(originX), static_cast<int16_t>(originY));
    return {outX, outY};
}

} // namespace

int32_t ArrowAngle(int32_t ax, int32_t ay, int32_t tx, int32_t ty) {
    const double dx = static_cast<double>(tx) - ax;
    const double dy = static_cast<double>(ty) - ay;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0.0)
        return 0;
    int32_t angle = static_cast<int32_t>(std::asin(dy / distance) * 180.0 / M_PI);
    if (ax > tx)
        angle = 180 - angle;
    return angle + 90;
}

CInfoArrow::CInfoArrow(int32_t id, const char* text) : buttonId(id) {
    SetName("info-arrow");
    MakeSprite();
    MakeTextWindow(text);
    PlaceForTarget();
}

CInfoArrow::CInfoArrow(int32_t px, int32_t py, const char* text) : pointX(px), pointY(py) {
    SetName("info-arrow");
    MakeSprite();
    MakeTextWindow(text);
    PlaceForTarget();
}

CInfoArrow::CInfoArrow(int32_t provinceId, const CDate& date)
    : CTimedDrawable(date), province(provinceId) {
    SetName("info-arrow");
    MakeSprite();
}

CInfoArrow::~CInfoArrow() = default;

void CInfoArrow::MakeSprite() {
    sprite = std::make_unique<CSprite>(kArrowSize, kArrowSize, 8);
    sprite->SetOrigin(kArrowSize / 2, kArrowSize / 2);
    if (CPalette* palette = GetPalette("arrows.act"))
        sprite->SetPalette(palette);
}

void CInfoArrow::MakeTextWindow(const char* text) {
    if (!text)
        return;
    CFont* font = TextFont();
    const int32_t lineHeight = font ? font->cellHeight : 0;
    const int32_t width = (font ? font->GetTextWidth(text) : 0) + 32;
    textWindow = std::make_unique<CPopupWindow>(nullptr, width, lineHeight, 16);
    if (font)
        font->DrawTextCentred(text, textWindow->width / 2, textWindow->height / 2 - lineHeight / 2,
                              textWindow->GetImage(), 0xFFFF);
    RemovePopupFromFrame(textWindow.get());
}

void CInfoArrow::PlaceForTarget() {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    bool found = false;
    if (aimedSprite) {
        const SpritePoint at = aimedSprite->GetPosition();
        x = at.x;
        y = at.y;
        w = aimedSprite->GetWidth();
        h = aimedSprite->GetHeight();
        found = true;
    } else if (buttonId && g_interfaceButtonTable) {
        if (CInterfaceButton* button = g_interfaceButtonTable->Get(buttonId)) {
            const SpritePoint at = button->GetPosition();
            x = at.x;
            y = at.y;
            w = button->GetWidth();
            h = button->GetHeight();
            found = true;
        }
    }
    if (found) {
        aimX = x + w / 2;
        aimY = y + h / 2;
        arrowX = x + w;
        arrowY = y - h;
        if (arrowY < 0)
            arrowY = y + h;
        if (arrowX > 799)
            arrowX = x - w;
    } else if (pointX != -1 || pointY != -1) {
        aimX = pointX;
        aimY = pointY;
        arrowX = pointX + 32;
        arrowY = pointY - 32;
        if (arrowY < 0)
            arrowY = pointY + 32;
        if (arrowX > 799)
            arrowX = pointX - 32;
    } else {
        return;
    }
    if (textWindow) {
        textWindow->x = arrowX + 32;
        textWindow->y = arrowY - 32;
    }
    if (sprite)
        sprite->SetPosition(arrowX, arrowY);
    angle = ArrowAngle(arrowX, arrowY, aimX, aimY);
}

void CInfoArrow::PlaceProvinceForm() {
    MapPoint origin;
    GetViewOrigin(origin);
    const int32_t viewWidth = g_mapImage ? g_mapImage->width << g_zoomShift : 0;
    const int32_t viewHeight = g_mapImage ? g_mapImage->height << g_zoomShift : 0;
    const int32_t centreX = origin.x + viewWidth / 2;
    const int32_t centreY = origin.y + viewHeight / 2;
    MapPoint target;
    GetProvinceCentre(target, province);
    aimX = target.x;
    aimY = target.y;
    angle = ArrowAngle(centreX, centreY, aimX, aimY);
    const int32_t relX = target.x - centreX + viewWidth / 2;
    const int32_t relY = target.y - centreY + viewHeight / 2;

    const double dx = static_cast<double>(target.x) - centreX;
    const double dy = static_cast<double>(target.y) - centreY;
    int32_t textX = relX;
    int32_t textY = relY;
    if (std::sqrt(dx * dx + dy * dy) < viewWidth / 2 + 100) {
        const Rotated arrow = Rotate(0, -32, angle + 180, relX, relY);
        arrowX = arrow.x;
        arrowY = arrow.y;
        const Rotated text = Rotate(0, -132, angle + 180, relX, relY);
        textX = text.x - (textWindow ? textWindow->width / 2 : 0);
        textY = text.y - (textWindow ? textWindow->height / 2 : 0);
    } else {
        arrowX = relX;
        arrowY = relY;
    }
    arrowX = std::max(32, std::min(arrowX, viewWidth - 48));
    arrowY = std::max(32, std::min(arrowY, viewHeight - 112));
    sprite->SetPosition(arrowX + kMapLeft, arrowY);
    if (textWindow) {
        textX = std::max(48, std::min(textX, viewWidth - textWindow->width - 48));
        if (textY < 48)
            textY = 64;
        if (textY > viewHeight - textWindow->height - 112)
            textY = viewHeight - textWindow->height - 112;
        textWindow->x = textX + kMapLeft;
        textWindow->y = textY;
    }
}

int CInfoArrow::HandleEvent(COVEvent& event) {
    if (!permanent && g_gameTimer && g_gameTimer->gameTicks >= expiryTick)
        return DRAWABLE_DELETE_ME;
    if (event.GetType() == EVT_UNNAMED_184)
        return DRAWABLE_DELETE_ME;
    if (g_gameTimer && g_gameTimer->GetDate().IsAfter(removalDate))
        return DRAWABLE_DELETE_ME;
    if (!sprite)
        return DRAWABLE_DELETE_ME;
    if (!buttonId && !aimedSprite && pointX == -1 && pointY == -1) {
        PlaceProvinceForm();
        return sprite->HandleEvent(event);
    }
    PlaceForTarget();
    const int answer = sprite->HandleEvent(event);
    if (buttonId && g_interfaceButtonTable) {
        const CInterfaceButton* button =
            g_interfaceButtonTable
                ->slots[static_cast<size_t>(std::clamp(buttonId, 0, kInterfaceButtonCount - 1))];
        if (button && button->GetId() == buttonId && button->IsPressed())
            return DRAWABLE_DELETE_ME;
    }
    return answer;
}

void CInfoArrow::RenderArrow() {
    CSharedImage* image = sprite ? sprite->image : nullptr;
    if (!image)
        return;
    image->ClearToColourKey();
    const int32_t c = kArrowSize / 2;
    const Rotated tip = Rotate(0, -24, angle, c, c);
    const Rotated left = Rotate(-16, 24, angle, c, c);
    const Rotated right = Rotate(16, 24, angle, c, c);
    const Rotated notch = Rotate(0, 12, angle, c, c);
    for (const auto& [offset, colour] : {std::pair{5, 1}, std::pair{0, 3}}) {
        image->FillTriangle(tip.x + offset, tip.y + offset, left.x + offset, left.y + offset,
                            notch.x + offset, notch.y + offset, static_cast<uint8_t>(colour));
        image->FillTriangle(tip.x + offset, tip.y + offset, notch.x + offset, notch.y + offset,
                            right.x + offset, right.y + offset, static_cast<uint8_t>(colour));
    }
}

void CInfoArrow::Draw(int32_t param) {
    RenderArrow();
    if (sprite)
        sprite->Draw(param);
    if (textWindow)
        textWindow->Draw(param);
}
