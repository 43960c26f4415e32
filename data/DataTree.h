#pragma once
// The data tree: reference-counted nodes from which every saved section is
// built before it prints itself in the text format, and which also carry the
// values, variables and statements of the script language (data/Script.h).
//
// Reference counting: a new node has count 0. A holder that stores a node
// adds one reference (CDataNode::AddRef, or a CNodeRef); releasing drops one,
// and a node whose count falls below 1 deletes itself. A node that is never
// handed to a holder is deleted by its maker (CDataNode::DeleteIfUnheld).
// Deleting a node releases what it holds without recursing, so trees nested
// any depth are freed safely.
//
// Evaluate and Execute answer either a node that someone already holds or a
// new node nobody holds yet; the caller takes the answer into a CNodeRef (or
// DeleteIfUnheld's it). Nodes must be held while they are evaluated.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/ObjectId.h"

class CFieldReader;
class CDataAssignment;
class CDataBlock;
class CDataValue;
class CScriptFunction;
class CScriptType;
class CScriptVariable;

// Node types.
constexpr uint32_t NODE_ASSIGNMENT = 0;  // assignment made from a keyword id
constexpr uint32_t NODE_BLOCK = 2;       // block of entries
constexpr uint32_t NODE_SCRIPT_TYPE = 3; // type of the script language, deferred argument
constexpr uint32_t NODE_INT = 4;
constexpr uint32_t NODE_FLOAT = 5;
constexpr uint32_t NODE_BOOL = 6;
constexpr uint32_t NODE_STRING = 7;
constexpr uint32_t NODE_IDENTIFIER = 10;       // identifier or object id
constexpr uint32_t NODE_LOCAL = 12;            // script local and its storage cell
constexpr uint32_t NODE_KEYED_ASSIGNMENT = 13; // assignment made from two nodes, and every clone
constexpr uint32_t NODE_DECLARATION = 14;      // script declaration symbol ("int a b")
constexpr uint32_t NODE_FUNCTION = 16;         // compiled script function
constexpr uint32_t NODE_CALLABLE = 17;         // script variable holding a function
constexpr uint32_t NODE_MEMBER_ACCESS = 18;
constexpr uint32_t NODE_CALL = 19;
constexpr uint32_t NODE_SYMBOL_TABLE = 21;

// Deepest nesting of blocks and assignments that Write prints; deeper trees
// are refused with a critical error (and FIELD_ERROR) instead of exhausting
// the stack.
constexpr int32_t kMaxWriteDepth = 256;

class CDataNode {
public:
    explicit CDataNode(uint32_t nodeType) : m_nodeType(nodeType) {}
    CDataNode(const CDataNode&) = delete;
    CDataNode& operator=(const CDataNode&) = delete;

    uint32_t GetNodeType() const { return m_nodeType; }
    int32_t GetRefCount() const { return m_refCount; }

    void AddRef() { ++m_refCount; }
    // Drops one reference without deleting the node (CNodeRef::Detach).
    void ForgetRef() { --m_refCount; }
    // Drops one reference of the node (null: nothing); below 1 the node is
    // deleted. The pointer is set to null.
    template <class T> static void Release(T*& node) {
        CDataNode* held = node;
        node = nullptr;
        ReleaseNode(held);
    }
    static void ReleaseNode(CDataNode* node);
    // Deletes a node that nobody holds (count below 1); a held node stays.
    static void DeleteIfUnheld(CDataNode* node);

    virtual uint32_t GetKeywordId() const { return 0; }
    virtual int32_t GetInt() const { return 0; }
    virtual float GetFloat() const { return 0.0f; }
    virtual bool GetBool() const { return false; }
    virtual const char* GetString() const { return ""; }
    virtual CDataNode* AsContainer() { return nullptr; }
    virtual CDataBlock* AsBlock() { return nullptr; }
    virtual CScriptType* AsType() { return nullptr; }
    // Identifier and object id: themselves; assignment: its key.
    virtual CDataNode* GetIdentifier() { return nullptr; }
    // The name of the node's identifier; null when it has none.
    virtual const char* GetName();
    virtual ObjectId GetObjectId() const { return g_nullId; }
    virtual CDataNode* GetValue() { return this; }
    // The static tag of the value's class (TypeTag); null for other nodes.
    virtual CDataNode* GetTypeTag() { return nullptr; }
    virtual CDataNode* GetDeclarationScope() { return nullptr; }
    // Nodes that do not keep the given node delete it when nobody holds it.
    virtual CDataNode* SetValue(CDataNode* node);
    virtual bool AssignFrom(CDataNode* /*other*/) { return false; }
    virtual bool IsValue() const { return false; }
    virtual bool IsAssignment() const { return false; }
    virtual bool IsCallable() const { return false; }
    virtual bool IsVariable() const { return false; }
    virtual bool IsSuspended() const { return false; }
    virtual CDataNode* AsValue() { return nullptr; }
    virtual CDataAssignment* AsAssignment() { return nullptr; }
    virtual CScriptFunction* AsCallable() { return nullptr; }
    virtual CScriptVariable* AsVariable() { return nullptr; }
    virtual CDataNode* Lookup(const char* /*name*/) { return nullptr; }
    // Prints the node through the token writer at the given block depth:
    // FIELD_WRITTEN, or FIELD_ERROR when the file is not open or a write
    // failed.
    virtual int32_t Write(CFieldReader& out, int32_t indent);
    // A new node of the same kind and value (count 0).
    virtual CDataNode* Clone();
    virtual CDataNode* Evaluate(CDataNode* context);
    virtual CDataNode* Execute(CDataNode* context) { return Evaluate(context); }

    // The operations of containers (blocks, script functions and scopes).
    // Here they keep nothing: a given node nobody holds is deleted.
    virtual void AddChild(CDataNode* node);
    virtual uint32_t GetChildCount() const { return 0; }
    virtual bool RemoveChild(CDataNode* node);
    virtual bool HasChild(CDataNode* /*node*/) const { return false; }
    virtual bool Declare(CDataNode* node);

protected:
    virtual ~CDataNode() = default;

private:
    uint32_t m_nodeType;
    int32_t m_refCount = 0;
};

// A holder of one reference to a node.
template <class T> class CNodeRef {
public:
    CNodeRef() = default;
    CNodeRef(T* node) : m_node(node) { // NOLINT: implicit by design
        if (m_node)
            m_node->AddRef();
    }
    CNodeRef(const CNodeRef& other) : CNodeRef(other.m_node) {}
    CNodeRef(CNodeRef&& other) noexcept : m_node(std::exchange(other.m_node, nullptr)) {}
    ~CNodeRef() { Reset(); }

    CNodeRef& operator=(const CNodeRef& other) {
        Reset(other.m_node);
        return *this;
    }
    CNodeRef& operator=(CNodeRef&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(m_node, std::exchange(other.m_node, nullptr));
            CDataNode::Release(old);
        }
        return *this;
    }

    // Holds the new node (null: none) and releases the old one.
    void Reset(T* node = nullptr) {
        if (node)
            node->AddRef();
        T* old = std::exchange(m_node, node);
        CDataNode::Release(old);
    }

    // Gives the node back without deleting it: its count drops by one and may
    // reach 0, leaving the node to whoever takes it next.
    T* Detach() {
        T* node = std::exchange(m_node, nullptr);
        if (node)
            node->ForgetRef();
        return node;
    }

    T* Get() const { return m_node; }
    T* operator->() const { return m_node; }
    T& operator*() const { return *m_node; }
    explicit operator bool() const { return m_node != nullptr; }

private:
    T* m_node = nullptr;
};

// The static tags of the value classes; the script compares them to check
// argument types.
enum class ETypeTag { Int, Float, Bool, String, Identifier, ObjectId, Block, Type };
CDataNode* TypeTag(ETypeTag tag);

// The empty node (type 0) that lives for the whole run; the script answers it
// as a result that keeps a call's frame.
CDataNode* StaticEmptyNode();

class CDataValue : public CDataNode {
public:
    using CDataNode::CDataNode;
    bool IsValue() const override { return true; }
    CDataNode* AsValue() override { return this; }
};

class CDataInt : public CDataValue {
public:
    explicit CDataInt(int32_t value = 0) : CDataValue(NODE_INT), m_value(value) {}
    int32_t GetInt() const override { return m_value; }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Int); }
    bool AssignFrom(CDataNode* other) override;
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override { return new CDataInt(m_value); }

private:
    int32_t m_value;
};

class CFloatNode : public CDataValue {
public:
    explicit CFloatNode(float value = 0.0f) : CDataValue(NODE_FLOAT), m_value(value) {}
    float GetFloat() const override { return m_value; }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Float); }
    bool AssignFrom(CDataNode* other) override;
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override { return new CFloatNode(m_value); }

private:
    float m_value;
};

class CDataBool : public CDataValue {
public:
    explicit CDataBool(bool value = false) : CDataValue(NODE_BOOL), m_value(value ? 1 : 0) {}
    bool GetBool() const override { return m_value != 0; }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Bool); }
    bool AssignFrom(CDataNode* other) override;
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override { return new CDataBool(m_value != 0); }

private:
    uint8_t m_value;
};

class CDataString : public CDataValue {
public:
    explicit CDataString(const char* text = "")
        : CDataValue(NODE_STRING), m_text(text ? text : "") {}
    const char* GetString() const override { return m_text.c_str(); }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::String); }
    bool AssignFrom(CDataNode* other) override;
    // Written as a quote, the text, a quote and a blank. The format has no
    // escape: a double quote in the text is written as a single quote.
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override { return new CDataString(m_text.c_str()); }
    void SetText(const char* text) { m_text = text ? text : ""; }

private:
    std::string m_text;
};

// A keyword (by id; its text is "identifier") or a free name (keyword id 0).
class CDataIdentifier : public CDataNode {
public:
    explicit CDataIdentifier(uint32_t keywordId)
        : CDataNode(NODE_IDENTIFIER), m_keywordId(keywordId), m_text("identifier") {}
    explicit CDataIdentifier(const char* name)
        : CDataNode(NODE_IDENTIFIER), m_text(name ? name : "") {}

    uint32_t GetKeywordId() const override { return m_keywordId; }
    CDataNode* GetIdentifier() override { return this; }
    const char* GetName() override { return m_text.c_str(); }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Identifier); }
    bool IsValue() const override { return true; }
    CDataNode* AsValue() override { return this; }
    // The keyword's text (or the own text for a free name) and a blank.
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override;

protected:
    CDataIdentifier(uint32_t keywordId, const char* text)
        : CDataNode(NODE_IDENTIFIER), m_keywordId(keywordId), m_text(text) {}

private:
    uint32_t m_keywordId = 0;
    std::string m_text;
};

// An object id (keyword "id"). A country's id (type 3) prints as its tag,
// any other as the block { type = 4 id = 17 }.
class CDataObjectId : public CDataIdentifier {
public:
    explicit CDataObjectId(const ObjectId& id);

    ObjectId GetObjectId() const override { return m_id; }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::ObjectId); }
    bool AssignFrom(CDataNode* other) override;
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override { return new CDataObjectId(m_id); }

private:
    ObjectId m_id;
};

// The tag of a country number, supplied by the country code (GetCountryTag).
// Until one is set, a country's id prints as a type/id block as well.
using CountryTagSource = const char* (*)(uint32_t countryNumber);
void SetCountryTagSource(CountryTagSource source);

// A key and its value, both held.
class CDataAssignment : public CDataNode {
public:
    // Type 0: the key is a new identifier of the keyword.
    CDataAssignment(uint32_t keywordId, CDataNode* value);
    // Type 13: a ready key.
    CDataAssignment(CDataNode* key, CDataNode* value);

    CDataNode* GetKey() const { return m_key.Get(); }
    uint32_t GetKeywordId() const override { return m_key ? m_key->GetKeywordId() : 0; }
    CDataNode* GetIdentifier() override { return m_key.Get(); }
    const char* GetName() override { return m_key ? m_key->GetName() : nullptr; }
    CDataNode* GetValue() override { return m_value.Get(); }
    // Keeps the value node when it takes over the other's contents
    // (AssignFrom); otherwise holds the new node instead. Answers the node
    // stored.
    CDataNode* SetValue(CDataNode* node) override;
    bool IsAssignment() const override { return true; }
    CDataAssignment* AsAssignment() override { return this; }
    // key "= " value
    int32_t Write(CFieldReader& out, int32_t indent) override;
    CDataNode* Clone() override;
    // Evaluates the value and answers the assignment itself.
    CDataNode* Evaluate(CDataNode* context) override;

protected:
    CDataAssignment(uint32_t nodeType, CDataNode* key, CDataNode* value);

private:
    CNodeRef<CDataNode> m_key;
    CNodeRef<CDataNode> m_value;
};

// The abstract base of block-like nodes that section writers derive from.
class CDataBlockBase : public CDataNode {
public:
    CDataBlockBase() : CDataNode(NODE_BLOCK) {}
    CDataNode* AsContainer() override { return this; }
    CDataNode* Clone() override = 0;
    void AddChild(CDataNode* node) override = 0;
    uint32_t GetChildCount() const override = 0;
    bool RemoveChild(CDataNode* node) override = 0;
    bool HasChild(CDataNode* node) const override = 0;
    bool Declare(CDataNode* node) override = 0;
};

// A block of entries between braces; it holds one reference on each child.
class CDataBlock : public CDataNode {
public:
    CDataBlock() : CDataNode(NODE_BLOCK) {}
    // The same children, each held once more.
    explicit CDataBlock(const CDataBlock& other);

    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Block); }
    CDataNode* AsContainer() override { return this; }
    CDataBlock* AsBlock() override { return this; }
    bool IsValue() const override { return true; }
    CDataNode* AsValue() override { return this; }

    void AddChild(CDataNode* node) override;
    uint32_t GetChildCount() const override { return static_cast<uint32_t>(m_children.size()); }
    // Unlinks the first entry of the node and releases it.
    bool RemoveChild(CDataNode* node) override;
    bool HasChild(CDataNode* node) const override;
    // Given another block: Execute (null context) on each of its children,
    // once for each child of this block.
    bool Declare(CDataNode* node) override;
    // The child at the index, or null.
    CDataNode* GetChild(uint32_t index) const;

    // Null: nothing. A block: its children move here in order (their counts
    // unchanged), it is left empty and released. Anything else: AddChild.
    void AddContents(CDataNode* node);
    // Releases every child; the block stays, empty.
    void ReleaseChildren();

    // "{ " children "} ": on several lines, four blanks per level, when the
    // depth is below 3, there are more than 3 children and the first is not
    // a value; on one line otherwise.
    int32_t Write(CFieldReader& out, int32_t indent) override;
    // A block holding the same children.
    CDataNode* Clone() override { return new CDataBlock(*this); }
    // Empty: the block itself; otherwise a new block of the children's
    // results.
    CDataNode* Evaluate(CDataNode* context) override;
    CDataNode* Execute(CDataNode* context) override;

protected:
    explicit CDataBlock(uint32_t nodeType) : CDataNode(nodeType) {}
    std::vector<CNodeRef<CDataNode>>& Children() { return m_children; }

private:
    CDataNode* EvaluateChildren(CDataNode* context, bool execute);

    std::vector<CNodeRef<CDataNode>> m_children;
};

// A point {x, y} as the data tree writes it: { x = 10 y = 20 }.
struct cpoint {
    int32_t x = 0;
    int32_t y = 0;

    static CDataBlock* MakeNode(const cpoint& point);
};

// Drops the references of the script's global trees (the global scope and
// the console's scope and variables), deleting them when nobody else holds
// them. Called by the game teardown.
void ReleaseGlobalTrees();
