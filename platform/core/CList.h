#pragma once
// The framework's doubly linked list. A POSITION is a node and stays valid until that node is
// removed, which is what callers that walk and edit the list at once rely on.
#include "platform/core/WinTypes.h"

#include <cassert>
#include <utility>

template <typename T> class CList
{
public:
    explicit CList(int blockSize = 10) { (void)blockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() { RemoveAll(); }

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    T& GetHead() { return m_head->value; }
    T& GetTail() { return m_tail->value; }
    const T& GetHead() const { return m_head->value; }
    const T& GetTail() const { return m_tail->value; }

    T& GetAt(POSITION pos) { return NodeOf(pos)->value; }
    const T& GetAt(POSITION pos) const { return NodeOf(pos)->value; }
    void SetAt(POSITION pos, const T& value) { NodeOf(pos)->value = value; }

    // Returns the element at pos and moves pos on (to null after the tail).
    T& GetNext(POSITION& pos) const
    {
        Node* node = NodeOf(pos);
        pos = Pos(node->next);
        return node->value;
    }
    T& GetPrev(POSITION& pos) const
    {
        Node* node = NodeOf(pos);
        pos = Pos(node->prev);
        return node->value;
    }

    // The value is taken over when the caller gives it up (std::move), copied otherwise.
    POSITION AddTail(T value) { return InsertAfter(GetTailPosition(), std::move(value)); }
    POSITION AddHead(T value) { return InsertBefore(GetHeadPosition(), std::move(value)); }

    POSITION InsertBefore(POSITION pos, T value)
    {
        Node* next = NodeOf(pos);
        Node* node = new Node{std::move(value), next ? next->prev : m_tail, next};
        Link(node);
        return Pos(node);
    }

    POSITION InsertAfter(POSITION pos, T value)
    {
        Node* prev = NodeOf(pos);
        Node* node = new Node{std::move(value), prev, prev ? prev->next : m_head};
        Link(node);
        return Pos(node);
    }

    void RemoveAt(POSITION pos)
    {
        Node* node = NodeOf(pos);
        assert(node);
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        delete node;
        --m_count;
    }

    T RemoveHead()
    {
        T value = m_head->value;
        RemoveAt(GetHeadPosition());
        return value;
    }

    T RemoveTail()
    {
        T value = m_tail->value;
        RemoveAt(GetTailPosition());
        return value;
    }

    void RemoveAll()
    {
        while (m_head)
            RemoveAt(GetHeadPosition());
    }

    // The first position after startAfter (or from the head) holding value; null when none.
    POSITION Find(const T& value, POSITION startAfter = nullptr) const
    {
        for (Node* node = startAfter ? NodeOf(startAfter)->next : m_head; node; node = node->next)
            if (node->value == value)
                return Pos(node);
        return nullptr;
    }

    POSITION FindIndex(int index) const
    {
        if (index < 0 || index >= m_count)
            return nullptr;
        Node* node = m_head;
        while (index-- > 0)
            node = node->next;
        return Pos(node);
    }

private:
    struct Node {
        T value;
        Node* prev;
        Node* next;
    };

    static POSITION Pos(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* NodeOf(POSITION pos) { return reinterpret_cast<Node*>(pos); }

    void Link(Node* node)
    {
        (node->prev ? node->prev->next : m_head) = node;
        (node->next ? node->next->prev : m_tail) = node;
        ++m_count;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
