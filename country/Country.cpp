#include "country/Country.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "country/CountryGameFile.h"
#include "country/CountryMarks.h"
#include "country/CountryMilitary.h"
#include "country/CountryVariants.h"
#include "country/PayloadChecks.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/CDAudio.h"
#include "engine/Config.h"
#include "engine/TextDatabase.h"
#include "net/Receivers.h"
#include "net/Session.h"
#include "platform/Files.h"
#include "world/City.h"
#include "world/Discovery.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/TradingPost.h"

std::array<CCountry*, kCountrySlots> g_countries{};
COwningList<CCountry> g_countryList;
std::array<uint32_t, kCountrySlots> g_countryController{};
CountryMilitaryHooks g_countryMilitary;

namespace {

// A country's id in the data tree prints as its tag.
const bool g_tagSourceWired = (SetCountryTagSource(FindCountryTagOfNumber), true);

// The music plays the own track of the country of this machine's slot.
const bool g_musicChoiceRegistered = [] {
    g_musicChoice.localCountryMusicGroup = [](int32_t& group) {
        if (!g_netSession || g_netSession->m_localSlot < 0 ||
            static_cast<uint32_t>(g_netSession->m_localSlot) >= kNetMaxSlots)
            return false;
        const CCountry* country = CountryOfNumber(
            g_netSession->GetSlot(static_cast<uint32_t>(g_netSession->m_localSlot)).country);
        if (!country)
            return false;
        group = country->m_musicGroup;
        return true;
    };
    return true;
}();

static_assert(kCountrySlots == kNetCountrySlots, "a session slot holds any country number");

// A message for receiver {3, n} reaches country n through its handler
// interface; a broadcast reaches the countries through their list, the first
// that answers ending it.
const bool g_countryReceiversRegistered = [] {
    g_directReceivers.country = [](uint32_t number) -> CEventHandler* {
        return CountryOfNumber(number);
    };
    return RegisterBroadcastReceiver(kSlotCountries,
                                     [](COVEvent& event) { return g_countryList.Dispatch(event); });
}();

// The session names a departed player's country by its tag and marks who
// plays each country.
const bool g_sessionCountriesRegistered = [] {
    g_sessionCountries.tag = FindCountryTagOfNumber;
    g_sessionCountries.clearMarks = ResetCountryMarks;
    g_sessionCountries.setMark = [](uint32_t number, uint32_t mark) {
        if (number < kCountrySlots)
            g_countryController[number] = mark;
    };
    g_sessionCountries.mark = [](uint32_t number) -> uint32_t {
        return number < kCountrySlots ? g_countryController[number] : 0;
    };
    return true;
}();

// Copies the text into a fixed field, cut to fit.
template <size_t N> void CopyText(char (&field)[N], const char* text) {
    const size_t length = std::min(std::strlen(text), N - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

std::string CutText(const char* text, size_t size) {
    std::string result(text);
    if (result.size() >= size)
        result.resize(size - 1);
    return result;
}

bool IsNumber(const Token& token) {
    return token.code == TOKEN_NUMBER;
}

// The treasury of a human-played country in a fresh scenario is scaled by
// the difficulty setting.
float TreasuryFactor(uint32_t difficulty) {
    switch (difficulty) {
    case 0:
        return 3.0f;
    case 1:
        return 2.0f;
    case 2:
        return 1.0f;
    case 3:
        return 0.75f;
    case 4:
        return 0.5f;
    default:
        return 1.0f;
    }
}

float Clamp01(float value) {
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

CDataBlock* MakeIntListNode(const CIntList& list) {
    auto* block = new CDataBlock;
    auto& items = const_cast<CIntList&>(list);
    items.ForEach([block](int32_t value) { block->AddChild(new CDataInt(value)); });
    return block;
}

std::vector<int32_t> ListItems(CIntList& list) {
    std::vector<int32_t> items;
    list.ForEach([&items](int32_t value) { items.push_back(value); });
    return items;
}

// Takes the city out of every country's city list (and the trading post out
// of the trading-post lists).
void ForgetCity(CCity* city) {
    for (CCountry* country : g_countries)
        if (country && city)
            country->m_cities.Remove(city);
}

void ForgetTradingPost(CTradingPost* post) {
    for (CCountry* country : g_countries)
        if (country && post)
            country->m_tradingPosts.Remove(post);
}

// Reads a table from the file the game path names through a reader of its
// own, which stands in for the given one.
template <class Table>
int32_t ReadTableFile(CFieldReader& reader, const std::string& path, Table& table) {
    CFieldReader fileReader;
    fileReader.currentCountry = reader.currentCountry;
    fileReader.Open(path, "r");
    const int32_t result = table.ReadFile(fileReader);
    fileReader.Close();
    return result;
}

// "diplomaticdates" and "wardates": tag and date pairs up to the "}".
int32_t ReadDateTable(CFieldReader& in, std::array<CDate, kCountrySlots>& dates) {
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next();
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            continue;
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No Left curly");
            continue;
        }
        const int32_t number = FindCountryByTag(in.key.text);
        if (number <= 0 || number >= static_cast<int32_t>(kCountrySlots)) {
            // No country 0: the date of an unknown tag is read and dropped.
            in.ReportError("unknown tag");
            CDate dropped;
            if (dropped.Read(in) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            continue;
        }
        dates[static_cast<size_t>(number)].Read(in);
    }
}

void AddEntry(CDataBlock& block, uint32_t keyword, CDataNode* value) {
    block.AddChild(new CDataAssignment(keyword, value));
}

// The provinces find their owners and controllers by number and keep the
// countries' province and settlement lists.
const bool g_provinceCountriesRegistered = [] {
    ProvinceCountryHooks& hooks = g_provinceCountries;
    hooks.countryOfNumber = [](int32_t number) { return CountryOfNumber(number); };
    hooks.numberOf = [](const CCountry& country) {
        return static_cast<int32_t>(country.GetNumber());
    };
    hooks.provinceList = [](CCountry& country, bool controlled) {
        return controlled ? &country.m_controlledProvinces : &country.m_ownedProvinces;
    };
    hooks.forgetCity = [](CCountry& country, CCity* city) { country.m_cities.Remove(city); };
    hooks.forgetTradingPost = [](CCountry& country, CTradingPost* post) {
        country.m_tradingPosts.Remove(post);
    };
    hooks.territoryList = [](CCountry& country) { return &country.m_territories; };
    hooks.capitalOf = [](const CCountry& country) { return country.m_capital; };
    return true;
}();

} // namespace

// ---------------------------------------------------------------------------
// Tags

CCountry* CountryOfNumber(int64_t number) {
    return number >= 0 && number < static_cast<int64_t>(kCountrySlots)
               ? g_countries[static_cast<size_t>(number)]
               : nullptr;
}

// ---------------------------------------------------------------------------
// The country

namespace {

// Takes every unit off both lists and hands each list's units to the
// military, which deletes them.
void DeleteUnits(CLinkedList<CUnit>& units, CLinkedList<CUnit>& inDevelopment) {
    for (CLinkedList<CUnit>* list : {&units, &inDevelopment}) {
        std::vector<CUnit*> taken;
        list->ForEach([&taken](CUnit* unit) { taken.push_back(unit); });
        list->RemoveAll();
        if (!taken.empty() && g_countryMilitary.deleteUnits)
            g_countryMilitary.deleteUnits(taken);
    }
}

} // namespace

CCountry::CCountry(uint32_t number) : CNamedObject("Country"), m_number(number) {
    (void)g_tagSourceWired;
    m_diplomacy.Init(number);
    m_lastPeace = CScenario::GetGameDate();
    m_technology.SetOwner(this);
}

CCountry::~CCountry() {
    if (m_number < kCountrySlots && g_countries[m_number] == this)
        g_countries[m_number] = nullptr;
    DeleteUnits(m_units, m_unitsInDevelopment);
}

void CMonarchDeleter::operator()(CMonarch* monarch) const {
    if (monarch && g_countryMilitary.deleteMonarch)
        g_countryMilitary.deleteMonarch(monarch);
}

namespace {

std::unique_ptr<CCountry> MakeVariant(std::unique_ptr<CCountry> (*make)(uint32_t),
                                      uint32_t number) {
    std::unique_ptr<CCountry> made = make ? make(number) : nullptr;
    return made ? std::move(made) : std::make_unique<CCountry>(number);
}

} // namespace

CountryVariantHooks g_countryVariants;

std::unique_ptr<CCountry> MakeCountryOfKind(uint32_t number, uint32_t kind) {
    switch (kind) {
    case 0:
        if (IsHost())
            return MakeVariant(g_countryVariants.computer, number);
        return std::make_unique<CCountry>(number);
    case 1:
        if (CScenario::IsTutorial() && g_countryVariants.tutorialScreen) {
            const std::string script = g_scenarioInfo ? g_scenarioInfo->optionFile : std::string();
            if (std::unique_ptr<CCountry> made = g_countryVariants.tutorialScreen(number, script))
                return made;
            return std::make_unique<CCountry>(number);
        }
        if (CScenario::IsTutorial())
            return std::make_unique<CCountry>(number);
        return MakeVariant(g_countryVariants.mainScreen, number);
    case 4:
        return MakeVariant(g_countryVariants.type4, number);
    case 5:
        return MakeVariant(g_countryVariants.type5, number);
    case 6:
        return MakeVariant(g_countryVariants.type6, number);
    default:
        return std::make_unique<CCountry>(number);
    }
}

CCountry* CCountry::Create(uint32_t number) {
    if (number >= kCountrySlots || g_countries[number])
        return nullptr;
    std::unique_ptr<CCountry> country = MakeCountryOfKind(number, g_countryController[number]);
    if (!country || country->GetNumber() != number)
        return nullptr;
    CCountry* made = country.get();
    made->m_tag = GetCountryTag(number);
    made->SetName(GetCountryDisplayName(number).c_str());
    if (!AddCountry(std::move(country), true))
        return nullptr;
    made->m_monarch.reset();
    made->m_technology.group = TechnologyGroupOfNumber(number);
    made->SetAIPersonalityFile();
    made->ReadAiFile();
    made->LoadShields();
    return made;
}

int CCountry::SetAIPersonalityFile() {
    switch (m_number) {
    case 4:
        m_aiFile = "holland.ai";
        m_colonialNation = 1;
        break;
    case 1:
    case 2:
    case 5:
    case 7:
    case 8:
    case 67:
        m_colonialNation = 1;
        break;
    default:
        break;
    }
    return 0;
}

void CCountry::Release() {
    DeleteUnits(m_units, m_unitsInDevelopment);
    m_newLeaders.clear();
    m_monarch.reset();
    m_loans.clear();
    m_cities.RemoveAll();
    m_tradingPosts.RemoveAll();
    m_territories.RemoveAll();
    for (CIntList* list :
         {&m_knownProvinces, &m_ownedProvinces, &m_controlledProvinces, &m_nationalProvinces})
        list->RemoveAll();
}

bool CCountry::IsLocalHuman() const {
    return g_countryController[m_number % kCountrySlots] == 1;
}

int32_t CCountry::GetDifficultyOffset() const {
    const uint32_t kind = g_countryController[m_number % kCountrySlots];
    if ((kind != 1 && kind != 2) || !g_config)
        return 0;
    return static_cast<int32_t>(g_config->GetWord(ConfigOffset::kDifficulty)) - 2;
}

bool CCountry::IsNonWesternNation() const {
    static constexpr uint32_t kNumbers[] = {33, 43, 44, 62, 63, 64, 65, 66, 76, 77};
    return std::find(std::begin(kNumbers), std::end(kNumbers), m_number) != std::end(kNumbers);
}

void CCountry::AddToCappedReserve(float amount) {
    if (m_manpower < 2.0f * m_manpowerReference)
        m_manpower += amount;
}

void CCountry::AddToTreasury(float amount) {
    m_treasury = static_cast<float>(ClampFigure(double{m_treasury} + amount, kMoneyRange));
}

void CCountry::ChangeInflation(float change) {
    m_inflation = static_cast<float>(ClampFigure(double{m_inflation} + change, kInflationRange));
}

float CCountry::GetLoanAmount() const {
    if (m_stock)
        return 1000.0f;
    return m_bank ? 500.0f : 200.0f;
}

void CCountry::BookLedgerEntry(uint32_t kind, float amount) {
    m_ledger.BookIncome(kind, amount);
    const bool ordinaryIncome = kind <= 4 || kind == 9 || kind == 10;
    if (ordinaryIncome)
        m_income = static_cast<float>(ClampFigure(double{m_income} + amount, kMoneyRange));
    else
        AddToTreasury(amount);
}

void CCountry::SpendMoney(uint32_t kind, float amount) {
    m_ledger.BookExpense(kind, amount);
    if ((kind == 0 || kind == 1) && amount > m_treasury) {
        const float fromIncome = std::clamp(amount - m_treasury, 0.0f, std::max(m_income, 0.0f));
        m_income -= fromIncome;
        AddToTreasury(-(amount - fromIncome));
        return;
    }
    AddToTreasury(-amount);
}

int32_t CCountry::CountRebelProvinces() const {
    int32_t count = 0;
    const_cast<CIntList&>(m_ownedProvinces).ForEach([&count](int32_t id) {
        const CProvince* province = GetProvince(id);
        const CCountry* controller = province ? province->GetController() : nullptr;
        if (controller && controller->GetNumber() == 98)
            ++count;
    });
    return count;
}

int32_t CCountry::CountProvincesWithoutColony() const {
    int32_t count = 0;
    const_cast<CIntList&>(m_controlledProvinces).ForEach([&count](int32_t id) {
        const CProvince* province = GetProvince(id);
        const CCity* city = province ? province->GetCity() : nullptr;
        if (city && !city->IsColony())
            ++count;
    });
    return count;
}

std::string CCountry::GetMissionAreaText() const {
    const std::string text = g_textDatabase.GetText(m_missionAreaName);
    return text.compare(0, 3, "UNK") == 0 ? std::string(m_missionAreaName) : text;
}

void CCountry::AddActiveMission(const ObjectId& id) {
    for (ObjectId& slot : m_activeMissionIds) {
        if (slot.IsNull()) {
            slot = id;
            ++m_activeMissionCount;
            return;
        }
    }
}

void CCountry::RemoveActiveMission(const ObjectId& id) {
    for (ObjectId& slot : m_activeMissionIds) {
        if (!slot.IsNull() && slot == id) {
            slot = ObjectId();
            if (m_activeMissionCount > 0)
                --m_activeMissionCount;
            return;
        }
    }
}

void CCountry::AddTerritory(CLandTerritory* territory) {
    if (territory)
        m_territories.AddTail(territory);
}

bool CCountry::RemoveTerritory(CLandTerritory* territory) {
    return m_territories.Remove(territory);
}

void CCountry::AddUnit(CUnit* unit) {
    if (unit)
        m_units.AddTail(unit);
}

bool CCountry::RemoveUnit(CUnit* unit) {
    return m_units.Remove(unit) || m_unitsInDevelopment.Remove(unit);
}

void CCountry::ReadAiFile() {
    if (m_aiFile.empty())
        return;
    const std::string path = "ai\\" + m_aiFile;
    if (!platform::GameFileExists(path))
        return;
    CFieldReader reader;
    reader.currentCountry = this;
    reader.Open(path, "r");
    m_aiPrefs.Read(reader);
    reader.Close();
}

int32_t CCountry::ReadLeaderHistory(CFieldReader& reader) {
    const std::string path = "db\\leaders\\leaders." + m_historyFile;
    if (m_historyFile.empty() || !platform::GameFileExists(path))
        return FIELD_BLOCK_END;
    return ReadTableFile(reader, path, m_leaderTable);
}

int32_t CCountry::ReadMonarchHistory(CFieldReader& reader) {
    const std::string path = "db\\monarchs\\monarchs." + m_historyFile;
    if (m_historyFile.empty() || !platform::GameFileExists(path))
        return FIELD_BLOCK_END;
    return ReadTableFile(reader, path, m_monarchTable);
}

void CCountry::RecomputeCapital() {
    int32_t best = kNoCapitalProvince;
    int32_t bestTax = 0;
    for (int32_t id : ListItems(m_ownedProvinces)) {
        CProvince* province = id >= kFirstProvinceId ? GetProvince(id) : nullptr;
        if (!province)
            continue;
        if (province->GetCity() && province->GetCity()->IsCapital()) {
            m_capital = id;
            return;
        }
        if (best == kNoCapitalProvince || province->tax > bestTax) {
            best = id;
            bestTax = province->tax;
        }
    }
    m_capital = best;
}

// The six keys of a scenario mission, shared by Read and ReadMission: true
// when the key was one of them.
bool CCountry::ReadMissionField(CFieldReader& in) {
    switch (in.key.code) {
    case KW_MISSIONPERCENTAGE:
        if (IsNumber(in.value))
            m_missionPercentage = TokenToFloat(in.value.text);
        return true;
    case KW_MISSIONTYPE:
        if (IsNumber(in.value))
            m_missionType = ReadMissionType(in.value.text);
        return true;
    case KW_MISSIONAREANAME:
        if (in.value.code == TOKEN_STRING)
            CopyText(m_missionAreaName, in.value.text);
        else
            in.ReportError("No Name (scenario mission area name)");
        return true;
    case KW_MISSIONNAME:
        if (in.value.code == TOKEN_STRING)
            CopyText(m_missionName, in.value.text);
        else
            in.ReportError("No Name (scenario mission name)");
        return true;
    case KW_MISSIONAREA:
        if (in.value.code != TOKEN_OPEN_BRACE || in.ReadIntList(m_missionArea) != FIELD_BLOCK_END)
            in.ReportError("country.missionarea");
        return true;
    case KW_MISSIONALLIANCE:
        if (in.value.code != TOKEN_OPEN_BRACE || in.ReadTagList(m_missionArea, [](const char* tag) {
                return FindCountryByTag(tag);
            }) != FIELD_BLOCK_END)
            in.ReportError("country.missionalliance");
        return true;
    default:
        return false;
    }
}

int CCountry::ReadMission(CFieldReader& in) {
    m_major = 1;
    m_missionPercentage = 0.0f;
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next();
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            return result;
        if (!ReadMissionField(in)) {
            in.ReportError("Country : Unexpected field");
            return FIELD_ERROR;
        }
    }
}

int32_t CCountry::ReadProvinceList(CFieldReader& in, CIntList& list, const char* context) {
    if (in.value.code != TOKEN_OPEN_BRACE || in.ReadIntList(list) != FIELD_BLOCK_END) {
        in.ReportError(context);
        return FIELD_BLOCK_END;
    }
    const std::vector<int32_t> ids = ListItems(list);
    for (int32_t id : ids) {
        if (id < kFirstProvinceId || id > kLastProvinceId) {
            char message[64];
            std::snprintf(message, sizeof message, "Illegal province ID  %d", id);
            in.ReportError(message);
            return FIELD_ERROR;
        }
    }
    for (int32_t id : ids) {
        CProvince* province = GetProvince(id);
        switch (in.key.code) {
        case KW_OWNEDPROVINCES: {
            CCountry* oldOwner = province->GetOwner();
            if (oldOwner && oldOwner != this) {
                if (CCity* city = province->GetCity()) {
                    city->ClearCapital();
                    oldOwner->m_cities.Remove(city);
                    if (!m_cities.Contains(city))
                        m_cities.AddTail(city);
                }
                if (CTradingPost* post = province->GetTradingPost()) {
                    oldOwner->m_tradingPosts.Remove(post);
                    if (!m_tradingPosts.Contains(post))
                        m_tradingPosts.AddTail(post);
                }
            }
            province->SetOwner(this);
            DiscoverProvince(m_number, id);
            break;
        }
        case KW_CONTROLLEDPROVINCES:
            province->SetControllerField(this);
            DiscoverProvince(m_number, id);
            break;
        case KW_KNOWNPROVINCES:
            DiscoverProvince(m_number, id);
            break;
        default:
            break;
        }
    }
    return FIELD_BLOCK_END;
}

void CCountry::ReadCity(CFieldReader& in) {
    auto city = std::make_unique<CCity>();
    city->Read(in);
    CProvince* province =
        city->GetLocation() >= kFirstProvinceId ? GetProvince(city->GetLocation()) : nullptr;
    if (!province) {
        in.ReportError("country.city");
        return;
    }
    CCity* read = city.get();
    ForgetCity(province->GetCity());
    province->SetCity(std::move(city));
    m_cities.AddTail(read);
    if (read->IsCapital())
        RecomputeCapital();
}

void CCountry::ReadTradingPost(CFieldReader& in) {
    auto post = std::make_unique<CTradingPost>();
    post->Read(in);
    CProvince* province =
        post->GetLocation() >= kFirstProvinceId ? GetProvince(post->GetLocation()) : nullptr;
    if (!province) {
        in.ReportError("country.tradingpost");
        return;
    }
    CTradingPost* read = post.get();
    ForgetTradingPost(province->GetTradingPost());
    province->SetTradingPost(std::move(post));
    m_tradingPosts.AddTail(read);
}

void CCountry::ReadUnit(CFieldReader& in, bool fleet) {
    if (g_countryMilitary.readUnit)
        g_countryMilitary.readUnit(*this, in, fleet);
    else
        CKeptBlock().Read(in);
}

void CCountry::ReadMonarch(CFieldReader& in, bool historical) {
    if (g_countryMilitary.readMonarch)
        g_countryMilitary.readMonarch(*this, in, historical);
    else
        CKeptBlock().Read(in);
}

void CCountry::ReadMissionBlock(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE) {
        in.ReportError("country.activemissions");
        return;
    }
    if (m_activeMissionCount >= kMaxActiveMissions) {
        // No slot left: the block is read and dropped.
        in.ReportError("country.activemissions");
        CKeptBlock dropped;
        dropped.Read(in);
        return;
    }
    CKeptBlock& mission = m_missions[m_activeMissionCount];
    if (mission.Read(in) != FIELD_BLOCK_END) {
        mission.Clear();
        return;
    }
    m_activeMissionIds[m_activeMissionCount++] = mission.FindObjectId();
}

int32_t CCountry::ReadField(CFieldReader& in, ReadMarks& marks) {
    const Token& value = in.value;
    const uint32_t key = in.key.code;

    // The counts go up by one and are tripled in the price of a loan: they
    // are read within a bound that leaves room for both.
    constexpr int32_t kCountLimit = 1000000;
    struct IntField {
        uint32_t keyword;
        int32_t* field;
        int32_t low;
        int32_t high;
    };
    const IntField intFields[] = {
        {KW_BADBOY, &m_badBoy, INT32_MIN, INT32_MAX},
        {KW_COLONIALATTEMPTS, &m_colonialAttempts, -kCountLimit, kCountLimit},
        {KW_CANCELLEDLOANS, &m_cancelledLoans, -kCountLimit, kCountLimit},
        {KW_EXTENDEDLOANS, &m_extendedLoans, -kCountLimit, kCountLimit},
        {KW_DYNAMISM, &m_dynamism, INT32_MIN, INT32_MAX}};
    for (const IntField& field : intFields) {
        if (key == field.keyword) {
            if (IsNumber(value))
                *field.field = TokenToIntInRange(value.text, field.low, field.high);
            return FIELD_BLOCK_END;
        }
    }
    struct FloatField {
        uint32_t keyword;
        float* field;
        bool share;
    };
    const FloatField floatFields[] = {{KW_INCOME, &m_income, false},
                                      {KW_INFLATION, &m_inflation, false},
                                      {KW_BEURAUCRACY, &m_bureaucracy, false},
                                      {KW_REVOLT, &m_revolt, false},
                                      {KW_MANPOWER, &m_manpower, false},
                                      {KW_LANDMAINTENANCE, &m_landMaintenance, false},
                                      {KW_NAVALMAINTENANCE, &m_navalMaintenance, false},
                                      {KW_NAVALPERCENTAGE, &m_navalShare, true},
                                      {KW_LANDPERCENTAGE, &m_landShare, true},
                                      {KW_TEPERCENTAGE, &m_teShare, true},
                                      {KW_PEPERCENTAGE, &m_peShare, true},
                                      {KW_STABILITYPERCENTAGE, &m_stabilityShare, true},
                                      {KW_TREASURYPERCENTAGE, &m_treasuryShare, true}};
    for (const FloatField& field : floatFields) {
        if (key == field.keyword) {
            if (IsNumber(value)) {
                const float number = TokenToFloat(value.text);
                *field.field = field.share ? Clamp01(number) : number;
            }
            return FIELD_BLOCK_END;
        }
    }
    struct AgentField {
        uint32_t keyword;
        float* field;
        const char* message;
    };
    const AgentField agentFields[] = {
        {KW_COLONISTS, &m_colonists, "Can't have negative colonists"},
        {KW_DIPLOMATS, &m_diplomats, "Can't have negative diplomats"},
        {KW_MERCHANTS, &m_merchants, "Can't have negative merchants"}};
    for (const AgentField& field : agentFields) {
        if (key == field.keyword) {
            if (IsNumber(value))
                *field.field = TokenToFloat(value.text);
            if (*field.field < 0.0f) {
                in.ReportError(field.message);
                return FIELD_ERROR;
            }
            return FIELD_BLOCK_END;
        }
    }
    struct FlagField {
        uint32_t keyword;
        uint8_t* field;
    };
    const FlagField flagFields[] = {{KW_COLONIALNATION, &m_colonialNation},
                                    {KW_MAJOR, &m_major},
                                    {KW_BANK, &m_bank},
                                    {KW_STOCK, &m_stock},
                                    {KW_CHANGEDRELIGION, &m_changedReligion}};
    for (const FlagField& field : flagFields) {
        if (key == field.keyword) {
            if (value.code == KW_YES)
                *field.field = 1;
            else if (value.code != KW_NO)
                in.ReportError("Illegal Argument");
            return FIELD_BLOCK_END;
        }
    }
    if (ReadMissionField(in))
        return FIELD_BLOCK_END;

    // Every sub-block opens with "{".
    switch (key) {
    case KW_LEDGER:
    case KW_BASEVP:
    case KW_MODIFIERS:
    case KW_LASTBANKRUPTCY:
    case KW_WAR:
    case KW_LASTPEACE:
    case KW_COMBATLOSSES:
    case KW_ATTRITIONLOSSES:
    case KW_DISBANDLOSSES:
    case KW_RELIGION:
    case KW_MINISTER:
    case KW_DIPLOMACY:
    case KW_TECHNOLOGY:
    case KW_LOAN:
    case KW_CITY:
    case KW_TRADINGPOST:
    case KW_NAVALUNIT:
    case KW_LANDUNIT:
    case KW_MONARCH:
    case KW_HISTORICALMONARCH:
    case KW_DIPLOMATICDATES:
    case KW_WARDATES:
        if (value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No Left curly");
            return FIELD_BLOCK_END;
        }
        break;
    default:
        break;
    }

    switch (key) {
    case KW_TREASURY: {
        if (IsNumber(value))
            m_treasury = TokenToFloat(value.text);
        const bool savedGame = g_scenarioInfo && g_scenarioInfo->saved;
        const uint32_t controller = m_number < kCountrySlots ? g_countryController[m_number] : 0;
        if (!savedGame && (controller == 1 || controller == 2) && g_config)
            m_treasury *= TreasuryFactor(g_config->GetWord(ConfigOffset::kDifficulty));
        return FIELD_BLOCK_END;
    }
    case KW_VP:
        if (IsNumber(value)) {
            const float number = TokenToFloat(value.text);
            if (!marks.vpRead)
                m_vp = number;
            m_vpAtRankCheck = number;
            marks.vpRead = true;
        }
        return FIELD_BLOCK_END;
    case KW_AI:
        if (value.code == TOKEN_STRING)
            m_aiFile = CutText(value.text, kCountryTextSize);
        else
            in.ReportError("No filename");
        return FIELD_BLOCK_END;
    case KW_LEDGER:
        m_ledger.Read(in);
        return FIELD_BLOCK_END;
    case KW_BASEVP:
        m_baseVp.Read(in);
        return FIELD_BLOCK_END;
    case KW_MODIFIERS:
        m_modifiers.Read(in);
        return FIELD_BLOCK_END;
    case KW_LASTBANKRUPTCY:
        m_lastBankruptcy.Read(in);
        return FIELD_BLOCK_END;
    case KW_WAR:
        m_warDate.Read(in);
        return FIELD_BLOCK_END;
    case KW_LASTPEACE:
        m_lastPeace.Read(in);
        return FIELD_BLOCK_END;
    case KW_COMBATLOSSES:
        m_combatLosses.Read(in);
        return FIELD_BLOCK_END;
    case KW_ATTRITIONLOSSES:
        m_attritionLosses.Read(in);
        return FIELD_BLOCK_END;
    case KW_DISBANDLOSSES:
        m_disbandLosses.Read(in);
        return FIELD_BLOCK_END;
    case KW_RELIGION:
        m_religion.Read(in);
        return FIELD_BLOCK_END;
    case KW_MINISTER:
        m_minister.Read(in);
        return FIELD_BLOCK_END;
    case KW_DIPLOMACY:
        m_diplomacy.Read(in);
        return FIELD_BLOCK_END;
    case KW_TECHNOLOGY:
        m_technology.Read(in);
        return FIELD_BLOCK_END;
    case KW_MONARCH:
        ReadMonarch(in, false);
        return FIELD_BLOCK_END;
    case KW_HISTORICALMONARCH:
        ReadMonarch(in, true);
        return FIELD_BLOCK_END;
    case KW_LOAN: {
        auto loan = std::make_unique<CLoan>(GetId());
        const int32_t read = loan->Read(in);
        // A loan that breaks its rules was reported; it is not kept, so that
        // no interest is charged on it or booked for a country 0.
        if (loan->IsValid())
            m_loans.push_back(std::move(loan));
        return read == FIELD_END_OF_FILE ? FIELD_END_OF_FILE : FIELD_BLOCK_END;
    }
    case KW_CITY:
        ReadCity(in);
        return FIELD_BLOCK_END;
    case KW_TRADINGPOST:
        ReadTradingPost(in);
        return FIELD_BLOCK_END;
    case KW_NAVALUNIT:
        ReadUnit(in, true);
        return FIELD_BLOCK_END;
    case KW_LANDUNIT:
        ReadUnit(in, false);
        return FIELD_BLOCK_END;
    case KW_MONARCHTABLE:
    case KW_LEADERTABLE: {
        const bool monarchs = key == KW_MONARCHTABLE;
        (monarchs ? marks.monarchTableGiven : marks.leaderTableGiven) = true;
        const auto readTable = [&](auto& table) {
            if (value.code == TOKEN_OPEN_BRACE)
                table.Read(in);
            else if (value.code == TOKEN_STRING)
                ReadTableFile(in, value.text, table);
            else
                in.ReportError(monarchs ? "No filename" : "No filename ");
        };
        if (monarchs)
            readTable(m_monarchTable);
        else
            readTable(m_leaderTable);
        return FIELD_BLOCK_END;
    }
    case KW_MISSION:
        ReadMissionBlock(in);
        return FIELD_BLOCK_END;
    case KW_ARCHIVEDGAMEEVENTS:
        if (value.code != TOKEN_OPEN_BRACE ||
            in.ReadDatedIdList(kEntityIdType, m_archivedEvents) != FIELD_BLOCK_END)
            in.ReportError("country.archivedgameevents");
        return FIELD_BLOCK_END;
    case KW_DIPLOMATICDATES:
        return ReadDateTable(in, m_diplomaticDates);
    case KW_WARDATES:
        return ReadDateTable(in, m_warDates);
    case KW_KNOWNPROVINCES:
        return ReadProvinceList(in, m_knownProvinces, "country.knownprovinces");
    case KW_OWNEDPROVINCES:
        return ReadProvinceList(in, m_ownedProvinces, "country.ownedprovinces");
    case KW_CONTROLLEDPROVINCES:
        return ReadProvinceList(in, m_controlledProvinces, "country.controlledprovinces");
    case KW_NATIONALPROVINCES:
        return ReadProvinceList(in, m_nationalProvinces, "country.nationalprovinces");
    default:
        in.ReportError("Country : Unexpected field");
        return FIELD_ERROR;
    }
}

int CCountry::Read(CFieldReader& in) {
    ReadMarks marks;
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_BLOCK_END)
            break;
        if (result != FIELD_READ)
            return result;
        const int32_t fieldResult = ReadField(in, marks);
        if (fieldResult != FIELD_BLOCK_END)
            return fieldResult;
    }
    in.GetTokenFile()->Next(); // the "}"
    if (!marks.leaderTableGiven && m_leaderTable.IsEmpty())
        ReadLeaderHistory(in);
    if (!marks.monarchTableGiven && m_monarchTable.IsEmpty())
        ReadMonarchHistory(in);
    RecomputeCapital();
    NormaliseBudgetShares();
    ReadAiFile();
    return FIELD_BLOCK_END;
}

CDataBlock* CCountry::Write() const {
    auto* block = new CDataBlock;
    CDataBlock& out = *block;
    AddEntry(out, KW_TAG, GetId().MakeNode());
    AddEntry(out, KW_AI, new CDataString(m_aiFile.c_str()));
    AddEntry(out, KW_BADBOY, new CDataInt(m_badBoy));
    AddEntry(out, KW_COLONIALATTEMPTS, new CDataInt(m_colonialAttempts));
    AddEntry(out, KW_COLONIALNATION, new CDataBool(m_colonialNation != 0));
    AddEntry(out, KW_MAJOR, new CDataBool(m_major != 0));
    AddEntry(out, KW_BANK, new CDataBool(m_bank != 0));
    AddEntry(out, KW_STOCK, new CDataBool(m_stock != 0));
    AddEntry(out, KW_LEDGER, m_ledger.Write());
    AddEntry(out, KW_BASEVP, m_baseVp.Write());
    AddEntry(out, KW_VP, new CFloatNode(m_vp));
    AddEntry(out, KW_VP, new CFloatNode(m_vpAtRankCheck));
    for (const CModifierTable::Entry& entry : m_modifiers.GetEntries())
        AddEntry(out, KW_MODIFIERS, CModifierTable::WriteEntry(entry));
    AddEntry(out, KW_LASTBANKRUPTCY, m_lastBankruptcy.Write());
    AddEntry(out, KW_WAR, m_warDate.Write());
    AddEntry(out, KW_LASTPEACE, m_lastPeace.Write());
    AddEntry(out, KW_COMBATLOSSES, m_combatLosses.Write());
    AddEntry(out, KW_ATTRITIONLOSSES, m_attritionLosses.Write());
    AddEntry(out, KW_DISBANDLOSSES, m_disbandLosses.Write());
    AddEntry(out, KW_CANCELLEDLOANS, new CDataInt(m_cancelledLoans));
    AddEntry(out, KW_EXTENDEDLOANS, new CDataInt(m_extendedLoans));
    const std::pair<uint32_t, float> numbers[] = {{KW_TREASURY, m_treasury},
                                                  {KW_INCOME, m_income},
                                                  {KW_INFLATION, m_inflation},
                                                  {KW_BEURAUCRACY, m_bureaucracy},
                                                  {KW_REVOLT, m_revolt},
                                                  {KW_MANPOWER, m_manpower},
                                                  {KW_LANDMAINTENANCE, m_landMaintenance},
                                                  {KW_NAVALMAINTENANCE, m_navalMaintenance},
                                                  {KW_NAVALPERCENTAGE, m_navalShare},
                                                  {KW_LANDPERCENTAGE, m_landShare},
                                                  {KW_TEPERCENTAGE, m_teShare},
                                                  {KW_PEPERCENTAGE, m_peShare},
                                                  {KW_STABILITYPERCENTAGE, m_stabilityShare},
                                                  {KW_TREASURYPERCENTAGE, m_treasuryShare}};
    for (const auto& [keyword, number] : numbers)
        AddEntry(out, keyword, new CFloatNode(number));
    AddEntry(out, KW_RELIGION, m_religion.Write());
    const CountryMilitaryHooks& military = g_countryMilitary;
    if (m_monarch && military.monarchId && m_minister.GetId() == military.monarchId(*m_monarch))
        AddEntry(out, KW_MINISTER, m_minister.Write());
    if (m_monarch && military.writeMonarch) {
        uint32_t keyword = 0;
        CDataBlock* monarch = military.writeMonarch(*m_monarch, keyword);
        AddEntry(out, keyword, monarch);
    }
    AddEntry(out, KW_DIPLOMACY, m_diplomacy.Write());
    AddEntry(out, KW_CHANGEDRELIGION, new CDataBool(m_changedReligion != 0));
    AddEntry(out, KW_MISSIONPERCENTAGE, new CFloatNode(m_missionPercentage));
    AddEntry(out, KW_MISSIONTYPE, new CDataInt(m_missionType + 1));
    AddEntry(out, KW_MISSIONAREANAME, new CDataString(m_missionAreaName));
    AddEntry(out, KW_MISSIONNAME, new CDataString(m_missionName));
    AddEntry(out, KW_MISSIONAREA, MakeIntListNode(m_missionArea));
    AddEntry(out, KW_KNOWNPROVINCES, MakeIntListNode(m_knownProvinces));
    AddEntry(out, KW_OWNEDPROVINCES, MakeIntListNode(m_ownedProvinces));
    AddEntry(out, KW_CONTROLLEDPROVINCES, MakeIntListNode(m_controlledProvinces));
    AddEntry(out, KW_NATIONALPROVINCES, MakeIntListNode(m_nationalProvinces));
    for (const auto& loan : m_loans)
        AddEntry(out, KW_LOAN, loan->Write());
    const_cast<CLinkedList<CCity>&>(m_cities).ForEach(
        [&out](CCity* city) { AddEntry(out, KW_CITY, city->Write()); });
    const_cast<CLinkedList<CTradingPost>&>(m_tradingPosts).ForEach([&out](CTradingPost* post) {
        AddEntry(out, KW_TRADINGPOST, post->Write());
    });
    AddEntry(out, KW_MONARCHTABLE, m_monarchTable.Write());
    AddEntry(out, KW_LEADERTABLE, m_leaderTable.Write());
    for (const CLinkedList<CUnit>* list : {&m_units, &m_unitsInDevelopment}) {
        const_cast<CLinkedList<CUnit>*>(list)->ForEach([&out](CUnit* unit) {
            uint32_t keyword = 0;
            if (g_countryMilitary.writeUnit)
                if (CDataBlock* node = g_countryMilitary.writeUnit(*unit, keyword))
                    AddEntry(out, keyword, node);
        });
    }
    AddEntry(out, KW_TECHNOLOGY, m_technology.Write());
    for (uint32_t i = 0; i < m_activeMissionCount && i < kMaxActiveMissions; ++i)
        AddEntry(out, KW_MISSION, m_missions[i].Write());
    if (!m_archivedEvents.IsEmpty()) {
        auto* events = new CDataBlock;
        const_cast<CDatedIdList&>(m_archivedEvents).ForEach([events](DatedId entry) {
            events->AddChild(entry.date.Write());
            events->AddChild(new CDataInt(static_cast<int32_t>(entry.id.number)));
        });
        AddEntry(out, KW_ARCHIVEDGAMEEVENTS, events);
    }
    for (const auto& [keyword, dates] :
         {std::pair{KW_DIPLOMATICDATES, &m_diplomaticDates}, std::pair{KW_WARDATES, &m_warDates}}) {
        auto* table = new CDataBlock;
        for (uint32_t number = 1; number < kCountrySlots; ++number) {
            const CDate& date = (*dates)[number];
            if (date.year > 0)
                table->AddChild(new CDataAssignment(ObjectId(kCountryObjectType, number).MakeNode(),
                                                    date.Write()));
        }
        AddEntry(out, keyword, table);
    }
    AddEntry(out, KW_COLONISTS, new CFloatNode(m_colonists));
    AddEntry(out, KW_DIPLOMATS, new CFloatNode(m_diplomats));
    AddEntry(out, KW_MERCHANTS, new CFloatNode(m_merchants));
    AddEntry(out, KW_DYNAMISM, new CDataInt(m_dynamism));
    return block;
}

// ---------------------------------------------------------------------------
// The list of countries

bool AddCountry(std::unique_ptr<CCountry> country, bool atHead) {
    if (!country || country->GetNumber() >= kCountrySlots || g_countries[country->GetNumber()])
        return false;
    const uint32_t number = country->GetNumber();
    if (!(atHead ? g_countryList.AddHead(country.get()) : g_countryList.AddTail(country.get())))
        return false;
    g_countries[number] = country.release();
    return true;
}

void DeleteAllCountries() {
    std::vector<CCountry*> countries;
    g_countryList.ForEach([&countries](CCountry* country) { countries.push_back(country); });
    for (CCountry* country : countries)
        g_countryList.RemoveAndDelete(country);
}

void ClearCountryTable() {
    DeleteAllCountries();
    g_countries.fill(nullptr);
}

void ReleaseCountries() {
    for (CCountry* country : g_countries)
        if (country)
            country->Release();
    ClearCountryTable();
}

CCountry* FindCountryById(const ObjectId& id) {
    return id.type == kCountryObjectType ? CountryOfNumber(id.number) : nullptr;
}

// ---------------------------------------------------------------------------
// The countries in scenarios and saved games (country/CountryGameFile.h)

namespace {

// The file goes on after every country block, whatever its reader answered.
int32_t ReadCountryAndGoOn(CFieldReader& in) {
    ReadCountryObject(in);
    return FIELD_BLOCK_END;
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_COUNTRY,
                           {&ReadCountryAndGoOn, &WriteCountryObjects, GameFileValue::QuietBlock});
    RegisterGameFileObject(KW_MISSION, {&ReadMissionObject, nullptr, GameFileValue::Block});
    g_scenarioHeaderHooks.findCountryByTag = &FindCountryByTag;
    g_scenarioHeaderHooks.describeRunningCountry = &DescribeRunningCountry;
    return true;
}();

} // namespace
