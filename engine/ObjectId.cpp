#include "engine/ObjectId.h"

uint16_t g_newIdType = 0;
uint32_t g_newIdCounter = 0;
uint32_t g_localPlayerNumber = 0;

namespace {

uint32_t g_machineIdCounter = 0;
uint32_t g_sharedIdCounter = 0;

} // namespace

std::unique_ptr<CIdRegistry<CIdEntity>> g_idEntityRegistry;
std::unique_ptr<CIdRegistry<CIdObject>> g_idObjectRegistry;
constinit IdSlotHooks g_idSlots;

namespace {

void ClearLeaderSlot(uint32_t number) {
    if (g_idSlots.clearLeaderSlot)
        g_idSlots.clearLeaderSlot(number);
}

} // namespace

ObjectId NewObjectId() {
    ++g_newIdCounter;
    return {g_newIdType, g_newIdCounter};
}

ObjectId NewMachineObjectId() {
    return {kMachineIdType, ++g_machineIdCounter};
}

ObjectId NewSharedObjectId() {
    return {kSharedIdType, ++g_sharedIdCounter};
}

void NoteSharedObjectId(const ObjectId& id) {
    if (id.type == kSharedIdType && id.number > g_sharedIdCounter)
        g_sharedIdCounter = id.number;
}

void InitIdRegistries(const ObjectId& lastId) {
    if (lastId.IsNull()) {
        FreeIdRegistries();
        g_newIdCounter = 0;
        g_machineIdCounter = 0;
        g_sharedIdCounter = 0;
        g_newIdType = static_cast<uint16_t>(kFirstPlayerIdType + g_localPlayerNumber);
    }
    if (!g_idEntityRegistry)
        g_idEntityRegistry = std::make_unique<CIdRegistry<CIdEntity>>();
    if (!g_idObjectRegistry)
        g_idObjectRegistry = std::make_unique<CIdRegistry<CIdObject>>();
    if (lastId.type == g_newIdType)
        g_newIdCounter = lastId.number;
}

void FreeIdRegistries() {
    g_idEntityRegistry.reset();
    g_idObjectRegistry.reset();
    g_newIdType = 0;
    g_newIdCounter = 0;
    g_machineIdCounter = 0;
    g_sharedIdCounter = 0;
}

CIdObject* FindObjectById(const ObjectId& id) {
    return g_idObjectRegistry ? g_idObjectRegistry->Find(id) : nullptr;
}

CIdEntity* ResolveId(const ObjectId& id) {
    if (id.type == kProvinceIdType)
        return g_idSlots.province ? g_idSlots.province(id.number) : nullptr;
    if (id.type == kLeaderIdType)
        return g_idSlots.leaderSlot ? g_idSlots.leaderSlot(id.number) : nullptr;
    if (IsRegisteredIdType(id.type) && g_idEntityRegistry)
        return g_idEntityRegistry->Find(id);
    return nullptr;
}

// ---------------------------------------------------------------- CIdEntity

CIdEntity::~CIdEntity() {
    WithdrawId();
}

void CIdEntity::SetId(const ObjectId& id) {
    if (IsRegisteredIdType(m_id.type) && g_idEntityRegistry)
        g_idEntityRegistry->Remove(this);
    m_id = id;
    if (IsRegisteredIdType(m_id.type) && g_idEntityRegistry)
        g_idEntityRegistry->Add(this);
}

void CIdEntity::SetIdParts(uint16_t type, uint32_t number) {
    SetId({type, number});
}

void CIdEntity::AssignNewId() {
    SetId(NewObjectId());
}

bool CIdEntity::Unregister() {
    return WithdrawId();
}

bool CIdEntity::WithdrawId() {
    bool result = true;
    if (IsRegisteredIdType(m_id.type))
        result = g_idEntityRegistry && g_idEntityRegistry->Remove(this);
    else if (m_id.type == kLeaderIdType)
        ClearLeaderSlot(m_id.number);
    m_id = {kUnsetIdType, m_id.number};
    return result;
}

// ----------------------------------------------------------------- CIdValue

CIdValue::~CIdValue() {
    ClearId();
}

void CIdValue::SetId(const ObjectId& id) {
    m_id = id;
}

void CIdValue::Clear() {
    ClearId();
}

void CIdValue::ClearId() {
    if (m_id.type == kLeaderIdType)
        ClearLeaderSlot(m_id.number);
    m_id = g_nullId;
}

// ---------------------------------------------------------------- CIdObject

CIdObject::CIdObject(const ObjectId& id) : m_id(id) {
    Register();
}

CIdObject::~CIdObject() {
    if (g_idObjectRegistry && !m_id.IsNull() && !m_id.IsUnset())
        g_idObjectRegistry->Remove(this);
    m_id = g_nullId;
}

void CIdObject::SetId(const ObjectId& id) {
    if (!m_id.IsNull() && !m_id.IsUnset())
        Unregister();
    m_id = id;
    Register();
}

void CIdObject::AssignNewId() {
    SetId(NewObjectId());
}

bool CIdObject::Unregister() {
    if (!g_idObjectRegistry || m_id.IsNull() || m_id.IsUnset())
        return false;
    g_idObjectRegistry->Remove(this);
    m_id = g_nullId;
    return true;
}

void CIdObject::Register() {
    if (g_idObjectRegistry && !m_id.IsNull() && !m_id.IsUnset())
        g_idObjectRegistry->Add(this);
}
