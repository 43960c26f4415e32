#pragma once
// ObjectId: the pair {type, number} that identifies every game object and
// every message receiver; the id counter of this machine, the two id
// registries and the id holders that game objects embed.
//
// Types: 0 null, 1 chat group, 2 host request receiver, 3 country number,
// 4 province id, 6 leader slot, 7 registered entity, 8 game server date
// receiver, 4712 + player number objects made at run time on that player's
// machine, 65534 an id that was withdrawn, 65535 everybody.
#include <cstdint>
#include <forward_list>
#include <memory>
#include <vector>

class CFieldReader;
class CDataObjectId;

struct ObjectId {
    uint16_t type = 0;
    uint32_t number = 0;

    constexpr ObjectId() = default;
    constexpr ObjectId(uint16_t t, uint32_t n) : type(t), number(n) {}

    constexpr bool operator==(const ObjectId& other) const = default;
    constexpr bool IsNull() const { return type == 0 && number == 0; }
    constexpr bool IsUnset() const;

    // The id block of the text format, { type = 4712 id = 17 }, whose "{" has
    // been taken, read up to and including its "}": "type" sets the type,
    // "id" the number (decimal). Answers the field codes of
    // data/TokenFile.h: FIELD_BLOCK_END at the "}"; FIELD_ERROR for any other
    // field or a field without "="; FIELD_END_OF_FILE at the end of the file.
    int32_t Read(CFieldReader& in);
    // A new data-tree node (keyword "id") holding the id.
    CDataObjectId* MakeNode() const;
};

constexpr uint16_t kProvinceIdType = 4;
constexpr uint16_t kLeaderIdType = 6;
constexpr uint16_t kEntityIdType = 7;
constexpr uint16_t kFirstPlayerIdType = 4712;
// The ids of the objects this machine alone holds, which no message to
// another machine names (the computer player's agents, on the host): they
// have a type and counter of their own, so that making them leaves the
// game's ids, which every machine makes alike while a scenario loads, as
// they are on the others.
constexpr uint16_t kMachineIdType = 65533;
// The ids of the objects that every machine makes alike, each on its own
// handling of the same message, while the game runs (the construction
// orders): a type and counter of their own, so that the ids the host alone
// hands out for its requests do not shift them.
constexpr uint16_t kSharedIdType = 65532;
constexpr uint16_t kUnsetIdType = 65534; // marks an id holder whose id was withdrawn
constexpr uint16_t kBroadcastIdType = 65535;

constexpr bool ObjectId::IsUnset() const {
    return type == kUnsetIdType;
}

// Registered types are found through the registries: type 7 and the run-time
// types of the players (4712 and above, below the two marker types).
constexpr bool IsRegisteredIdType(uint16_t type) {
    return type == kEntityIdType || (type >= kFirstPlayerIdType && type < kUnsetIdType);
}

// Well-known ids of the fixed receivers.
inline constexpr ObjectId g_nullId{0, 0};
inline constexpr ObjectId g_broadcastId{kBroadcastIdType, 0xFFFFFFFF};
inline constexpr ObjectId g_allPlayersChatId{1, 0xFFFFFFFF};
inline constexpr ObjectId g_unitRequestsId{2, 0xFFFFFFFF};
inline constexpr ObjectId g_hostDispatcherId{2, 1};
inline constexpr ObjectId g_combatRequestsId{2, 2};
inline constexpr ObjectId g_unitServerId{2, 3};
inline constexpr ObjectId g_leaderRequestsId{2, 5};
inline constexpr ObjectId g_economyRequestsId{2, 6};
inline constexpr ObjectId g_serverId{2, 7};
inline constexpr ObjectId g_nativesRequestsId{2, 8};
inline constexpr ObjectId g_diplomacyRequestsId{2, 9};
inline constexpr ObjectId g_timerDateId{8, 1};

// The id counter: ids made here are {g_newIdType, ++g_newIdCounter}. Both are
// 0 until InitIdRegistries runs.
extern uint16_t g_newIdType;
extern uint32_t g_newIdCounter;

// This machine's player number in the multiplayer session (0 without one);
// set by the session before a scenario starts. Picks g_newIdType, so that the
// machines of a network game never make the same id.
extern uint32_t g_localPlayerNumber;

// Hands out the next id of this machine; the first after a reset has number 1.
ObjectId NewObjectId();
// Hands out the next id of type kMachineIdType; its own counter restarts
// with the game's (InitIdRegistries with the null id, FreeIdRegistries).
ObjectId NewMachineObjectId();
// Hands out the next id of type kSharedIdType; its counter restarts with
// the game's, like the machine's own.
ObjectId NewSharedObjectId();
// A shared id read back from a saved game: numbering continues after it.
void NoteSharedObjectId(const ObjectId& id);

// Scenario start-up calls this with the null id: the registries are emptied,
// freed and made anew, and the counter restarts for the local player. The
// saved-game reader calls it again with the last id stored in the file, so
// that numbering continues after it (only when the type is this machine's).
void InitIdRegistries(const ObjectId& lastId);

// Empties and frees both registries (the objects are not touched) and resets
// the counter.
void FreeIdRegistries();

// A hash table of objects by their id: 8191 buckets of chains. Entries are
// added at the head of their bucket with no test for duplicates; an entry
// matches an id when the id stored in its object equals it. T has GetId().
template <class T> class CIdRegistry {
public:
    static constexpr uint32_t kBucketCount = 8191;

    CIdRegistry() : m_buckets(kBucketCount) {}

    static uint32_t Hash(const ObjectId& id) {
        return ((static_cast<uint32_t>(id.type) << 16) + id.number) % kBucketCount;
    }

    void Add(T* object) {
        m_buckets[Hash(object->GetId())].push_front(object);
        ++m_count;
    }

    // Removes the entry of this very object (filed under its current id);
    // other objects that carry an equal id keep theirs. False when the
    // object has no entry.
    bool Remove(const T* object) {
        auto& chain = m_buckets[Hash(object->GetId())];
        for (auto prev = chain.before_begin(), it = chain.begin(); it != chain.end(); prev = it++) {
            if (*it == object) {
                chain.erase_after(prev);
                --m_count;
                return true;
            }
        }
        return false;
    }

    // The first object of the bucket whose id equals the id, or null.
    T* Find(const ObjectId& id) const {
        for (T* object : m_buckets[Hash(id)])
            if (object->GetId() == id)
                return object;
        return nullptr;
    }

    uint32_t GetCount() const { return m_count; }

    // Calls the function with each object, bucket by bucket.
    template <class Function> void ForEach(Function function) const {
        for (const auto& chain : m_buckets)
            for (T* object : chain)
                function(object);
    }

private:
    uint32_t m_count = 0;
    std::vector<std::forward_list<T*>> m_buckets;
};

// An id holder registered in g_idEntityRegistry while its id has a
// registered type. Withdrawing the id (Unregister, the destructor) marks it
// unset; a leader's id (type 6) also clears its slot in the leader registry.
class CIdEntity {
public:
    CIdEntity() = default;
    virtual ~CIdEntity();
    CIdEntity(const CIdEntity&) = delete;
    CIdEntity& operator=(const CIdEntity&) = delete;

    virtual void SetId(const ObjectId& id);
    virtual void SetIdParts(uint16_t type, uint32_t number);
    virtual void AssignNewId();
    // Takes a fresh id of this machine's own objects (NewMachineObjectId).
    void AssignMachineId() { SetId(NewMachineObjectId()); }
    virtual bool Unregister();

    const ObjectId& GetId() const { return m_id; }

private:
    bool WithdrawId();

    ObjectId m_id;
};

// An id that is never registered.
class CIdValue {
public:
    CIdValue() = default;
    virtual ~CIdValue();
    CIdValue(const CIdValue&) = delete;
    CIdValue& operator=(const CIdValue&) = delete;

    virtual void SetId(const ObjectId& id);
    // A leader's id (type 6) clears its slot in the leader registry; the id
    // becomes null.
    virtual void Clear();

    const ObjectId& GetId() const { return m_id; }

private:
    void ClearId();

    ObjectId m_id;
};

// The base of the game's objects: registered in g_idObjectRegistry under its
// id whatever the type, except the null and the unset id, which are never
// registered.
class CIdObject {
public:
    CIdObject() = default;
    explicit CIdObject(const ObjectId& id);
    virtual ~CIdObject();
    CIdObject(const CIdObject&) = delete;
    CIdObject& operator=(const CIdObject&) = delete;

    virtual void SetId(const ObjectId& id);
    virtual void AssignNewId();
    // False when the registry is missing or the id is null or unset;
    // otherwise removes the entry and makes the id null.
    virtual bool Unregister();

    const ObjectId& GetId() const { return m_id; }

private:
    void Register();

    ObjectId m_id;
};

// Both absent until the first InitIdRegistries.
extern std::unique_ptr<CIdRegistry<CIdEntity>> g_idEntityRegistry;
extern std::unique_ptr<CIdRegistry<CIdObject>> g_idObjectRegistry;

// The object registered under the id in g_idObjectRegistry, or null.
CIdObject* FindObjectById(const ObjectId& id);

// The id holder behind an id: a province record (type 4), the leader
// registry's slot (type 6) or a registered entity; null for any other type
// and for unknown ids.
CIdEntity* ResolveId(const ObjectId& id);

// The holders of the two fixed-slot types belong to the game: the province
// records (type 4) to the world, the leader registry (type 6) to the
// military. Each owner fills its entries once, by a static registration in
// the file that defines its records; a null entry answers as if the records
// did not exist: no holder, nothing to clear.
struct IdSlotHooks {
    // world: the province record of the number; null out of range.
    CIdEntity* (*province)(uint32_t number) = nullptr;
    // military: the leader registry's slot of the number; null without a
    // registry, for an empty slot and out of range.
    CIdEntity* (*leaderSlot)(uint32_t number) = nullptr;
    // military: empties the slot when a leader's id is withdrawn; nothing
    // without a registry.
    void (*clearLeaderSlot)(uint32_t number) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern IdSlotHooks g_idSlots;
