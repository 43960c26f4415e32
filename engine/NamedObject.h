#pragma once
// CNamedObject: the base of objects that carry their class name (drawables,
// widgets, combats, countries ...). COwningList: a list that owns and deletes
// its items and offers messages to them.
#include <cstdint>
#include <vector>

#include "engine/LinkedList.h"

class COVEvent;
class CFieldReader;

// Answers of a message receiver: HandleMessage here, the broadcast receivers
// and handlers of net/Event.h, and COVEvent::Execute.
constexpr int EVENT_NOT_HANDLED = 0;
constexpr int EVENT_CONSUMED = 3;

class CNamedObject {
public:
    CNamedObject() = default;
    // Copies the name, cut to 255 characters.
    explicit CNamedObject(const char* name) { SetName(name); }
    virtual ~CNamedObject() = default;
    CNamedObject(const CNamedObject&) = delete;
    CNamedObject& operator=(const CNamedObject&) = delete;

    // Answers EVENT_NOT_HANDLED.
    virtual int HandleMessage(COVEvent& message);
    // Reads the object's own block; the derived classes give it its meaning.
    // FIELD_ERROR (-2, data/TokenFile.h): not supported.
    virtual int Read(CFieldReader& reader);

    const char* GetName() const { return m_name; }
    void SetName(const char* name);

    static constexpr uint32_t NAME_SIZE = 256;

private:
    char m_name[NAME_SIZE] = {};
};

// Answers of an item to COwningList::Dispatch besides EVENT_NOT_HANDLED (not
// mine) and EVENT_CONSUMED (taken, I stay where I am).
constexpr int OWNED_ITEM_DELETE = 1;      // remove and delete me
constexpr int OWNED_ITEM_MOVE_TO_END = 2; // move me to the tail

// A list that owns its items (objects with a virtual destructor and
// HandleMessage, by default named objects) and deletes them with itself.
template <class T = CNamedObject> class COwningList : public CLinkedList<T> {
public:
    COwningList() = default;

    // Deletes every item (null items skipped) and frees the nodes. The
    // items are taken off the list first, so an item's destructor that
    // looks at the list finds it empty.
    ~COwningList() override {
        std::vector<T*> items;
        this->ForEach([&items](T* item) {
            if (item)
                items.push_back(item);
        });
        this->RemoveAll();
        for (T* item : items)
            delete item;
    }

    // Removes the item, then deletes it (a null item is only removed).
    void RemoveAndDelete(T* item) {
        this->Remove(item);
        delete item;
    }

    // Offers the message to each item from the head until one takes it:
    // EVENT_NOT_HANDLED goes on; OWNED_ITEM_DELETE removes and deletes the
    // item; OWNED_ITEM_MOVE_TO_END moves it to the tail; any answer but
    // EVENT_NOT_HANDLED ends the walk with EVENT_CONSUMED. EVENT_NOT_HANDLED
    // when no item took it.
    int Dispatch(COVEvent& message) {
        // Items that a handler removes meanwhile are only marked, so the
        // walk never reaches a freed node; the outermost walk sweeps them.
        bool outermost = !this->IsWalking();
        if (outermost)
            this->BeginWalk();
        int answer = EVENT_NOT_HANDLED;
        typename CLinkedList<T>::CListPosition node = nullptr;
        this->GetHeadPosition(node);
        while (node) {
            auto* current = node;
            this->MoveNext(node);
            if (current->removed || !current->item)
                continue;
            T* item = current->item;
            int handled = item->HandleMessage(message);
            if (handled == EVENT_NOT_HANDLED)
                continue;
            if (handled == OWNED_ITEM_DELETE) {
                this->RemoveNode(current);
                delete item;
            } else if (handled == OWNED_ITEM_MOVE_TO_END) {
                this->RemoveNode(current);
                this->AddTail(item);
            }
            answer = EVENT_CONSUMED;
            break;
        }
        if (outermost)
            this->EndWalk();
        return answer;
    }
};
