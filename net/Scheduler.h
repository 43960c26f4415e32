#pragma once
// The scheduler: the single queue through which every game message passes
// between being posted and being carried out.
//
//   timed heap   messages with a due date, released when the game date
//                reaches that date;
//   ready list   messages to run as soon as possible, first in, first out;
//                a ready message always runs before any timed one;
//   send list    network copies waiting to go out at the end of the frame;
//   input list   input events of the window, run at the start of the frame.
//
// The scheduler owns every message it holds and deletes it after it has run
// or when it is cleared. Main thread only.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/ObjectId.h"

class COVEvent;

// A binary min-heap by due date with no second key. Positions are numbered
// from 1 (the root); the children of p are 2p and 2p + 1. Insertion and
// removal follow fixed steps, so messages with equal due dates leave the heap
// in an order given by the heap's shape alone: the same order on every
// machine that posted the same messages in the same order (it is not first
// in, first out).
class CEventHeap {
public:
    CEventHeap() = default;
    CEventHeap(const CEventHeap&) = delete;
    CEventHeap& operator=(const CEventHeap&) = delete;
    virtual ~CEventHeap() = default;

    // The root's message (the earliest), or null.
    COVEvent* Peek() const { return m_nodes.empty() ? nullptr : m_nodes.front().event.get(); }
    uint32_t GetCount() const { return static_cast<uint32_t>(m_nodes.size()); }
    bool IsEmpty() const { return m_nodes.empty(); }

    void Insert(std::unique_ptr<COVEvent> event);
    // Removes and answers the root's message; null when empty.
    std::unique_ptr<COVEvent> PopTop();
    // Deletes every message.
    void Clear() { m_nodes.clear(); }
    // Calls the function on every message in pre-order: node, left subtree,
    // right subtree.
    void ForEach(const std::function<void(COVEvent*)>& function) const;

private:
    // The due date is kept beside its message as a key that orders like
    // (year, month, day): a queued message's date never changes.
    struct Node {
        int64_t key;
        std::unique_ptr<COVEvent> event;
    };

    // m_nodes[p - 1] holds position p.
    std::vector<Node> m_nodes;
};

class CScheduler : public CEventHeap {
public:
    CScheduler();
    ~CScheduler() override;

    // With immediate false and a due date whose day count
    // ((year x 12 + month) x 30 + day) is at least 1, the message goes into
    // the heap; otherwise to the tail of the ready list. A null message is
    // ignored.
    void Post(std::unique_ptr<COVEvent> event, bool immediate);

    // The next message to run, taken out of the scheduler: the head of the
    // ready list; else the heap's earliest message once the game date has
    // reached its due date; else null.
    std::unique_ptr<COVEvent> PopDue();
    // PopDue and ExecuteEvent until nothing is due.
    void RunDue();
    // One PopDue; true when it gave a message, which has then run.
    bool RunOne();

    // The ready list's head, else the heap's root, else null. Removes nothing.
    COVEvent* PeekNext() const;
    // The heap's root (the earliest dated message) or null.
    COVEvent* PeekTimed() const { return Peek(); }

    // Heap and ready list together.
    uint32_t GetCount() const;
    bool IsEmpty() const;
    bool IsHeapEmpty() const { return CEventHeap::IsEmpty(); }
    bool IsReadyEmpty() const { return m_ready.empty(); }

    // Deletes every message of the ready list, the heap and the send list;
    // the input list is kept.
    void Clear();
    // Calls the function on every ready message, head to tail, then on every
    // heap message in pre-order. Send and input lists are not visited.
    void ForEachEvent(const std::function<void(COVEvent*)>& function) const;
    // Every queued message of the type and receiver for which the predicate
    // answers true gets the null receiver, so that it is dropped when it
    // runs; the heap's order is not touched. Answers how many were marked.
    uint32_t RemoveEvents(uint32_t type, const ObjectId& receiver,
                          const std::function<bool(COVEvent*)>& predicate);

    // Appends a network copy to the send list.
    void QueueSend(std::unique_ptr<COVEvent> event);
    // Sends every queued copy (stamped with the current game date) when a
    // session is active, and deletes it in any case.
    void FlushSend();
    uint32_t GetSendCount() const { return static_cast<uint32_t>(m_send.size()); }
    // Calls the function on every queued network copy, oldest first.
    void ForEachSend(const std::function<void(const COVEvent&)>& function) const;

    // Appends an input event to the input list.
    void QueueInput(std::unique_ptr<COVEvent> event);
    // Runs and deletes every input event, head to tail.
    void RunInput();
    uint32_t GetInputCount() const { return static_cast<uint32_t>(m_input.size()); }

private:
    std::deque<std::unique_ptr<COVEvent>> m_ready;
    std::deque<std::unique_ptr<COVEvent>> m_send;
    std::deque<std::unique_ptr<COVEvent>> m_input;
    // "Scheduler mutex": created with the scheduler; nothing waits on it.
    std::mutex& m_mutex;
};

extern CScheduler g_scheduler;
