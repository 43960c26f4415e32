#pragma once
// Drawable: the base of everything drawn on the map or the screen (sprites,
// images, widgets, windows). CDrawableGroup: a drawable made of child
// drawables, the base of the game's windows.
//
// Answers of HandleEvent: 0 not taken; 1 taken, remove and delete me; 2
// taken, bring me to the front (children of a group); any other non-zero
// value taken.
#include <cstdint>

#include "engine/NamedObject.h"
#include "engine/Pixel.h"

class COVEvent;
class CFieldReader;

constexpr int DRAWABLE_NOT_TAKEN = 0;
constexpr int DRAWABLE_DELETE_ME = 1;
constexpr int DRAWABLE_TO_FRONT = 2;

// The animation ticks a message carries: true, with the count, for the
// animation tick ("_COVEVT_TICK_ANIMATIONS_"), false for every other
// message. The message classes fill g_animationTicksReader once, by a
// static registration; while it is null no message is an animation tick.
using AnimationTicksReader = bool (*)(const COVEvent& event, uint32_t& ticks);
extern AnimationTicksReader g_animationTicksReader;
bool ReadAnimationTicks(const COVEvent& event, uint32_t& ticks);

class Drawable : public CNamedObject, public CGraphicsBase {
public:
    Drawable() : CNamedObject("Drawable") {}
    // Takes every entry of the drawable off g_displayList.
    ~Drawable() override;

    virtual int HandleEvent(COVEvent& event);
    // Reads a definition block; -2: not supported.
    virtual int ReadDefinition(CFieldReader& reader);
    // param: the display-list entry's parameter (0-5), chosen by whoever
    // added the drawable.
    virtual void Draw(int32_t param);

    // The named object's message and block operations are these two.
    int HandleMessage(COVEvent& event) override { return HandleEvent(event); }
    int Read(CFieldReader& reader) override { return ReadDefinition(reader); }
};

// Children are drawn first to last (the last lies on top) and offered
// events last to first. The group owns its children and deletes them with
// itself.
class CDrawableGroup : public COwningList<Drawable>, public Drawable {
public:
    // Offers the event to the children from the last to the first; the first
    // one that answers non-zero ends the walk and the group answers 3: with
    // 1 the child is removed and deleted, with 2 it moves to the end (the
    // top). 0 when no child took it.
    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;
    // Draws the children from the last to the first.
    virtual void DrawChildren(int32_t param);
};
