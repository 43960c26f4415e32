#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CycleCounter.h"
#include "engine/NamedObject.h"
#include "net/EventTypes.h"

namespace {

// An item that answers as it is told and logs what happens to it.
class Item : public CNamedObject {
public:
    Item(std::vector<std::string>& log, const char* name, int answer = EVENT_NOT_HANDLED)
        : CNamedObject(name), m_log(log), m_answer(answer) {}
    ~Item() override { m_log.push_back(std::string("deleted ") + GetName()); }

    int HandleMessage(COVEvent& /*message*/) override {
        m_log.push_back(std::string("asked ") + GetName());
        return m_answer;
    }
    void SetAnswer(int answer) { m_answer = answer; }

private:
    std::vector<std::string>& m_log;
    int m_answer;
};

std::vector<std::string> Names(COwningList<>& list) {
    std::vector<std::string> names;
    list.ForEach(
        [&names](CNamedObject* item) { names.push_back(item ? item->GetName() : "(null)"); });
    return names;
}

using Log = std::vector<std::string>;

// The lists only pass the message on; any message will do.
COVSimpleEvent AMessage() {
    return COVSimpleEvent(EVT_GAME_END, g_broadcastId);
}

TEST(NamedObjectTest, NameIsCopiedAndCut) {
    CNamedObject empty;
    EXPECT_STREQ(empty.GetName(), "");
    CNamedObject drawable("Drawable");
    EXPECT_STREQ(drawable.GetName(), "Drawable");
    std::string longName(300, 'x');
    CNamedObject cut(longName.c_str());
    EXPECT_EQ(std::string(cut.GetName()), std::string(255, 'x'));

    COVSimpleEvent message = AMessage();
    EXPECT_EQ(drawable.HandleMessage(message), EVENT_NOT_HANDLED);
}

TEST(NamedObjectTest, DispatchAnswersAndWhatTheyDoToTheList) {
    Log log;
    COVSimpleEvent message = AMessage();
    COwningList<> list;
    EXPECT_EQ(list.Dispatch(message), EVENT_NOT_HANDLED) << "an empty list";

    Item* a = new Item(log, "a");
    Item* b = new Item(log, "b", OWNED_ITEM_MOVE_TO_END);
    Item* c = new Item(log, "c");
    list.AddTail(a);
    list.AddTail(nullptr);
    list.AddTail(b);
    list.AddTail(c);

    // b moves to the tail; the walk ends.
    EXPECT_EQ(list.Dispatch(message), EVENT_CONSUMED);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "(null)", "c", "b"}));
    EXPECT_EQ(list.GetCount(), 4u);
    EXPECT_EQ(log, (Log{"asked a", "asked b"}));

    // The next dispatch reaches c before b, which is deleted.
    log.clear();
    c->SetAnswer(OWNED_ITEM_DELETE);
    EXPECT_EQ(list.Dispatch(message), EVENT_CONSUMED);
    EXPECT_EQ(log, (Log{"asked a", "asked c", "deleted c"}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "(null)", "b"}));

    // Any other answer but EVENT_NOT_HANDLED stops with the list unchanged;
    // when nobody takes it the list does not either.
    log.clear();
    a->SetAnswer(7);
    EXPECT_EQ(list.Dispatch(message), EVENT_CONSUMED);
    EXPECT_EQ(log, (Log{"asked a"}));
    a->SetAnswer(EVENT_NOT_HANDLED);
    b->SetAnswer(EVENT_NOT_HANDLED);
    EXPECT_EQ(list.Dispatch(message), EVENT_NOT_HANDLED);

    // RemoveAndDelete; a null item is only removed.
    log.clear();
    list.RemoveAndDelete(a);
    list.RemoveAndDelete(nullptr);
    EXPECT_EQ(log, (Log{"deleted a"}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b"}));
}

// An item whose handler deletes the item after it from the same list.
class Remover : public CNamedObject {
public:
    Remover(COwningList<>& list, CNamedObject*& victim)
        : CNamedObject("remover"), m_list(list), m_victim(victim) {}
    int HandleMessage(COVEvent& /*message*/) override {
        if (m_victim) {
            m_list.RemoveAndDelete(m_victim);
            m_victim = nullptr;
        }
        return EVENT_NOT_HANDLED;
    }

private:
    COwningList<>& m_list;
    CNamedObject*& m_victim;
};

TEST(NamedObjectTest, AHandlerMayRemoveTheNextItem) {
    Log log;
    COVSimpleEvent message = AMessage();
    COwningList<> list;
    CNamedObject* victim = new Item(log, "victim");
    list.AddTail(new Remover(list, victim));
    list.AddTail(victim);
    list.AddTail(new Item(log, "last"));
    EXPECT_EQ(list.Dispatch(message), EVENT_NOT_HANDLED);
    EXPECT_EQ(log, (Log{"deleted victim", "asked last"}));
    EXPECT_EQ(list.GetCount(), 2u);
}

TEST(NamedObjectTest, TheListDeletesItsItemsWithItself) {
    Log log;
    {
        COwningList<> list;
        list.AddTail(new Item(log, "a"));
        list.AddTail(nullptr);
        list.AddTail(new Item(log, "b"));
    }
    EXPECT_EQ(log, (Log{"deleted a", "deleted b"}));
}

// A counter that reads a scripted cycle count.
class FakeCounter : public CCycleCounter {
public:
    uint64_t now = 0;

protected:
    uint64_t ReadCounter() const override { return now; }
};

TEST(NamedObjectTest, CycleCounterKeepsTheLow32Bits) {
    FakeCounter counter;
    counter.now = 0xFFFFFFF0ull;
    counter.Start();
    counter.now = 0x100000010ull;
    EXPECT_EQ(counter.Elapsed(), 0x20u);
    counter.now = 0xFFFFFFF0ull + (1ull << 32) + 5;
    EXPECT_EQ(counter.Elapsed(), 5u) << "wraps after 2^32 cycles";
    EXPECT_EQ(counter.GetElapsed(), 5u);

    CCycleCounter real;
    real.Start();
    uint32_t first = real.Elapsed();
    EXPECT_GE(real.Elapsed(), first);
}

} // namespace
