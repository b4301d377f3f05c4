#pragma once

#include <cstdint>

// A node of an intrusive doubly linked list; node classes add their payload.
class TKelNode {
public:
    TKelNode() = default;
    virtual ~TKelNode() = default;
    TKelNode(const TKelNode&) = delete;
    TKelNode& operator=(const TKelNode&) = delete;

    TKelNode* Next = nullptr;
    TKelNode* Prev = nullptr;
};

// A doubly linked list that owns its nodes: Clear and the destructor free them, while the
// removal operations hand a node back to the caller, who then owns it.
class TKelList {
public:
    TKelList() = default;
    virtual ~TKelList();
    TKelList(const TKelList&) = delete;
    TKelList& operator=(const TKelList&) = delete;

    int32_t Count = 0;
    TKelNode* Head = nullptr;
    TKelNode* Tail = nullptr;

    // Appends node and returns it; a null node changes nothing and returns null.
    TKelNode* AddTail(TKelNode* node);
    TKelNode* RemoveHead();
    TKelNode* RemoveTail();
    // Unlinks node, which must belong to this list.
    void Remove(TKelNode* node);
    // The node after node, or Head when node is null; Prev mirrors it from Tail.
    TKelNode* Next(const TKelNode* node) const;
    TKelNode* Prev(const TKelNode* node) const;
    bool Contains(const TKelNode* node) const;
    void Clear();
};
