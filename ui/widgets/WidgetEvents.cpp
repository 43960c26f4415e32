#include "ui/widgets/WidgetEvents.h"

#include "engine/DirectSound.h"
#include "engine/Drawable.h"
#include "engine/GameTimer.h"
#include "net/InputEvent.h"
#include "ui/widgets/InputReceiver.h"

int CInputReceiver::HandleEvent(COVEvent& /*event*/) {
    return DRAWABLE_NOT_TAKEN;
}

namespace widget {

namespace {

template <class T> T Field(const COVEvent& event, const PayloadField<T>& field) {
    const COVEventData& payload = event.Payload();
    return payload.Holds(field) ? payload.Get(field) : T{};
}

} // namespace

uint32_t Kind(const COVEvent& event) {
    return event.GetType();
}

uint32_t KeyCode(const COVEvent& event) {
    return Field(event, CInputEvent::kCode);
}

int32_t Data(const COVEvent& event) {
    return static_cast<int32_t>(Field(event, CInputEvent::kData));
}

int32_t PointerX(const COVEvent& event) {
    return Field(event, CInputEvent::kX);
}

int32_t PointerY(const COVEvent& event) {
    return Field(event, CInputEvent::kY);
}

bool IsTypedCharacter(const COVEvent& event) {
    if (Kind(event) != kKey)
        return false;
    const uint32_t code = KeyCode(event);
    switch (Field(event, CInputEvent::kKeyKind)) {
    case CInputEvent::kTypedCharacter:
        return code <= 255;
    case CInputEvent::kMappedKey:
        return false;
    default:
        return code >= 32 && code <= 126;
    }
}

uint32_t Now() {
    return g_gameTimer ? g_gameTimer->interrupts.load() : 0;
}

int32_t MouseX() {
    return GetMousePosition()->x;
}

int32_t MouseY() {
    return GetMousePosition()->y;
}

void PlaySound(int32_t id) {
    if (g_sound && id >= 0)
        g_sound->Play(static_cast<uint32_t>(id));
}

} // namespace widget
