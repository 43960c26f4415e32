#pragma once
// The display list: every drawable shown, by layer. Entries are kept in
// ascending layer order; DrawAll draws them from the bottom (first) to the
// top (last) and DispatchEvent offers an event from the top down.
#include <cstdint>

#include "engine/LinkedList.h"

class COVEvent;
class Drawable;

struct DisplayEntry {
    Drawable* object = nullptr;
    int32_t param = 0; // handed to Draw; only entries of param 0 receive events
    int32_t layer = 0;

    // Entries match by object and param.
    friend bool operator==(const DisplayEntry& a, const DisplayEntry& b) {
        return a.object == b.object && a.param == b.param;
    }
};

// The list owns its entries; it deletes an object only in RemoveAndDelete
// and when the object answers DRAWABLE_DELETE_ME to DispatchEvent.
class CDisplayList : public TListBase<DisplayEntry> {
public:
    ~CDisplayList() override;

    // Inserts before the first entry whose layer is not below the new one,
    // so a new entry goes under those already on its layer.
    void Add(Drawable* object, int32_t layer, int32_t param);
    using TListBase<DisplayEntry>::Remove;

    // The first entry of the object with that param: unlinked, and the
    // object deleted. False when there is none.
    bool RemoveAndDelete(Drawable* object, int32_t param);
    // The same, keeping the object.
    bool Remove(Drawable* object, int32_t param);
    // Every entry of the object, whatever its param.
    void RemoveObject(Drawable* object);

    // From the top down, every entry of param 0 is offered the event. The
    // walk stops only at an object answering DRAWABLE_DELETE_ME, which is
    // removed and deleted: the answer is then EVENT_CONSUMED, otherwise
    // EVENT_NOT_HANDLED.
    virtual int DispatchEvent(COVEvent& event);
    // Draw (param) of every entry from the bottom up.
    virtual void DrawAll();

private:
    Node* FindEntry(Drawable* object, int32_t param) const;
};

// Made at start-up, lives until shutdown.
extern CDisplayList* g_displayList;

// Where the animation ticks go: g_displayList's DispatchEvent;
// EVENT_NOT_HANDLED while there is no display list.
int DispatchToDisplayList(COVEvent& event);
