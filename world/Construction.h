#pragma once
// Construction orders: whatever a country builds in a province over time
// (an army, a fleet, a fortress, a trading post, a colony, a manufactory, a
// shipyard, a barrack, a city improvement) shows on the map as a building
// symbol with a progress bar until its expiry message reaches the province.
// Each province keeps its orders in a construction list, which owns them.
//
// The "construction" block inside a province's block:
//   construction = { id = { type = 4712 id = 3 } action = 7 province = 12
//                    flags = 1 startdate = { ... } enddate = { ... }
//                    x = 310 y = 150 tag = ENG }
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"
#include "net/Event.h"
#include "world/MapView.h"
#include "world/Settlement.h"

class CDataBlock;

// The kinds of order (the symbol's action numbers).
enum EConstructionKind : int32_t {
    CONSTRUCTION_FORTRESS = 3,
    CONSTRUCTION_ARMY = 6,
    CONSTRUCTION_NAVY = 7,
    CONSTRUCTION_TRADING_POST = 8,
    CONSTRUCTION_COLONY = 9,
    CONSTRUCTION_MANUFACTORY = 10,
    CONSTRUCTION_SHIPYARD = 12,
    CONSTRUCTION_NAVY_IN_SHIPYARD = 13,
    CONSTRUCTION_BARRACK = 14,
    CONSTRUCTION_IMPROVEMENT = 15,
};

// The symbol kind of a construction order.
constexpr int32_t kSpriteKindBuild = 12;

class CConstructionOrder : public CIdObject, public CMessageReceiver {
public:
    // The bar's size on the map, in map pixels.
    static constexpr int32_t kBarWidth = 20;
    static constexpr int32_t kBarHeight = 4;

    // Ready to be read: empty dates, no id.
    CConstructionOrder();
    // An order of the kind made today, to be completed at the date.
    CConstructionOrder(int32_t kind, int32_t flags, const CDate& endDate, int32_t provinceId,
                       int32_t country);
    ~CConstructionOrder() override = default;
    CConstructionOrder(const CConstructionOrder&) = delete;
    CConstructionOrder& operator=(const CConstructionOrder&) = delete;

    // The "construction" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END; at the "}" the order is placed at its point, and one
    // without an id gets a fresh one. "enddate" posts the expiry message to
    // the province, due at that date, on this machine only. Any other key is
    // reported ("construction: Unexpected field"), the rest of the block is
    // passed over and the answer is FIELD_ERROR; FIELD_END_OF_FILE when the
    // file ends inside the block.
    virtual int32_t Read(CFieldReader& in);
    // The block as a new node (count 0, owned by the caller), keys in the
    // order id, action, province, flags, startdate, enddate, x, y, tag.
    virtual CDataBlock* Write() const;

    // The symbol at the point, the bar at the kind's offset from it.
    void Place(int32_t x, int32_t y);
    // Whether the bar or the symbol is under the map point.
    bool HitTest(int32_t x, int32_t y) const;
    // The kind's text and the months left when the point hits the order;
    // empty otherwise.
    std::string GetHoverText(int32_t x, int32_t y) const;
    // The kind's text and the months left ("CONSTRUCTIONREMAIN" with the
    // months, "CONSTRUCTIONREMAIN2" when none is left).
    std::string GetHoverText() const;
    // The percentage of the way from the start date to the end date today,
    // held to 0..100; 100 when the two dates are the same day.
    int32_t ComputeProgress() const;
    // "_COVEVT_TIMER_TICK_LOOP_" brings the bar up to date; then every
    // message goes on to the symbol, whose answer it gives.
    int HandleMessage(COVEvent& event) override;
    int HandleEvent(COVEvent& event) { return HandleMessage(event); }
    // The symbol, and the bar when it has been filled once.
    void Draw(int32_t param);

    int32_t GetKind() const { return m_symbol.GetKey().action; }
    const CSettlementSymbol& GetSymbol() const { return m_symbol; }
    MapPoint GetPoint() const { return m_symbol.GetPosition(); }

    int32_t flags = 0;
    int32_t progress = -1; // the percentage last shown, -1 before the first
    CDate startDate;
    CDate endDate;
    int32_t country = 0; // the builder, also the bar's colour number
    int32_t provinceId = 0;
    // The bar: where it stands and its fill (0..100).
    MapPoint barPosition;
    int32_t barFill = 0;

private:
    CSettlementSymbol m_symbol;
};

// The orders of one province in list order; the list owns them.
class CConstructionList {
public:
    // Makes an order, places it at (x, y) and adds it: fleets and shipyards
    // (kinds 7, 12 and 13) at the tail, so that they are drawn above the
    // others, every other kind at the head. Answers the order.
    CConstructionOrder* AddOrder(int32_t kind, int32_t x, int32_t y, int32_t flags,
                                 const CDate& endDate, int32_t provinceId, int32_t country);
    // Appends an order as read (file order is kept).
    void AddOrder(std::unique_ptr<CConstructionOrder> order);
    // The order of the id, null when none.
    CConstructionOrder* FindOrder(const ObjectId& id) const;
    // Takes the order of the id out of the list and answers it (null when
    // none).
    std::unique_ptr<CConstructionOrder> RemoveOrder(const ObjectId& id);

    uint32_t GetCount() const { return static_cast<uint32_t>(m_orders.size()); }
    bool IsEmpty() const { return m_orders.empty(); }
    const CConstructionOrder& GetOrder(uint32_t index) const { return *m_orders.at(index); }
    CConstructionOrder& GetOrder(uint32_t index) { return *m_orders.at(index); }
    void Clear() { m_orders.clear(); }

    // The symbol and bar of every order whose flags share a bit with the
    // map's symbol mask (g_mapModeFlags), in list order.
    void Draw(int32_t param);
    // Passes the message to every order.
    void Broadcast(COVEvent& event);
    // An order of a trading post or a colony is in the list.
    bool HasColonyOrder() const;
    // The first non-empty hover text of the orders in list order.
    std::string GetHoverText(int32_t x, int32_t y) const;

private:
    std::vector<std::unique_ptr<CConstructionOrder>> m_orders;
};

// Every map mode's bit: an order drawn whatever the map shows.
constexpr int32_t kConstructionShownAlways = -1;

// A construction of the country in the province to be completed at the
// date: the order joins the province's construction list at the province's
// symbol point, then its expiry, addressed to the province, is posted for
// the date on this machine. Answers the order (null for a province id
// outside 1..1472, when nothing is posted).
CConstructionOrder* ScheduleExpireConstruction(uint32_t country, uint32_t kind, uint32_t province,
                                               const CDate& endDate,
                                               int32_t flags = kConstructionShownAlways);
