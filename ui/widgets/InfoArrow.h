#pragma once
// CInfoArrow: the tutorial's pointing arrow, drawn on the fly at its angle,
// standing beside an interface button, a screen point or a province, with
// an optional short text in a small framed window. It removes itself when
// the button it points at is pressed.
#include <cstdint>
#include <memory>

#include "ui/widgets/TimedDrawable.h"

class CPopupWindow;
class CSprite;

// The direction in whole degrees from the arrow at (ax, ay) to the aim at
// (tx, ty): the arc sine of (ty - ay) / distance, truncated toward zero,
// mirrored (180 - angle) when the aim lies left of the arrow, plus 90. 0
// when the aim is the arrow's own point.
int32_t ArrowAngle(int32_t ax, int32_t ay, int32_t tx, int32_t ty);

class CInfoArrow : public CTimedDrawable {
public:
    // Points at the interface button of the id (g_interfaceButtonTable).
    CInfoArrow(int32_t buttonId, const char* text);
    // Points at a screen point.
    CInfoArrow(int32_t px, int32_t py, const char* text);
    // Points at a province (the date is not used).
    CInfoArrow(int32_t provinceId, const CDate& date);
    ~CInfoArrow() override;

    // DRAWABLE_DELETE_ME when expired, for message type 184, without a
    // sprite, or once the pointed button is pressed; otherwise places the
    // arrow and its text and answers as its sprite.
    int HandleEvent(COVEvent& event) override;
    // The arrow at its angle, then the text window.
    void Draw(int32_t param) override;

    // The arrow's place for the aim of the current form (button, sprite or
    // point); the province form is placed by HandleEvent.
    void PlaceForTarget();

    int32_t angle = 0;
    int32_t province = 0;
    std::unique_ptr<CSprite> sprite;
    std::unique_ptr<CPopupWindow> textWindow;
    int32_t aimX = 0;
    int32_t aimY = 0;
    int32_t arrowX = 0;
    int32_t arrowY = 0;
    int32_t pointX = -1;
    int32_t pointY = -1;
    int32_t buttonId = 0;
    CSprite* aimedSprite = nullptr;

private:
    void MakeSprite();
    void MakeTextWindow(const char* text);
    void RenderArrow();
    void PlaceProvinceForm();
};
