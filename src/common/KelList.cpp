#include "common/KelList.h"

TKelList::~TKelList()
{
    Clear();
}

TKelNode* TKelList::AddTail(TKelNode* node)
{
    if (node == nullptr)
        return nullptr;
    ++Count;
    node->Prev = Tail;
    node->Next = nullptr;
    if (Tail != nullptr)
        Tail->Next = node;
    else
        Head = node;
    Tail = node;
    return node;
}

TKelNode* TKelList::RemoveHead()
{
    if (Head == nullptr)
        return nullptr;
    --Count;
    TKelNode* node = Head;
    Head = node->Next;
    node->Next = nullptr;
    if (Head != nullptr)
        Head->Prev = nullptr;
    else
        Tail = nullptr;
    return node;
}

TKelNode* TKelList::RemoveTail()
{
    if (Tail == nullptr)
        return nullptr;
    --Count;
    TKelNode* node = Tail;
    Tail = node->Prev;
    node->Prev = nullptr;
    if (Tail != nullptr)
        Tail->Next = nullptr;
    else
        Head = nullptr;
    return node;
}

void TKelList::Remove(TKelNode* node)
{
    if (node == Head) {
        RemoveHead();
    } else if (node == Tail) {
        RemoveTail();
    } else if (node != nullptr) {
        --Count;
        node->Prev->Next = node->Next;
        node->Next->Prev = node->Prev;
        node->Next = nullptr;
        node->Prev = nullptr;
    }
}

TKelNode* TKelList::Next(const TKelNode* node) const
{
    return node == nullptr ? Head : node->Next;
}

TKelNode* TKelList::Prev(const TKelNode* node) const
{
    return node == nullptr ? Tail : node->Prev;
}

bool TKelList::Contains(const TKelNode* node) const
{
    for (const TKelNode* n = Head; n != nullptr; n = n->Next)
        if (n == node)
            return true;
    return false;
}

void TKelList::Clear()
{
    while (TKelNode* node = RemoveHead())
        delete node;
    Count = 0;
}
