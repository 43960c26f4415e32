#pragma once
// The host's diplomacy requests (category 9 of the host request
// dispatcher): annexations, alliances and their offers, peace and peace
// offers, the set-up of a war, a separate peace inside a war, calls to
// arms, trade refusal and the improvement or worsening of relations. The
// host checks each request against the countries as they stand and carries
// it out as execution messages sent to every machine, some through the
// acting country's diplomat. A request that fails a check is dropped
// without an answer; a malformed one (country numbers outside 0..98,
// countries, alliances or wars that do not exist) also gets a line in the
// log.
//
// The alliance requests and their executions carry the alliance's number
// at +24, the other country at +28 and the sending (for an execution: the
// named) country at +32, as the countries' senders and handlers read them.
#include <cstdint>

class COVEvent;

// Carries out the request on the host; a client and the other message
// types do nothing. Answers 0 always.
int HandleDiplomacyRequest(COVEvent& event);

// Country a learns of country b: when b exists and a has not yet discovered
// the province of b's capital, "_COVEVT_DISCOVERCOUNTRY_" and then
// "_COVEVT_DISCOVERPROVINCE_" of that capital are run for a and sent.
void SendDiscoverCountry(uint32_t a, uint32_t b);
