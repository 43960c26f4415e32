#include "net/Posting.h"

#include "engine/GameTimer.h"
#include "net/Scheduler.h"
#include "net/Session.h"

namespace {

// On the host a request runs here with its send flag as built; on a client
// it is only sent.
void MarkAsRequest(COVEvent& event) {
    if (IsHost()) {
        event.SetLocalFlag(1);
    } else {
        event.SetSendFlag(1);
        event.SetLocalFlag(0);
    }
}

void SetFlags(COVEvent& event, uint8_t send, uint8_t local) {
    event.SetSendFlag(send);
    event.SetLocalFlag(local);
}

int Queue(std::unique_ptr<COVEvent> event, bool immediate) {
    g_scheduler.Post(std::move(event), immediate);
    return EVENT_NOT_HANDLED;
}

} // namespace

int PostEventAt(std::unique_ptr<COVEvent> event, const CDate& date) {
    if (!event)
        return EVENT_NOT_HANDLED;
    SetFlags(*event, 0, 1);
    event->SetDueDate(date);
    return Queue(std::move(event), false);
}

int PostEventAtAndSend(std::unique_ptr<COVEvent> event, const CDate& date) {
    if (!event)
        return EVENT_NOT_HANDLED;
    SetFlags(*event, 1, 1);
    event->SetDueDate(date);
    return Queue(std::move(event), false);
}

int PostRequestAt(std::unique_ptr<COVEvent> event, const CDate& date) {
    if (!event)
        return EVENT_NOT_HANDLED;
    MarkAsRequest(*event);
    event->SetDueDate(date);
    return Queue(std::move(event), false);
}

int PostEventNow(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    return Queue(std::move(event), true);
}

int PostAndSendEventNow(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    SetFlags(*event, 1, 1);
    return Queue(std::move(event), true);
}

int PostRequestNow(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    MarkAsRequest(*event);
    return Queue(std::move(event), true);
}

int ExecuteEvent(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    return event->Execute();
}

int ExecuteAndSendEvent(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    SetFlags(*event, 1, 1);
    return event->Execute();
}

int ExecuteRequest(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    MarkAsRequest(*event);
    return event->Execute();
}

int SendEventOnly(std::unique_ptr<COVEvent> event) {
    if (!event)
        return EVENT_NOT_HANDLED;
    SetFlags(*event, 1, 0);
    return event->Execute();
}

int StampAndExecute(COVEvent& event) {
    if (g_gameTimer)
        event.SetDueDate(g_gameTimer->GetDate());
    return event.Execute();
}
