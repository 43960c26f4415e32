#include "military/server/RequestSupport.h"

#include <string>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"

void LogRefusedRequest(const COVEvent& request, const char* server, const char* reason) {
    AppendToLog(std::string(server) + ": " + GetEventTypeName(request) + " (" +
                std::to_string(request.GetType()) + ") refused: " + reason);
}

bool IsSoundRequest(const COVEvent& request, const char* server) {
    const std::optional<PayloadFault> fault = CheckPayloadRoles(request.Payload());
    if (!fault)
        return true;
    LogRefusedRequest(request, server, DescribePayloadFault(*fault).c_str());
    return false;
}

CCountry* ExistingCountry(const COVEvent& request, const char* server, int64_t number) {
    CCountry* country = CountryOfNumber(number);
    if (!country)
        LogRefusedRequest(request, server, ("no country " + std::to_string(number)).c_str());
    return country;
}

std::unique_ptr<COVEvent> CopyRequestAs(const COVEvent& request, uint32_t type,
                                        const ObjectId& receiver) {
    std::unique_ptr<COVEvent> event = CreateEventCopy(request);
    if (!event)
        event = std::make_unique<COVDataEvent>(type, receiver);
    event->Payload().SetTypeId(type);
    event->SetReceiver(receiver);
    event->SetDueDate(CDate());
    return event;
}
