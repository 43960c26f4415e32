#pragma once
// A fixture for the host's economy and diplomacy requests: the countries'
// economy fixture with countries that may act (rich, with diplomats and a
// discovered capital in the province of their number + 10), and the
// messages a request sent to the other machines.
#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/country/EconomyFixture.h"

namespace test {

class RequestServersTest : public EconomyTest {
protected:
    static constexpr int32_t kCapitalOffset = 10;

    void SetUp() override {
        EconomyTest::SetUp();
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
        for (CProvince* province : m_touched)
            province->ResetForGame();
        EconomyTest::TearDown();
    }

    CCountry& Able(uint32_t number) {
        CCountry& country = Make(number);
        country.m_treasury = 10000.0f;
        country.m_diplomats = 5.0f;
        country.m_capital = static_cast<int32_t>(number) + kCapitalOffset;
        CProvince& capital = Touch(country.m_capital);
        capital.discoveredBy.fill(1);
        capital.SetOwner(&country);
        capital.SetControllerField(&country);
        return country;
    }

    CProvince& Touch(int32_t id) {
        CProvince& province = *GetProvince(id);
        m_touched.push_back(&province);
        return province;
    }

    // The messages sent to the other machines since the last call, oldest
    // first, once the messages posted for now have run.
    std::vector<std::unique_ptr<COVEvent>> TakeSent() {
        g_scheduler.RunDue();
        std::vector<std::unique_ptr<COVEvent>> sent;
        g_scheduler.ForEachSend(
            [&sent](const COVEvent& event) { sent.push_back(CreateEventCopy(event)); });
        g_scheduler.Clear();
        return sent;
    }
    static std::vector<uint32_t> Types(const std::vector<std::unique_ptr<COVEvent>>& sent) {
        std::vector<uint32_t> types;
        for (const auto& event : sent)
            types.push_back(event->GetType());
        return types;
    }

    std::vector<CProvince*> m_touched;
};

} // namespace test
