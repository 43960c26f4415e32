#pragma once
// What the host's request servers share: the refusal of a malformed request
// with a line in the log, the country a request names, and the execution
// message made from a copy of a request.
#include <cstdint>
#include <memory>

#include "engine/ObjectId.h"

class CCountry;
class COVEvent;

// Writes "<server>: <type name> (<type>) refused: <reason>" to the log.
void LogRefusedRequest(const COVEvent& request, const char* server, const char* reason);

// The request's numbers keep their roles (country numbers 0..98, province
// ids 1..1472, ids of countries and provinces in range): the host runs its
// own requests without the receiving check, so the servers make it. A
// request that breaks one is logged and false.
bool IsSoundRequest(const COVEvent& request, const char* server);

// The country of the number the request names; null, with a log line, for
// a number outside 0..98 or an empty slot.
CCountry* ExistingCountry(const COVEvent& request, const char* server, int64_t number);

// A copy of the request's payload (every byte it holds) as a message of the
// type for the receiver, due date zero, in the class of the request's type.
std::unique_ptr<COVEvent> CopyRequestAs(const COVEvent& request, uint32_t type,
                                        const ObjectId& receiver);
