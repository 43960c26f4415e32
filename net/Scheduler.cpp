#include "net/Scheduler.h"

#include <utility>

#include "engine/CriticalError.h"
#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "platform/System.h"

CScheduler g_scheduler;

namespace {

// Due dates compare year first (signed 16-bit), then month, then day (signed
// bytes); the key packs them in that order.
int64_t DueKey(const COVEvent& event) {
    const CDate due = event.GetDueDate();
    return static_cast<int64_t>(due.year) * 65536 + (due.month + 128) * 256 + (due.day + 128);
}

CDate CurrentGameDate() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

} // namespace

// ---------------------------------------------------------------------------
// CEventHeap

void CEventHeap::Insert(std::unique_ptr<COVEvent> event) {
    const int64_t key = DueKey(*event);
    m_nodes.push_back(Node{key, std::move(event)});
    // Back up the path from the new position to the root: a message rises
    // only past a strictly later one, so it never passes an earlier-posted
    // message of the same date on its path.
    for (size_t position = m_nodes.size(); position > 1; position /= 2) {
        Node& child = m_nodes[position - 1];
        Node& parent = m_nodes[position / 2 - 1];
        if (child.key < parent.key)
            std::swap(child, parent);
    }
}

std::unique_ptr<COVEvent> CEventHeap::PopTop() {
    if (m_nodes.empty())
        return nullptr;
    // The last position leaves the tree; its message sinks from the root.
    Node last = std::move(m_nodes.back());
    m_nodes.pop_back();
    if (m_nodes.empty())
        return std::move(last.event);

    std::unique_ptr<COVEvent> top = std::move(m_nodes.front().event);
    const size_t count = m_nodes.size();
    size_t position = 1;
    for (;;) {
        const size_t left = 2 * position;
        if (left > count)
            break;
        size_t candidate = left;
        // The right child only when strictly earlier: equal dates take the left.
        if (left + 1 <= count && m_nodes[left].key < m_nodes[left - 1].key)
            candidate = left + 1;
        if (!(m_nodes[candidate - 1].key < last.key))
            break;
        m_nodes[position - 1] = std::move(m_nodes[candidate - 1]);
        position = candidate;
    }
    m_nodes[position - 1] = std::move(last);
    return top;
}

void CEventHeap::ForEach(const std::function<void(COVEvent*)>& function) const {
    // Pre-order without recursion: a stack of positions, right pushed first.
    std::vector<size_t> stack;
    if (!m_nodes.empty())
        stack.push_back(1);
    while (!stack.empty()) {
        const size_t position = stack.back();
        stack.pop_back();
        function(m_nodes[position - 1].event.get());
        if (2 * position + 1 <= m_nodes.size())
            stack.push_back(2 * position + 1);
        if (2 * position <= m_nodes.size())
            stack.push_back(2 * position);
    }
}

// ---------------------------------------------------------------------------
// CScheduler

CScheduler::CScheduler() : m_mutex(platform::NamedMutex("Scheduler mutex")) {}

CScheduler::~CScheduler() = default;

void CScheduler::Post(std::unique_ptr<COVEvent> event, bool immediate) {
    if (!event)
        return;
    if (!immediate && event->GetDueDate().GetDayCount() >= 1)
        Insert(std::move(event));
    else
        m_ready.push_back(std::move(event));
}

std::unique_ptr<COVEvent> CScheduler::PopDue() {
    if (!m_ready.empty()) {
        std::unique_ptr<COVEvent> event = std::move(m_ready.front());
        m_ready.pop_front();
        return event;
    }
    const COVEvent* earliest = Peek();
    if (!earliest || !CurrentGameDate().IsNotBefore(earliest->GetDueDate()))
        return nullptr;
    return PopTop();
}

void CScheduler::RunDue() {
    while (std::unique_ptr<COVEvent> event = PopDue())
        ExecuteEvent(std::move(event));
}

bool CScheduler::RunOne() {
    std::unique_ptr<COVEvent> event = PopDue();
    if (!event)
        return false;
    ExecuteEvent(std::move(event));
    return true;
}

COVEvent* CScheduler::PeekNext() const {
    if (!m_ready.empty())
        return m_ready.front().get();
    return Peek();
}

uint32_t CScheduler::GetCount() const {
    return CEventHeap::GetCount() + static_cast<uint32_t>(m_ready.size());
}

bool CScheduler::IsEmpty() const {
    return CEventHeap::IsEmpty() && m_ready.empty();
}

void CScheduler::Clear() {
    m_ready.clear();
    m_send.clear();
    CEventHeap::Clear();
}

void CScheduler::ForEachEvent(const std::function<void(COVEvent*)>& function) const {
    for (const auto& event : m_ready)
        function(event.get());
    ForEach(function);
}

void CScheduler::ForEachSend(const std::function<void(const COVEvent&)>& function) const {
    for (const auto& event : m_send)
        function(*event);
}

uint32_t CScheduler::RemoveEvents(uint32_t type, const ObjectId& receiver,
                                  const std::function<bool(COVEvent*)>& predicate) {
    uint32_t removed = 0;
    ForEachEvent([&](COVEvent* event) {
        if (event->GetType() != type || !(event->GetReceiver() == receiver) || !predicate(event))
            return;
        event->SetReceiver(g_nullId);
        ++removed;
        const CDate due = event->GetDueDate();
        DebugPrint("Scheduler: Event removed! (%s, Receiver %d.%d, Timestamp %d-%d-%d\n",
                   GetEventTypeName(*event).c_str(), receiver.type,
                   static_cast<int>(receiver.number), due.year, due.month, due.day);
    });
    return removed;
}

void CScheduler::QueueSend(std::unique_ptr<COVEvent> event) {
    if (event)
        m_send.push_back(std::move(event));
}

void CScheduler::FlushSend() {
    // Copies queued while flushing wait for the next flush.
    auto send = std::move(m_send);
    m_send.clear();
    for (auto& event : send)
        if (IsSessionActive())
            StampAndExecute(*event);
}

void CScheduler::QueueInput(std::unique_ptr<COVEvent> event) {
    if (event)
        m_input.push_back(std::move(event));
}

void CScheduler::RunInput() {
    // Input queued by an input event runs in the same pass, as it did when
    // it was appended to the list being walked.
    for (size_t i = 0; i < m_input.size(); ++i)
        ExecuteEvent(std::move(m_input[i]));
    m_input.clear();
}
