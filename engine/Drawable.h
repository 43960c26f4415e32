#pragma once
// Drawable: the base of everything drawn on the map or the screen (sprites,
// images, widgets, windows). CDrawableGroup: a drawable made of child
// drawables, the base of the game's windows.
#include <cstdint>

#include "engine/NamedObject.h"
#include "engine/Pixel.h"

class COVEvent;
class CFieldReader;

// Answers of HandleEvent (as HandleMessage, the answers of an item of an
// owning list): any answer but DRAWABLE_NOT_TAKEN takes the event.
constexpr int DRAWABLE_NOT_TAKEN = 0;
constexpr int DRAWABLE_DELETE_ME = 1; // remove and delete me
constexpr int DRAWABLE_TO_FRONT = 2;  // bring me to the front (children of a group)
constexpr int DRAWABLE_TAKEN = 3;     // I stay where I am
static_assert(DRAWABLE_NOT_TAKEN == EVENT_NOT_HANDLED && DRAWABLE_DELETE_ME == OWNED_ITEM_DELETE &&
              DRAWABLE_TO_FRONT == OWNED_ITEM_MOVE_TO_END && DRAWABLE_TAKEN == EVENT_CONSUMED);

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
    // Reads a definition block; FIELD_ERROR (data/TokenFile.h): not
    // supported.
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
    // one that takes it ends the walk and the group answers DRAWABLE_TAKEN:
    // with DRAWABLE_DELETE_ME the child is removed and deleted, with
    // DRAWABLE_TO_FRONT it moves to the end (the top). DRAWABLE_NOT_TAKEN when
    // no child took it.
    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;
    // Draws the children from the last to the first.
    virtual void DrawChildren(int32_t param);
};
