#pragma once
// The host's economy requests (category 6 of the host request dispatcher):
// loans, manufactories, investment boosts, fortresses, improvements, the
// budget shares, maintenance, tolerance and religion. The host checks each
// request against the countries as they stand and carries it out as the
// matching execution message for the country, run at once and sent, so that
// every machine's country applies it. A request that fails a check is
// dropped without an answer; a malformed one (a country number outside
// 0..98 or without a country, an id that breaks its role) also gets a line
// in the log.
class COVEvent;

// Carries out the request on the host; a client and the other message
// types do nothing. Answers 0 always.
int HandleEconomyRequest(COVEvent& event);
