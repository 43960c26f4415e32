#include "tools/longrun/WorldChecks.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "ai/AIAgent.h"
#include "ai/AICountry.h"
#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/ObjectId.h"
#include "military/combat/Battle.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "world/City.h"
#include "world/Province.h"

namespace longrun {

namespace {

// The King's money pool and its holders may pass the treasury by this much
// (the pool's own clamp allows 0.0001) plus the rounding of sums of floats.
constexpr double kPoolTolerance = 0.0001;
constexpr double kPoolRelativeTolerance = 1e-5;
constexpr uint32_t kMaxDiplomaticPlans = 3;

template <class Item, class Function> void Walk(const TListBase<Item>& list, Function function) {
    typename TListBase<Item>::CListPosition node = nullptr;
    for (list.GetHeadPosition(node); node; TListBase<Item>::MoveNext(node))
        if (!node->removed)
            function(node->item);
}

std::string IdText(const ObjectId& id) {
    return "{" + std::to_string(id.type) + ", " + std::to_string(id.number) + "}";
}

std::string UnitText(const CUnit& unit) {
    std::string text = unit.IsFleet() ? "fleet \"" : "army \"";
    text += unit.GetName() + "\" " + IdText(unit.GetId());
    if (const CCountry* owner = unit.GetOwner())
        text += " of " + owner->GetTag();
    return text;
}

std::string CountryText(const CCountry& country) {
    return "country " + std::to_string(country.GetNumber()) + " " + country.GetTag();
}

std::string ProvinceText(int32_t id) {
    const CProvince* province = GetProvince(id);
    std::string text = "province " + std::to_string(id);
    if (province && !province->name.empty())
        text += " (" + province->name + ")";
    return text;
}

std::string Number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

class Checker {
public:
    explicit Checker(bool host) : m_host(host) {}

    std::vector<WorldFault> Run() {
        CollectUnits();
        CheckPlaces();
        CheckKeptTroops();
        CheckFigures();
        CheckLeaders();
        CheckCombats();
        if (m_host)
            CheckMovement();
        CheckComputerPlayers();
        CheckProvinces();
        return std::move(m_faults);
    }

private:
    struct Held {
        const CCountry* country;
        bool raising;
    };

    void Fault(int rule, std::string what, std::string where, std::string objects) {
        m_faults.push_back({rule, std::move(what), std::move(where), std::move(objects)});
    }

    // Every unit of the countries' lists, in country and list order.
    void CollectUnits() {
        for (const CCountry* country : g_countries) {
            if (!country)
                continue;
            for (const bool raising : {false, true}) {
                const auto& list = raising ? country->m_unitsInDevelopment : country->m_units;
                Walk(list, [&](CUnit* unit) {
                    if (!unit)
                        return;
                    const auto [it, fresh] = m_held.emplace(unit, Held{country, raising});
                    if (!fresh) {
                        Fault(1, "a unit is in two lists",
                              CountryText(*it->second.country) + " and " + CountryText(*country),
                              UnitText(*unit));
                        return;
                    }
                    m_units.push_back(unit);
                });
            }
        }
    }

    void CheckPlaces() {
        for (const CUnit* unit : m_units) {
            const Held& held = m_held.at(unit);
            if (unit->GetOwner() != held.country)
                Fault(1, "a unit names another owner than the country whose list holds it",
                      CountryText(*held.country), UnitText(*unit));
            if (!unit->IsFleet()) {
                const CNavalUnit* carrier = static_cast<const CLandUnit*>(unit)->GetCarrier();
                if (carrier) {
                    // Aboard, an army has no province of its own: 0, or
                    // (as the units keep it) its carrier's province.
                    if (unit->GetLocation() != 0 && unit->GetLocation() != carrier->GetLocation())
                        Fault(1, "an army aboard a fleet stands in another province than its fleet",
                              ProvinceText(unit->GetLocation()),
                              UnitText(*unit) + ", carrier " + UnitText(*carrier) + " in " +
                                  ProvinceText(carrier->GetLocation()));
                    if (!m_held.count(carrier))
                        Fault(1, "an army's carrier is in no country's list", "the carrier's cargo",
                              UnitText(*unit));
                    else if (!carrier->GetCargo().Contains(
                                 static_cast<CLandUnit*>(const_cast<CUnit*>(unit))))
                        Fault(1, "an army names a carrier whose cargo does not hold it",
                              "the cargo of " + UnitText(*carrier), UnitText(*unit));
                    continue;
                }
            }
            if (!IsProvinceLocation(unit->GetLocation()) || unit->GetLocation() < kFirstProvinceId)
                Fault(1, "a unit stands in no province and on no fleet",
                      ProvinceText(unit->GetLocation()), UnitText(*unit));
            if (unit->IsFleet())
                Walk(static_cast<const CNavalUnit*>(unit)->GetCargo(), [&](CLandUnit* army) {
                    if (!army)
                        return;
                    if (army->GetCarrier() != unit)
                        Fault(1, "a fleet carries an army that names another carrier",
                              "the cargo of " + UnitText(*unit), UnitText(*army));
                    if (!m_held.count(army))
                        Fault(1, "a fleet carries an army that is in no country's list",
                              "the cargo of " + UnitText(*unit), UnitText(*army));
                });
            if (g_idEntityRegistry && ResolveId(unit->GetId()) != unit)
                Fault(1, "a unit's id does not find it in the id registry",
                      CountryText(*held.country), UnitText(*unit));
        }
        if (!g_idEntityRegistry)
            return;
        uint32_t registered = 0;
        g_idEntityRegistry->ForEach([&registered](CIdEntity* entity) {
            registered += dynamic_cast<CUnit*>(entity) != nullptr;
        });
        // A siege's garrison is in no country's list: it stands in its
        // fortress.
        uint32_t garrisons = 0;
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
            const CProvince* province = GetProvince(id);
            if (!province || !province->combats)
                continue;
            for (size_t i = 0; i < province->combats->GetCount(); ++i) {
                auto* combat = dynamic_cast<CCombat*>(province->combats->At(i));
                if (combat && combat->GetSiege())
                    for (const CUnit* unit : combat->Defenders().UnitsInOrder())
                        garrisons += !m_held.count(unit);
            }
        }
        if (registered != m_units.size() + garrisons)
            Fault(1, "the id registry holds another number of units than the countries' lists",
                  "the id registry",
                  std::to_string(registered) + " registered, " + std::to_string(m_units.size()) +
                      " in lists, " + std::to_string(garrisons) + " in garrisons");
    }

    void CheckKeptTroops() {
        for (const CCountry* country : g_countries) {
            if (!country)
                continue;
            for (size_t kind = 0; kind < country->m_keptUnits.size(); ++kind)
                if (country->m_keptUnits[kind] < 0)
                    Fault(2, "a country keeps a negative number of troops outside its units",
                          CountryText(*country),
                          "class " + std::to_string(kind) + ": " +
                              std::to_string(country->m_keptUnits[kind]));
        }
    }

    void CheckFigures() {
        for (const CCountry* country : g_countries) {
            if (!country)
                continue;
            const std::string where = CountryText(*country);
            const std::pair<const char*, float> figures[] = {
                {"treasury", country->m_treasury},   {"income", country->m_income},
                {"inflation", country->m_inflation}, {"manpower", country->m_manpower},
                {"colonists", country->m_colonists}, {"diplomats", country->m_diplomats},
                {"merchants", country->m_merchants}};
            for (const auto& [name, value] : figures)
                if (!std::isfinite(value))
                    Fault(3, std::string("a country's ") + name + " is not a number", where,
                          Number(value));
            const std::pair<const char*, float> stocks[] = {{"manpower", country->m_manpower},
                                                            {"colonists", country->m_colonists},
                                                            {"diplomats", country->m_diplomats},
                                                            {"merchants", country->m_merchants}};
            for (const auto& [name, value] : stocks)
                if (value < 0.0f)
                    Fault(3, std::string("a country's ") + name + " is negative", where,
                          Number(value));
            CheckKingsMoney(*country);
        }
        for (const CUnit* unit : m_units) {
            for (int i = 0; i < 3; ++i) {
                const float strength = unit->GetStrength(i);
                if (!std::isfinite(strength) || strength < 0.0f)
                    Fault(3, "a unit's strength is negative or not a number",
                          ProvinceText(unit->GetLocation()),
                          UnitText(*unit) + " strength " + std::to_string(i) + " = " +
                              Number(strength));
            }
            if (!std::isfinite(unit->morale) || unit->morale < 0.0f)
                Fault(3, "a unit's morale is negative or not a number",
                      ProvinceText(unit->GetLocation()),
                      UnitText(*unit) + " morale " + Number(unit->morale));
        }
    }

    void CheckKingsMoney(const CCountry& country) {
        const auto* ai = dynamic_cast<const CAICountry*>(&country);
        const CAIKing* king = ai ? ai->GetKing() : nullptr;
        if (!king)
            return;
        double held = 0.0;
        Walk(king->GetHolders(AIRES_MONEY), [&held](CAIAgent* agent) {
            if (agent)
                held += agent->GetMoney();
        });
        const double pool = king->GetMoney();
        const double treasury = country.m_treasury;
        const double tolerance = kPoolTolerance + kPoolRelativeTolerance * std::fabs(treasury);
        if (!std::isfinite(pool) || !std::isfinite(held))
            Fault(3, "a King's money is not a number", CountryText(country),
                  "pool " + Number(pool) + ", held " + Number(held));
        else if (pool + held > treasury + tolerance)
            Fault(3, "a King's pool and its holders' money exceed the treasury",
                  CountryText(country),
                  "pool " + Number(pool) + " + held " + Number(held) + " > treasury " +
                      Number(treasury));
    }

    void CheckLeaders() {
        std::map<const CLeader*, const CUnit*> onUnit;
        for (const CUnit* unit : m_units)
            Walk(unit->GetLeaders(), [&](CLeader* leader) {
                if (!leader)
                    return;
                if (leader->GetUnit() != unit)
                    Fault(4, "a unit lists a leader that names another unit",
                          ProvinceText(unit->GetLocation()),
                          UnitText(*unit) + ", leader \"" + leader->GetName() + "\"");
                const auto [it, fresh] = onUnit.emplace(leader, unit);
                if (!fresh)
                    Fault(4, "a leader is on two units", ProvinceText(unit->GetLocation()),
                          "leader \"" + leader->GetName() + "\" on " + UnitText(*it->second) +
                              " and " + UnitText(*unit));
            });
    }

    // Each combat's sides list live units that name it (as their field
    // battle or their siege), and each unit's combat lists it.
    void CheckCombats() {
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
            const CProvince* province = GetProvince(id);
            if (!province || !province->combats)
                continue;
            for (size_t i = 0; i < province->combats->GetCount(); ++i) {
                auto* combat = dynamic_cast<CCombat*>(province->combats->At(i));
                if (!combat)
                    continue;
                const ObjectId combatId = combat->GetId();
                if (FindCombatById(combatId) != combat)
                    Fault(4, "a combat's id does not find it", ProvinceText(id),
                          combat->GetName() + " " + IdText(combatId));
                for (CCombatSide* side : {&combat->Attackers(), &combat->Defenders()})
                    Walk(side->GetUnits(), [&](CUnit* unit) {
                        if (!unit)
                            return;
                        const std::string objects =
                            combat->GetName() + " " + IdText(combatId) +
                            (side->attacker ? ", attacker " : ", defender ");
                        // A siege's garrison stands in its fortress, in
                        // no country's list, but must still name its siege.
                        const bool garrison = !side->attacker && combat->GetSiege();
                        if (!m_held.count(unit) && !garrison)
                            Fault(4, "a combat lists a unit that is in no country's list",
                                  ProvinceText(id), objects + "unit (gone)");
                        else if (unit->GetCombat() != combatId &&
                                 unit->GetSiegeCombat() != combatId)
                            Fault(4, "a combat lists a unit that does not name it",
                                  ProvinceText(id), objects + UnitText(*unit));
                    });
            }
        }
        for (const CUnit* unit : m_units)
            for (const ObjectId& combatId : {unit->GetCombat(), unit->GetSiegeCombat()}) {
                if (combatId.IsNull())
                    continue;
                CCombat* combat = FindCombatById(combatId);
                auto* self = const_cast<CUnit*>(unit);
                if (!combat)
                    Fault(4, "a unit names a combat that does not exist",
                          ProvinceText(unit->GetLocation()),
                          UnitText(*unit) + ", combat " + IdText(combatId));
                else if (!combat->Attackers().GetUnits().Contains(self) &&
                         !combat->Defenders().GetUnits().Contains(self))
                    Fault(4, "a unit names a combat whose sides do not list it",
                          ProvinceText(unit->GetLocation()),
                          UnitText(*unit) + ", " + combat->GetName() + " " + IdText(combatId));
            }
    }

    void CheckMovement() {
        std::map<std::pair<uint16_t, uint32_t>, int> steps;
        g_scheduler.ForEachEvent([&steps](COVEvent* event) {
            if (!event || event->GetType() != EVT_UNNAMED_57 ||
                event->GetReceiver() != g_unitServerId)
                return;
            const ObjectId unit = event->Payload().Get(MoveStepPayload::kUnit);
            ++steps[{unit.type, unit.number}];
        });
        for (const CUnit* unit : m_units) {
            const auto found = steps.find({unit->GetId().type, unit->GetId().number});
            const int pending = found == steps.end() ? 0 : found->second;
            const bool moving = !unit->IsPathEmpty() && !unit->IsInCombat() &&
                                !unit->IsInDevelopment() && unit->GetLocation() != 0;
            if (pending > 1 || (moving && pending != 1))
                Fault(5,
                      moving ? "a moving unit has not exactly one pending move step"
                             : "a unit has more than one pending move step",
                      ProvinceText(unit->GetLocation()),
                      UnitText(*unit) + ", " + std::to_string(pending) + " steps pending");
            int32_t previous = unit->GetLocation();
            Walk(unit->GetPath(), [&](int32_t next) {
                const CProvince* from =
                    previous >= kFirstProvinceId ? GetProvince(previous) : nullptr;
                if (from && !from->IsNeighbour(next))
                    Fault(5, "a path steps between provinces that are not neighbours",
                          ProvinceText(previous) + " to " + ProvinceText(next), UnitText(*unit));
                previous = next;
            });
            if (unit->IsFleet() && unit->GetLocation() >= kFirstProvinceId) {
                const CProvince* province = GetProvince(unit->GetLocation());
                if (province && !province->IsSea() && province->GetFortressLevel() < 1)
                    Fault(5, "a fleet stands in a land province without a fortress",
                          ProvinceText(unit->GetLocation()), UnitText(*unit));
            }
        }
    }

    static void CollectAgents(CAIAgent* agent, std::vector<CAIAgent*>& out) {
        if (!agent)
            return;
        out.push_back(agent);
        Walk(agent->GetChildren(), [&out](CAIAgent* child) { CollectAgents(child, out); });
    }

    void CheckComputerPlayers() {
        for (CCountry* country : g_countries) {
            auto* ai = dynamic_cast<CAICountry*>(country);
            if (!ai || !ai->GetKing())
                continue;
            std::vector<CAIAgent*> agents;
            CollectAgents(ai->GetKing(), agents);
            const std::string where = CountryText(*country);
            for (CAIAgent* agent : agents) {
                m_liveAgents.insert(agent);
                for (CUnitList* list : {agent->GetArmies(), agent->GetFleets()}) {
                    if (!list)
                        continue;
                    Walk(*list, [&](CUnit* unit) {
                        if (!unit)
                            return;
                        if (!m_held.count(unit))
                            Fault(6, "an agent holds a unit that is in no country's list", where,
                                  std::string(agent->GetName()) + " " + IdText(agent->GetId()) +
                                      ", unit " + IdText(unit->GetId()));
                        else if (unit->GetAIAgent() != agent)
                            Fault(6, "an agent holds a unit that names another agent", where,
                                  std::string(agent->GetName()) + " " + IdText(agent->GetId()) +
                                      ", " + UnitText(*unit));
                    });
                }
                if (dynamic_cast<CAIDiplomacyMinister*>(agent)) {
                    uint32_t plans = 0;
                    Walk(agent->GetChildren(),
                         [&plans](CAIAgent* child) { plans += child && child->IsPlan(); });
                    if (plans > kMaxDiplomaticPlans)
                        Fault(6, "a diplomacy minister runs more than three plans", where,
                              std::to_string(plans) + " plans");
                }
            }
        }
        for (const CUnit* unit : m_units) {
            CAIAgent* agent = unit->GetAIAgent();
            if (!agent)
                continue;
            if (!m_liveAgents.count(agent)) {
                Fault(6, "a unit names an agent that is not alive",
                      ProvinceText(unit->GetLocation()), UnitText(*unit));
                continue;
            }
            CUnitList* list = unit->IsFleet() ? agent->GetFleets() : agent->GetArmies();
            if (!list || !list->Contains(const_cast<CUnit*>(unit)))
                Fault(6, "a unit names an agent that does not hold it",
                      ProvinceText(unit->GetLocation()),
                      UnitText(*unit) + ", agent " + agent->GetName() + " " +
                          IdText(agent->GetId()));
        }
    }

    void CheckProvinces() {
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
            const CProvince* province = GetProvince(id);
            if (!province)
                continue;
            if (province->aiHolder && !m_liveAgents.count(province->aiHolder))
                Fault(6, "a province's responsible agent is not alive", ProvinceText(id),
                      "agent " + IdText(province->aiHolder->GetId()));
            if (province->natives > province->maxNatives && province->maxNatives >= 0)
                Fault(7, "a province holds more natives than its maximum", ProvinceText(id),
                      std::to_string(province->natives) + " > " +
                          std::to_string(province->maxNatives));
            if (province->GetControllerNumber() >= 0 && province->GetOwnerNumber() < 0)
                Fault(7, "a province has a controller and no owner", ProvinceText(id),
                      "controller " + std::to_string(province->GetControllerNumber()));
        }
    }

    bool m_host;
    std::vector<WorldFault> m_faults;
    std::vector<const CUnit*> m_units;
    std::map<const CUnit*, Held> m_held;
    std::set<const CAIAgent*> m_liveAgents;
};

} // namespace

std::vector<WorldFault> CheckWorld(bool host) {
    std::vector<WorldFault> faults = Checker(host).Run();
    std::stable_sort(faults.begin(), faults.end(),
                     [](const WorldFault& a, const WorldFault& b) { return a.rule < b.rule; });
    return faults;
}

std::vector<WorldFault> EndedCombatWatch::NoteDay() {
    std::vector<WorldFault> faults;
    std::set<std::pair<uint16_t, uint32_t>> ended;
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province || !province->combats)
            continue;
        for (size_t i = 0; i < province->combats->GetCount(); ++i) {
            auto* combat = dynamic_cast<CCombat*>(province->combats->At(i));
            if (!combat || !combat->ended)
                continue;
            const std::pair<uint16_t, uint32_t> key{combat->GetId().type, combat->GetId().number};
            if (m_ended.count(key))
                faults.push_back({4, "an ended combat is still there a day later", ProvinceText(id),
                                  combat->GetName() + " " + IdText(combat->GetId())});
            ended.insert(key);
        }
    }
    m_ended = std::move(ended);
    return faults;
}

std::string DescribeFault(const WorldFault& fault) {
    return "rule " + std::to_string(fault.rule) + ": " + fault.what + "; where: " + fault.where +
           "; objects: " + fault.objects;
}

} // namespace longrun
