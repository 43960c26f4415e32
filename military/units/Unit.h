#pragma once
// Armies (CLandUnit) and fleets (CNavalUnit). A unit belongs to its owner
// country, which keeps it in one of its unit lists and deletes it; the unit
// owns the leaders its block made. A fleet carries armies (its cargo); an
// army aboard stands in its owner's unit list like any other.
//
// The unit blocks of the text format ("landunit", "navalunit"):
//   { id = { ... } name = "1st Army" location = 12 date = { ... }
//     development = no morale = 1.000000 leader = { ... }
//     movetime = 3 movement = { 13 14 } retreat = yes
//     infantry = 1000.000000 cavalry = 0.000000 artillery = 0.000000 }
// A fleet has "warships", "galleys", "transports", "port" and its carried
// armies as nested "landunit" blocks.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/ObjectId.h"
#include "military/units/Leader.h"
#include "net/Event.h"
#include "world/MapView.h"
#include "world/map/MapSprite.h"

class CAIAgent;
class CCountry;
class CMapSprite;
class CDataBlock;
class CLeader;
class CNavalUnit;
class COVEvent;
class CProvince;
class CSprite;
class CUnitPortrait;

// The "_COVEVT_UNIT_FINISH_" message (type 73) for a unit; the caller posts
// it.
std::unique_ptr<COVEvent> MakeUnitFinishEvent(const ObjectId& unit);

// The move-step message (type 57) for the unit server: +20 the unit's id,
// +28 u16 the province the unit enters next.
std::unique_ptr<COVEvent> MakeMoveStepEvent(const ObjectId& unit, uint16_t province);

// A strength counted whole, up to the next integer; a damaged figure (not a
// number, or beyond a billion either way) counts as 0 or a billion, so that
// the sizes and prices summed from strengths stay in range.
int64_t WholeStrength(float value);

// Spreads an amount over the entries in order, emptying each before the
// next; answers what could not be taken. A count below 1 takes nothing.
float SubtractInOrder(float* entries, int32_t count, float amount);
// Spreads an amount evenly: each pass takes an equal share from every entry
// that is not empty (an entry smaller than the share gives what it has)
// until the amount is taken or every entry is empty; answers what could not
// be taken.
float SubtractEvenly(float* entries, int32_t count, float amount);

// The morale level keys, from "INVINCIBLE" (4.5 and more) down to "PANIC"
// (below 0.25).
const char* MoraleLevelKeyOf(float morale);
// The colour band of a fraction of the full morale: 0 green (0.8 and more),
// 1 (0.6), 2 yellow (0.4), 3 orange (0.2), 4 red; a fraction that is no
// number counts as full.
int32_t MoraleBandOf(float fraction);

// The loss causes: the rows of the owner's loss records.
enum ELossCause : uint8_t {
    LOSS_ATTRITION = 0,
    LOSS_BATTLE = 1,
    LOSS_DISBANDING = 2,
};

// The figure's kinds and actions (the keys of its map sprite) and the two
// sideways facings of a unit firing from a stack.
constexpr int32_t kFigureKindArmy = 0;
constexpr int32_t kFigureKindNavy = 1;
constexpr int32_t kFleetFigureCulture = 19;
enum EFigureAction : int32_t {
    FIGURE_STAND = 0,
    FIGURE_WALK = 1,
    FIGURE_FIRE = 2,
};
constexpr int32_t kFigureFacingLeft = 8;
constexpr int32_t kFigureFacingRight = 9;

// Where the figure stands against the province's unit point: 0 standing, 1
// among the attackers, 2 among the defenders, 3 moving.
enum EMapPlacement : int32_t {
    PLACEMENT_STANDING = 0,
    PLACEMENT_ATTACKER = 1,
    PLACEMENT_DEFENDER = 2,
    PLACEMENT_MOVING = 3,
};
constexpr int32_t kMapPlacementCount = 4;

// The notices a unit gives the computer player, by the army's type (a
// fleet's is one more): it entered another province, it stopped, it entered
// its first combat, it left its last one.
enum EUnitNotice : uint32_t {
    UNIT_NOTICE_MOVED = 0,
    UNIT_NOTICE_STOPPED = 2,
    UNIT_NOTICE_COMBAT_STARTED = 10,
    UNIT_NOTICE_COMBAT_ENDED = 12,
};

class CUnit : public CIdEntity, public CMessageReceiver {
public:
    // The state handler that takes the unit's messages: idle (generic),
    // moving along its path, in a combat.
    enum class EState { Idle, Moving, Combat };

    explicit CUnit(CCountry* owner);
    // Lets go of the leaders (deleting the ones its block made).
    ~CUnit() override;

    virtual bool IsFleet() const = 0;
    bool IsArmy() const { return !IsFleet(); }

    CCountry* GetOwner() const { return m_owner; }
    virtual void SetOwner(CCountry* owner) { m_owner = owner; }

    // The fields common to armies and fleets as a new block (count 0, owned
    // by the caller).
    virtual CDataBlock* Write() const;
    // Reads an army or fleet block whose "{" has been taken, up to and
    // including its "}": FIELD_BLOCK_END; FIELD_ERROR when the movement list
    // cannot be read; FIELD_END_OF_FILE when the file ends inside the block
    // (then the unit gets no new id, no location and no path from it, and
    // nothing is scheduled).
    int32_t Read(CFieldReader& in);

    // Puts the unit into the province it read as its location: an army
    // stands there on land.
    virtual void PlaceAtLocation() {}
    // Run after the unit joined a unit list of its country: refreshes its
    // figure.
    void Refresh() { RefreshFigure(); }
    // Recomputes the figure shown on the map from the strengths and morale.
    virtual void RefreshFigure();
    // The unit waits for orders; it is no longer new.
    void SetIdleState() {
        m_state = EState::Idle;
        isNew = false;
    }
    EState GetState() const { return m_state; }

    const std::string& GetName() const { return m_name; }
    // Cut to kMaxObjectNameLength characters.
    void SetName(const std::string& name);
    int32_t GetLocation() const { return m_location; }
    void SetLocation(int32_t province) { m_location = province; }
    bool IsInDevelopment() const { return m_development != 0; }

    // The three strengths: an army's artillery, cavalry, infantry; a fleet's
    // warships, galleys, transports.
    float GetStrength(int index) const { return m_strength[static_cast<size_t>(index)]; }
    void SetStrength(int index, float value) { m_strength[static_cast<size_t>(index)] = value; }
    // Each strength raised to the next whole number.
    int32_t GetRoundedArtillery() const { return RoundUp(m_strength[0]); }
    int32_t GetRoundedCavalry() const { return RoundUp(m_strength[1]); }
    int32_t GetRoundedInfantry() const { return RoundUp(m_strength[2]); }

    // --- unit checks (military/UnitChecks.cpp) ---
    // Pure questions before a unit is reorganised or sent off; they change
    // nothing.
    // Not in a combat and no path left to walk.
    bool CanReorganise() const;
    // A path to walk, no army aboard and none carried, and the unit's
    // province shows a settlement symbol of level 1 or more.
    bool PathStartCheck() const;
    // --- end of unit checks ---

    // --- movement rules (military/units/UnitMovementRules.cpp) ---
    // The monthly attrition, as a fraction, the unit would suffer in the
    // province.
    virtual float GetAttritionRateIn(const CProvince& province) const = 0;
    // The factor the days of a step are divided by (larger is faster).
    virtual float GetMovementFactor() const = 0;
    // The unit may fall back into the province from a battle.
    virtual bool CanRetreatTo(int32_t province) const = 0;
    // On the host: the best neighbouring province to fall back to, 0 when
    // there is none.
    virtual int32_t FindRetreatProvince() const = 0;
    // On the host, while no combat runs where it stands: hands its troops
    // (ships), a count-th at a time, to that many of its owner's units of
    // its kind standing still there without an explorer, by transfer
    // messages run here and sent.
    virtual void DistributeTroops(int32_t count) = 0;
    // Puts the unit into the province (a fleet refuses land without a
    // port): the figure stands there, or keeps moving with a path left. On
    // the host in a running game, a unit that is not new and not dying tells
    // the computer player when the province differs from its previous one.
    // Once the unit has taken the field, entering a province other than the
    // one it came from has the combat server check it there (host).
    virtual void SetProvince(int32_t province);

    // The owner may enter the province with this unit now: the rule the
    // path search and the unit server ask.
    bool CanEnterProvince(const CProvince& province) const;
    // Where the unit may go from where it stands: an army aboard only where
    // its fleet can set it ashore, an army on land into safe or hostile
    // land, a fleet into any sea zone and its owner's own ports.
    bool MayEnter(int32_t province) const;
    // MayEnter and a path found from the unit's province.
    bool CanReach(int32_t province) const;
    // A discovered land province with no hostile unit, which the owner
    // controls, nobody owns, or whose owner fights on the owner's side.
    bool IsSafeProvince(const CProvince& province) const;
    // The unit may enter provinces its owner has not discovered.
    bool CanExplore() const;
    // The factor of a step into undiscovered land, from the commander.
    double GetPathCostFactor() const;
    // The attrition rates along the path summed, truncated after each step.
    uint32_t GetPathCost() const;
    // The province the unit stands in supplies it.
    bool HasSupplyHere() const;
    // The last province of the path, the unit's own without a path.
    int32_t GetFinalDestination() const;
    // Discovery by the owner: base victory points and the discovery
    // message, run here without sending. Nothing when already discovered.
    void DiscoverProvince(int32_t province);
    // "_COVEVT_UNITMOVE_": the unit enters the province of the message.
    void OnUnitMove(const COVEvent& event);
    // "_COVEVT_UNITMOVEPATH_": the path of the message replaces the unit's
    // (flag set) or is appended to it. A message whose count runs past its
    // payload or that names no province (0, above 1472) is dropped with a
    // trace line: false.
    bool OnMovePath(const COVEvent& event);
    // The commander the movement rules read: the listed leader of the
    // lowest rank, the first on ties; null without leaders.
    const CLeader* GetMovementCommander() const;
    // The shared count of coastal discovery chances failed in a row.
    static int32_t s_coastalDiscoveryFailures;

    // --- end of movement rules ---

    // --- leaders and raising by the country's messages
    // (military/CountryForces.cpp) ---
    // Attaches the leader as AttachLeader does and takes it into the unit's
    // own leaders (deleted with the unit).
    void AdoptLeader(std::unique_ptr<CLeader> leader);
    // The leader leaves the list and the unit; the unit hands it over when
    // it owned it (null otherwise, and for a leader not in the list).
    std::unique_ptr<CLeader> ReleaseLeader(CLeader* leader);
    // Marks the unit as being raised (or finished).
    void SetInDevelopment(bool development) { m_development = development ? 1 : 0; }
    // --- end of leaders and raising ---

    // The leaders in list order (the first commands).
    const CLinkedList<CLeader>& GetLeaders() const { return m_leaders; }
    // Finds the leader by its id; when it is not yet in the list, gives it
    // the unit's owner and this unit and adds it at the head. False when no
    // leader has the id.
    bool AttachLeader(const ObjectId& leader);
    void AttachLeader(CLeader* leader);

    // The move path: the provinces still to enter, in order.
    const CIntList& GetPath() const { return m_path; }
    bool IsPathEmpty() const { return m_path.IsEmpty(); }
    // The first province of the path, 0 without one.
    int32_t GetNextPathProvince() const;
    // Appends the provinces of the list to the path, emptied first when
    // replace is set; a unit with a path moves.
    void SetPath(int32_t replace, const CIntList& provinces);
    void SetRetreating(int32_t province);
    // How far the current move has come by the game clock, from 0 at
    // moveStartDate to 1 at nextStepDate (1 from then on when the two are
    // the same day).
    float GetTravelledFraction() const;
    bool IsRetreating() const { return m_retreating != 0; }
    int32_t GetRetreatProvince() const { return m_retreatProvince; }

    // Reports men lost to the owner: "_COVEVT_UNITLOSSES_" with the amount
    // and the cause (0 attrition, 1 battle, 2 disbanding), run at once and
    // sent; nothing for an amount of 0 or less (or no number) or without an
    // owner (military/UnitAllegiance.cpp).
    void SendLosses(float amount, uint8_t cause);

    // --- unit base (military/units/UnitBase.cpp, UnitLosses.cpp,
    // UnitStates.cpp) ---
    // Sets the owner as SetOwner does and gives the built-in leader the
    // country and its default abilities; every listed leader follows the
    // country; the unit no longer retreats.
    void SetCountry(CCountry* country);
    // The built-in leader that commands while no leader is attached.
    CRandomLeader& GetDefaultLeader() { return m_defaultLeader; }
    const CRandomLeader& GetDefaultLeader() const { return m_defaultLeader; }
    // The listed leader of the lowest rank (the first of equal ranks), moved
    // to the head of the list; the built-in leader when none is listed.
    CLeader* GetCommander();
    // The built-in leader, or the first listed leader whose siege value is
    // higher than that of every leader before it.
    CLeader* GetBestSiegeLeader();
    // The last listed leader of the category with a manoeuvre of 0 or more;
    // null when none.
    CLeader* FindLeaderOfCategory(int32_t category);
    bool HasLeaderOfCategory(int32_t category) { return FindLeaderOfCategory(category) != nullptr; }
    // A conquistador or explorer commands or is listed.
    bool HasExplorerLeader() const;
    // The first listed conquistador or explorer; null when none.
    CLeader* FindExplorerLeader() const;
    // Takes the found leader off the list (it keeps its country); nothing
    // for an unknown id.
    void DetachLeader(const ObjectId& leader);
    // Attaches every leader of the other unit that is found by its id and
    // is not listed here yet; the other unit's list is emptied.
    void TakeLeadersFrom(CUnit& other);

    // The three strengths summed as the unit's kind counts them: an army
    // infantry + cavalry + 100 x artillery, a fleet warships + galleys
    // (GetStrength) or all its ships (GetTotalStrength).
    virtual float GetStrength() const;
    virtual float GetTotalStrength() const;
    // The same with every strength rounded up first; GetSize counts all of
    // a fleet's ships, GetSizeInMen a fleet's ships at 5000 men each.
    virtual int32_t GetCombatSize() const;
    virtual int32_t GetSize() const;
    virtual int32_t GetSizeInMen() const;
    // The monthly attrition rate, as a fraction, where the unit stands and
    // in a province; 0 until the kind knows its terrain.
    virtual float GetAttritionRate() const { return 0.0f; }
    // One month's losses where the unit stands: size x the rate, 0 when the
    // rate is not above 0.
    virtual float GetMonthlyAttrition() const;
    // The monthly upkeep at the owner's prices; 0 until the kind knows its
    // prices.
    virtual float GetMaintenance() const { return 0.0f; }

    // The two units may fight each other where this one stands: neither
    // trespasses nor retreats, they are of one kind (armies or fleets), not
    // of one owner nor of one side of a war, not held in two different
    // battles, and their owners are hostile (or one is barred from this
    // unit's province by the demarcation treaty).
    bool IsEnemyOf(const CUnit& other) const;

    // The owner's god mode halves the unit's losses.
    bool OwnerHalvesLosses() const;
    // The aim of the unit's morale: its owner's land (armies) or naval
    // (fleets) morale; 0 without an owner.
    float GetFullMorale() const;
    // The text of the morale's level key.
    static std::string GetMoraleLevelKey(float morale);
    // The morale band (0 green .. 4 red) of morale / the full morale, and
    // its colour in the display's pixel format. Without a full morale to
    // measure against (0 or less) the band is 0.
    int32_t GetMoraleColourIndex() const;
    uint16_t GetMoraleColour() const;

    // Takes an amount of men or ships off the strengths: two thirds in
    // order, the rest with what was left evenly (god mode: half of it each
    // way, never below 1972 men or 17 ships). Answers what could not be
    // taken; nothing happens for an amount that leaves a part of 0 or less.
    float ApplyLosses(float amount, int32_t cause);
    // Takes a, b, c off the three kinds (an army's infantry, cavalry,
    // artillery; a fleet's warships, galleys, transports), halved in god
    // mode; a strength below 0.00001 becomes 0. The owner records the whole
    // men or ships lost with the cause.
    void ApplyTroopLosses(float a, float b, float c, int32_t cause);
    // The amount taken in order over the kinds (an army: infantry, cavalry,
    // artillery x 100; a fleet: galleys, warships, transports) or evenly
    // (an army's artillery only when the cause is not attrition; a fleet's
    // transports not in god mode); the owner records the whole losses.
    // Answer what was left over.
    virtual float TakeLossesInOrder(float amount, int32_t cause);
    virtual float TakeLossesEvenly(float amount, int32_t cause);
    // Reports losses by kind to the owner: "_COVEVT_UNITSIZELOSSES_", run at
    // once and sent; nothing when a, b and c are all 0 or less, or without
    // an owner.
    void SendSizeLosses(float a, float b, float c, uint32_t cause);

    // A message addressed to the unit: 53 sets the morale, 73 finishes the
    // raising; any other goes to the handler of the current state, which
    // drops (with a trace line) what its state does not take. The movement
    // messages: 45 a step into a province, 46 the end of all movement, 49 a
    // new or longer path, 55 a jump into a province; one with a province
    // outside 1..1472 or a path count beyond its payload is dropped with a
    // trace line.
    int HandleEvent(COVEvent& event);
    int HandleMessage(COVEvent& event) override { return HandleEvent(event); }
    int GenericUpdate(COVEvent& event);
    int MoveUpdate(COVEvent& event);
    int CombatUpdate(COVEvent& event);
    // Stops: on the host the pending step is neutralised; the path is
    // emptied, the unit no longer retreats and is idle (or in combat). On
    // the host a unit that was on its way and is in no combat is checked
    // where it stands by the combat server.
    virtual void CancelMovement();
    // Brings the figure and the portrait up to date.
    virtual void RefreshPortrait() {}
    // The unit takes part in the combat of the id on the side (1 among the
    // attackers); a combat in mode 3, 4 or 5 is its siege, any other its
    // field combat. Movement stops; the state becomes CombatUpdate.
    void CombatStarted(const ObjectId& combat, uint8_t side, int32_t mode);
    // The combat of the id is over for the unit; with no combat left the
    // state becomes GenericUpdate.
    void CombatEnded(const ObjectId& combat);
    bool IsInCombat() const { return !m_combat.IsNull() || !m_siegeCombat.IsNull(); }
    const ObjectId& GetCombat() const { return m_combat; }
    const ObjectId& GetSiegeCombat() const { return m_siegeCombat; }
    // The side in the field combat, else in the siege, else 0.
    uint8_t GetCombatSide() const;

    // The portrait under the figure (made on first use): the bar shows the
    // size (an army's men of 50000, a fleet's ships of twice the bar's
    // width) in the colour of the morale band.
    CUnitPortrait* GetPortrait();
    bool HasPortrait() const { return m_portrait != nullptr; }
    // The flag over the figure (made on first use) and its picture: the
    // retreat flag while retreating, the exiled flag while trespassing out
    // of combat, else the owner's flag.
    CSprite* GetFlag();
    bool HasFlag() const { return m_flag != nullptr; }
    const std::string& GetFlagPath() const { return m_flagPath; }
    // No longer retreating: the flag shows the owner's (or exiled) flag.
    void RestoreFlag();

    // --- the figure on the map (military/units/UnitFigure.cpp) ---
    // The figure (made on first use, from the key and position the unit
    // keeps, so that a unit nobody draws loads no picture).
    CMapSprite* GetFigure();
    bool HasFigure() const { return m_figure != nullptr; }
    // The key the figure shows: culture, kind, action, direction, level.
    const SpriteKey& GetFigureKey() const { return m_figureKey; }
    // The figure's position in map coordinates.
    MapPoint GetFigurePosition() const { return m_figurePosition; }
    void SetFigurePosition(int32_t x, int32_t y);
    void SetFigureKey(const SpriteKey& key);
    // The pose: an action (stand, walk, fire) and a direction (0 n .. 7 nw,
    // 8 left, 9 right, 10 none).
    void SetFigurePose(int32_t action, int32_t direction);
    // Stands the figure still, facing nowhere.
    void StandStill() { SetFigurePose(FIGURE_STAND, kSpriteDirectionNone); }
    // Places the figure at the province's point for the placement (see
    // EMapPlacement): a fleet in a land province stands (and moves) at the
    // port point; the attackers and defenders 16 pixels either side of the
    // unit point, the moving 12 pixels down-left. An army aboard takes its
    // carrier's province. Without a province record the figure stays.
    void SetMapPlacement(int32_t placement);
    int32_t GetMapPlacement() const { return m_placement; }
    // With a path, the figure walks toward the next province (across the
    // map's seam the short way round); without one and out of combat it
    // stands.
    void FaceNextStep();
    // The figure's pose in a combat of the mode: standing in a cover or a
    // siege; otherwise firing north (attackers, and every side of an
    // assault) or south-west.
    void ShowCombatPose(int32_t mode);
    // The figure's level from the owner's technology: an army's land level
    // value, a fleet's naval level figure.
    void UpdateSpriteLevel();
    // The figure's culture for the owner: an army's the owner's sprite
    // culture, a fleet's the fleet culture.
    void UpdateFigureCulture();
    // --- end of the figure ---

    // Tells the computer player (on the host) of the notice: the army's
    // type, a fleet's one more. Nothing while the unit is dying.
    void NotifyAI(EUnitNotice notice);

    bool isNew = true;     // until finished (message 73) or first set idle
    bool dying = false;    // set just before the owner deletes the unit
    bool isNative = false; // the owner is the natives (country 97)
    bool trespassing = false;
    // The fortress unit a siege makes and owns; it stands in none of its
    // country's lists.
    bool garrison = false;
    bool selected = false;
    int32_t previousProvince = 0;
    CDate created;
    // --- end of unit base ---

    // --- the computer player (ai/) ---
    // The agent that holds the unit (null: none) and the agents that
    // rejected it; the computer player keeps both and is told when the unit
    // goes (g_unitGoneAI).
    CAIAgent* aiAgent = nullptr;
    std::vector<CAIAgent*> aiRejectedBy;
    void SetAIAgent(CAIAgent* agent) { aiAgent = agent; }
    CAIAgent* GetAIAgent() const { return aiAgent; }
    // --- end of the computer player ---

    CDate completionDate; // the date a unit under development is ready
    float morale = 0.0f;
    CDate moveStartDate; // the start of the current move step
    CDate nextStepDate;  // the date of the next move step
    // The move-step message waiting in the scheduler for this unit (the
    // scheduler owns it); null when none was posted here.
    COVEvent* pendingStep = nullptr;

protected:
    // SetProvince without the combat server's check: the location, the
    // figure's placement and the computer player's notice.
    void TakeProvince(int32_t province);
    // The combat server's check of the province the unit entered (host).
    void CheckArrival(int32_t province);
    // A field only one kind of unit knows (the key just read): true when the
    // key was taken.
    virtual bool ReadOwnField(CFieldReader& in) = 0;
    static int32_t RoundUp(float value);

    std::array<float, 3> m_strength{};

private:
    // Attaches the leader as AttachLeader does, but right after the given
    // node (at the head without one); answers the leader's node.
    CLinkedList<CLeader>::Node* AttachLeaderAfter(CLeader* leader,
                                                  CLinkedList<CLeader>::Node* after);
    void WriteMovement(CDataBlock& block) const;
    // The end of a block read: id, figure, location, path and on the host
    // the messages its state implies.
    void FinishRead(int32_t location, const CIntList& path, bool retreat, bool postFinish,
                    const CDate& finishDate);

    CCountry* m_owner;
    std::string m_name;
    int32_t m_location = 0;
    uint8_t m_development = 0;
    uint8_t m_retreating = 0;
    int32_t m_retreatProvince = 0;
    EState m_state = EState::Idle;
    CLinkedList<CLeader> m_leaders;
    std::vector<std::unique_ptr<CLeader>> m_ownLeaders; // made by this unit's block
    CIntList m_path;
    // --- unit base ---
    CRandomLeader m_defaultLeader;
    ObjectId m_combat;
    ObjectId m_siegeCombat;
    uint8_t m_combatSide = 0;
    uint8_t m_siegeSide = 0;
    int32_t m_combatMode = 0;
    int32_t m_siegeMode = 0;
    std::unique_ptr<CUnitPortrait> m_portrait;
    std::unique_ptr<CSprite> m_flag;
    std::string m_flagPath;
    std::unique_ptr<CMapSprite> m_figure;
    SpriteKey m_figureKey;
    MapPoint m_figurePosition;
    int32_t m_placement = PLACEMENT_STANDING;
    // Chooses the flag picture and loads it into the flag when there is one.
    void ShowFlag(const std::string& path);
    void ShowOwnFlag();
    // --- end of unit base ---
};

// Called by the unit's destructor while an agent holds the unit or has
// rejected it; the computer player fills it (null: nobody is told).
extern void (*g_unitGoneAI)(CUnit& unit);
// To be called on the host when a unit comes into being (its raising is
// finished): the computer player offers it to its holder or its King and
// tells its listeners (null: nobody is told).
extern void (*g_unitCreatedAI)(CUnit& unit);
// Every unit of the country (in the field and being raised) takes the
// figure level of the country's technology.
void UpdateUnitSpriteLevels(CCountry& country);

// The unit's notices to the computer player (notification types 0-3 and
// 10-13): the computer player fills it and delivers them on the host (null:
// nobody is told).
extern void (*g_unitAI)(uint32_t type, CUnit& unit);

// --- unit checks (military/UnitChecks.cpp) ---
// Not in a combat and not aboard a fleet; an army of 2000 men or more, a
// fleet of 10 ships or more.
bool CanSplitUnit(const CUnit& unit);
// Outside the tutorial, no unit in a combat and no army aboard a fleet.
bool CanDisbandUnits(const std::vector<const CUnit*>& units);
// Two units or more, all in one province, none in a combat or aboard.
bool CanMergeUnits(const std::vector<const CUnit*>& units);
// --- end of unit checks ---
