// The revolt risk of a province: its terms, their sum and the province
// window's description of them.
#include <algorithm>
#include <limits>

#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/ProvinceWork.h"

namespace {

// The country whose absence leaves the Dutch provinces restless.
constexpr int32_t kDutchCountry = 4;
// The modifier kind of the events' revolt risk.
constexpr int32_t kRevoltModifier = 3;
// Event flags: 1 protestant allowed, 2 reformed allowed, 4 the demarcation
// treaty ends.
constexpr uint32_t kProtestantFlag = 1;
constexpr uint32_t kReformedFlag = 2;
constexpr uint32_t kTreatyEndFlag = 4;

constexpr int32_t kDaysPerYear = 360;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// Toward zero, held within the integer range (0 for NaN).
int32_t Truncate(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483520.0, 2147483520.0));
}

bool CountryExists(int32_t country) {
    return country >= 0 && g_provinceEconomy.countryExists &&
           g_provinceEconomy.countryExists(country);
}

float ToleranceOf(int32_t country, int32_t religion) {
    return g_provinceWork.toleranceOf ? g_provinceWork.toleranceOf(country, religion) : 0.0f;
}

int32_t StateReligionOf(int32_t country) {
    return country >= 0 && g_provinceEconomy.stateReligionOf
               ? g_provinceEconomy.stateReligionOf(country)
               : -1;
}

// Counter-reformed and catholic count as one faith.
bool IsSameReligion(int32_t a, int32_t b) {
    const auto catholic = [](int32_t r) {
        return r == RELIGION_COUNTERREFORM || r == RELIGION_CATHOLIC;
    };
    return a == b || (catholic(a) && catholic(b));
}

bool IsNational(int32_t country, int32_t province) {
    return g_provinceWork.isNationalProvince &&
           g_provinceWork.isNationalProvince(country, province);
}

// Whole years from the date to today, 0 for a date ahead.
int32_t WholeYearsSince(const CDate& date) {
    const int64_t days = int64_t{Today().GetDayCount()} - date.GetDayCount();
    return days > 0 ? static_cast<int32_t>(days / kDaysPerYear) : 0;
}

// Each term of the risk as it applies to the province.
struct RevoltTerms {
    bool outsideRule = false; // trading post or colony: no risk
    int32_t religion = 0;
    int32_t dutch = 0;
    int32_t stability = 0;
    int32_t manufactory = 0;
    int32_t capital = 0;
    int32_t occupation = 0;
    int32_t rebels = 0;
    int32_t exhaustion = 0;
    int32_t warTaxes = 0;
    int32_t bankruptcy = 0;
    int32_t bailiff = 0;
    int32_t courthouse = 0;
    int32_t event = 0;
    int32_t nationalism = 0;
    int32_t total = 0;
};

} // namespace

namespace {

RevoltTerms ComputeTerms(const CProvince& province) {
    RevoltTerms t;
    const int32_t owner = province.GetOwnerNumber();
    const int32_t controller = province.GetControllerNumber();
    const CCity* city = province.GetCity();
    if (owner < 0 || province.GetTradingPost() || (city && city->IsColony())) {
        t.outsideRule = true;
        return t;
    }
    const int32_t id = province.GetNumber();

    const int32_t religion = province.GetReligion();
    const double tolerance = ToleranceOf(owner, religion);
    t.religion = IsSameReligion(religion, StateReligionOf(controller)) ? Truncate(6.0 - tolerance)
                                                                       : Truncate(1.0 - tolerance);
    int64_t r = t.religion;

    if (CountryExists(owner) && !g_fantasyMode && province.IsDutchProvince() &&
        g_globals.EventFlag(kReformedFlag) && !g_globals.EventFlag(kTreatyEndFlag) &&
        !CountryExists(kDutchCountry) && !g_globals.dutch) {
        t.dutch = province.GetDutchRevoltRisk();
        r += t.dutch;
    }

    const int32_t stability = controller >= 0 && g_provinceEconomy.stabilityOf
                                  ? g_provinceEconomy.stabilityOf(controller)
                                  : 0;
    t.stability = -(stability + 2);
    r += t.stability;

    if (city && city->manufactory != CCity::MANUFACTORY_NONE)
        t.manufactory = -1;
    const bool capital = g_provinceWork.capitalOf ? g_provinceWork.capitalOf(owner) == id
                                                  : (city && city->IsCapital());
    if (capital)
        t.capital = -2;
    if (controller != owner)
        t.occupation = 1;

    const int32_t leading = std::min(province.neighbourCount, province.GetNeighbourTotal());
    for (int32_t i = 0; i < leading; ++i) {
        const CProvince* other = GetProvince(province.neighbours[static_cast<size_t>(i)].id);
        if (other && other->GetControllerNumber() == kRebelCountry) {
            t.rebels = 2;
            break;
        }
    }

    const bool national = IsNational(owner, id);
    CDate peace;
    if (g_provinceWork.lastPeaceOf && g_provinceWork.lastPeaceOf(owner, peace)) {
        t.exhaustion = std::min(WholeYearsSince(peace) / 2, 5);
        if (!national)
            t.exhaustion *= 2;
    }
    if (g_provinceEconomy.warTaxMonthsOf && g_provinceEconomy.warTaxMonthsOf(owner) > 0)
        t.warTaxes = 1;
    CDate bankruptcy;
    if (controller >= 0 && g_provinceWork.lastBankruptcyOf &&
        g_provinceWork.lastBankruptcyOf(controller, bankruptcy) &&
        int64_t{Today().GetDayCount()} - bankruptcy.GetDayCount() < kDaysPerYear)
        t.bankruptcy = 1;
    if (city && city->HasImprovement(CCity::IMPROVEMENT_BAILIFF))
        t.bailiff = 3;
    if (city && city->HasImprovement(CCity::IMPROVEMENT_COURTHOUSE))
        t.courthouse = -1;
    r += t.manufactory + t.capital + t.occupation + t.rebels + t.exhaustion + t.warTaxes +
         t.bankruptcy + t.bailiff + t.courthouse;

    const double modifier = controller >= 0 && g_provinceWork.modifierOf
                                ? g_provinceWork.modifierOf(controller, kRevoltModifier)
                                : 0.0;
    const int32_t before = Truncate(static_cast<double>(r));
    const int32_t after = Truncate(static_cast<double>(r) + modifier);
    t.event = after - before;

    if (!national && province.continent == 2) {
        const int32_t years = Today().year - province.nationalismDate.year;
        t.nationalism = years < 10 ? 3 : (years < 20 ? 2 : (years < 30 ? 1 : 0));
    }
    t.total = std::max(after + t.nationalism, t.nationalism);
    return t;
}

void AddLine(std::string& text, const char* key, int32_t value) {
    text += FormatDataText(g_textDatabase.GetText(key), {value});
    if (text.empty() || text.back() != '\n')
        text += '\n';
}

} // namespace

int32_t CProvince::GetRevoltRisk() const {
    return ComputeTerms(*this).total;
}

int32_t CProvince::GetDutchRevoltRisk() const {
    if (m_owner < 0 || g_fantasyMode)
        return 0;
    const int32_t faith = StateReligionOf(m_owner);
    int32_t b = 16;
    switch (faith) {
    case RELIGION_PROTESTANT:
        b = 11;
        break;
    case RELIGION_REFORMED:
        b = 1;
        break;
    case RELIGION_ORTHODOX:
    case RELIGION_SUNNI:
    case RELIGION_SHIITE:
        b = 31;
        break;
    case RELIGION_COUNTERREFORM:
    case RELIGION_CATHOLIC: {
        const bool catholicHere =
            religion == RELIGION_CATHOLIC ||
            (religion == RELIGION_PROTESTANT && !g_globals.EventFlag(kProtestantFlag)) ||
            (religion == RELIGION_REFORMED && !g_globals.EventFlag(kReformedFlag));
        b = catholicHere ? 6 : 31;
        break;
    }
    default:
        break;
    }
    const int32_t effective = GetReligion();
    if (effective == RELIGION_COUNTERREFORM)
        b -= 20;
    else if (effective == RELIGION_CATHOLIC)
        b -= 15;
    const int32_t risk =
        b + 20 - Truncate(static_cast<double>(ToleranceOf(m_owner, RELIGION_REFORMED)) + 10.0);
    return std::max(risk, 1);
}

std::string CProvince::DescribeRevoltRisk() const {
    const RevoltTerms t = ComputeTerms(*this);
    if (t.outsideRule) {
        if (m_tradingPost || (m_city && m_city->IsColony()))
            return g_textDatabase.GetText("RRISK_TP_COL");
        return std::string();
    }
    std::string text;
    AddLine(text, t.religion < 0 ? "RRISK_RELIGION2" : "RRISK_RELIGION", t.religion);
    if (t.dutch != 0)
        AddLine(text, "RRISK_DUTCH", t.dutch);
    AddLine(text, t.stability < 0 ? "RRISK_STAB" : "RRISK_STABP", t.stability);
    const std::pair<const char*, int32_t> others[] = {
        {"RRISK_MANU", t.manufactory},       {"RRISK_CAP", t.capital},
        {"RRISK_OCCU", t.occupation},        {"RRISK_BAILIFF", t.bailiff},
        {"RRISK_COURTHOUSE", t.courthouse},  {"RRISK_REB", t.rebels},
        {"RRISK_EXHAU", t.exhaustion},       {"RRISK_WARTAXES", t.warTaxes},
        {"RRISK_BANKRUPTCY", t.bankruptcy},  {"RRISK_EVENT", t.event},
        {"RRISK_NATIONALISM", t.nationalism}};
    for (const auto& [key, value] : others)
        if (value != 0)
            AddLine(text, key, value);
    return text;
}
