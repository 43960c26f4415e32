#pragma once
// The posting functions: the only way senders hand over a finished message.
// Each decides whether the message is sent to the other machines (send
// flag), whether it runs on this machine (local flag) and whether it runs
// now or waits in the scheduler.
//
// "Request" postings: on the host (IsHost) the request runs here with the
// send flag as its sender built it; on a client it is only sent, and the
// host's answer comes back as messages.
//
// The functions that run a message now delete it afterwards and answer
// Execute's answer; the queueing ones hand it to g_scheduler, which owns it
// from then on, and answer EVENT_NOT_HANDLED. A null message does nothing and
// answers EVENT_NOT_HANDLED.
#include <memory>

#include "engine/Date.h"
#include "net/Event.h"

// Due date := date; queued (send 0, local 1).
int PostEventAt(std::unique_ptr<COVEvent> event, const CDate& date);
// Due date := date; queued (send 1, local 1).
int PostEventAtAndSend(std::unique_ptr<COVEvent> event, const CDate& date);
// Due date := date; queued as a request.
int PostRequestAt(std::unique_ptr<COVEvent> event, const CDate& date);
// Queued to run on the scheduler's next pass; flags unchanged.
int PostEventNow(std::unique_ptr<COVEvent> event);
// Queued to run on the scheduler's next pass (send 1, local 1).
int PostAndSendEventNow(std::unique_ptr<COVEvent> event);
// Queued to run on the scheduler's next pass as a request.
int PostRequestNow(std::unique_ptr<COVEvent> event);
// Runs now with its own flags, then deleted.
int ExecuteEvent(std::unique_ptr<COVEvent> event);
// Runs now (send 1, local 1), then deleted.
int ExecuteAndSendEvent(std::unique_ptr<COVEvent> event);
// Runs now as a request, then deleted.
int ExecuteRequest(std::unique_ptr<COVEvent> event);
// Only the network copy is made (send 1, local 0), then deleted; answers
// EVENT_NOT_HANDLED.
int SendEventOnly(std::unique_ptr<COVEvent> event);
// Due date := the current game date, then Execute; the caller keeps the
// message.
int StampAndExecute(COVEvent& event);
