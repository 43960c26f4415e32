#pragma once
// The engine's doubly linked lists. Every list variant shares one interface
// of virtual operations (TListBase) and differs only in what a node holds and
// how two items compare:
//   CLinkedList<T>   nodes hold T*, items compare equal when they are the
//                    same pointer;
//   CTemplateList<T> the same as CLinkedList<T> under its own name;
//   CObjectIdList    nodes hold an ObjectId by value; ids compare equal when
//                    type and number are equal.
// A list owns its nodes, never its items.
//
// Walking with removal: a walker that removes items either takes the next
// position before it touches the current item (as ForEach does: its function
// may remove the current item, and only that one), or brackets its walk with
// BeginWalk / EndWalk. While the walking flag is set, RemoveNode only marks
// the node removed: the node stays linked and counted, and a walker holding
// any position stays valid. Marked nodes count as gone for FindFrom, Find,
// Contains, Remove and ForEach, which pass over them. EndWalk clears the
// flag and unlinks and frees every marked node. RemoveAll and the destructor
// free every node at once, walking or not.
#include <cstdint>
#include <functional>
#include <new>

#include "engine/CriticalError.h"
#include "engine/ObjectId.h"

template <class Item> struct CListNode {
    Item item;
    CListNode* prev = nullptr;
    CListNode* next = nullptr;
    uint8_t removed = 0;
};

// A cursor over a list: one node pointer. The postfix ++ hands out the
// current node and moves to the next one (none at the end).
template <class Item> class TListIterator {
public:
    explicit TListIterator(CListNode<Item>* node = nullptr) : m_node(node) {}

    CListNode<Item>* operator++(int) {
        CListNode<Item>* current = m_node;
        if (m_node)
            m_node = m_node->next;
        return current;
    }
    CListNode<Item>* Get() const { return m_node; }

private:
    CListNode<Item>* m_node;
};

template <class Item> class TListBase {
public:
    using Node = CListNode<Item>;
    using CListPosition = Node*;
    using CIterator = TListIterator<Item>;

    TListBase() = default;
    TListBase(const TListBase&) = delete;
    TListBase& operator=(const TListBase&) = delete;

    // Frees every node (not the items).
    virtual ~TListBase() { FreeAllNodes(); }

    virtual uint32_t GetCount() const { return m_count; }
    virtual bool IsEmpty() const { return m_count == 0; }
    virtual bool Compare(const Item& a, const Item& b) const { return a == b; }

    // Frees every node, not the items; head, tail and count become empty.
    virtual void RemoveAll() { FreeAllNodes(); }
    virtual void Clear() { RemoveAll(); }

    // Find, then RemoveNode on the result.
    virtual bool Remove(const Item& item) { return RemoveNode(Find(item)); }

    // False for no node. While walking the node is only marked; otherwise it
    // is unlinked and freed.
    virtual bool RemoveNode(Node* node) {
        if (!node)
            return false;
        if (m_walking) {
            node->removed = 1;
            return true;
        }
        Unlink(node);
        return true;
    }

    // Calls the function with each item from head to tail; the next node is
    // taken before each call. Nodes marked removed are passed over.
    virtual void ForEach(const std::function<void(Item)>& function) {
        Node* node = m_head;
        while (node) {
            Node* next = node->next;
            if (!node->removed)
                function(node->item);
            node = next;
        }
    }

    virtual bool Contains(const Item& item) const { return Find(item) != nullptr; }
    virtual Node* Find(const Item& item) const { return FindFrom(m_head, item); }

    // The first node from the given one on (itself included) whose item
    // compares equal and that is not marked removed; none at the end.
    virtual Node* FindFrom(Node* from, const Item& item) const {
        for (Node* node = from; node; node = node->next)
            if (!node->removed && Compare(node->item, item))
                return node;
        return nullptr;
    }

    // The appends answer the new node, or none when it could not be made.
    Node* AddTail(const Item& item) { return Link(item, m_tail, nullptr); }
    Node* AddHead(const Item& item) { return Link(item, nullptr, m_head); }
    // Inserts before the given node; with no node, at the tail.
    Node* InsertBefore(const Item& item, Node* before) {
        if (!before)
            return AddTail(item);
        return Link(item, before->prev, before);
    }

    void GetHeadPosition(CListPosition& position) const { position = m_head; }
    Node* GetTail() const { return m_tail; }
    static void MoveNext(CListPosition& position) {
        if (position)
            position = position->next;
    }
    static void StepBack(CListPosition& position) {
        if (position)
            position = position->prev;
    }

    // The walking flag (clear in a new list).
    void BeginWalk() { m_walking = true; }
    bool IsWalking() const { return m_walking; }
    // Clears the flag and frees the nodes marked removed meanwhile.
    void EndWalk() {
        m_walking = false;
        Node* node = m_head;
        while (node) {
            Node* next = node->next;
            if (node->removed)
                Unlink(node);
            node = next;
        }
    }

private:
    Node* Link(const Item& item, Node* prev, Node* next) {
        Node* node = new (std::nothrow) Node{item, prev, next, 0};
        if (!node) {
            DebugPrint("no room for addtail in oblist\n");
            return nullptr;
        }
        (prev ? prev->next : m_head) = node;
        (next ? next->prev : m_tail) = node;
        ++m_count;
        return node;
    }

    void Unlink(Node* node) {
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        delete node;
        --m_count;
    }

    void FreeAllNodes() {
        Node* node = m_head;
        while (node) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    uint32_t m_count = 0;
    bool m_walking = false;
};

// A list of T* that does not own its items.
template <class T> class CLinkedList : public TListBase<T*> {};

// The same list under the name its users know it by.
template <class T> class CTemplateList : public CLinkedList<T> {};

// A list of object ids kept in the nodes; equal ids (type and number) match,
// whichever copy is asked for.
class CObjectIdList : public TListBase<ObjectId> {};
