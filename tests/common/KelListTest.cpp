#include "common/KelList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A node that reports its destruction, so that ownership can be checked.
struct TCountedNode : TKelNode {
    explicit TCountedNode(int value, int* freed = nullptr)
        : Value(value)
        , Freed(freed)
    {
    }
    ~TCountedNode() override
    {
        if (Freed != nullptr)
            ++*Freed;
    }
    int Value;
    int* Freed;
};

std::vector<int> ForwardValues(const TKelList& list)
{
    std::vector<int> values;
    for (TKelNode* n = list.Next(nullptr); n != nullptr; n = list.Next(n))
        values.push_back(static_cast<TCountedNode*>(n)->Value);
    return values;
}

std::vector<int> BackwardValues(const TKelList& list)
{
    std::vector<int> values;
    for (TKelNode* n = list.Prev(nullptr); n != nullptr; n = list.Prev(n))
        values.push_back(static_cast<TCountedNode*>(n)->Value);
    return values;
}

TEST(KelList, AddTailKeepsOrderAndLinksBothWays)
{
    TKelList list;
    for (int v = 1; v <= 4; ++v)
        list.AddTail(new TCountedNode(v));

    EXPECT_EQ(list.Count, 4);
    EXPECT_EQ(ForwardValues(list), (std::vector<int> {1, 2, 3, 4}));
    EXPECT_EQ(BackwardValues(list), (std::vector<int> {4, 3, 2, 1}));
    EXPECT_EQ(list.Head->Prev, nullptr);
    EXPECT_EQ(list.Tail->Next, nullptr);
}

TEST(KelList, AddTailOfNoNodeChangesNothing)
{
    TKelList list;
    list.AddTail(new TCountedNode(1));

    EXPECT_EQ(list.AddTail(nullptr), nullptr);
    EXPECT_EQ(list.Count, 1);
}

TEST(KelList, RemovingTheOnlyNodeEmptiesTheListEveryWay)
{
    for (int way = 0; way < 3; ++way) {
        TKelList list;
        auto* only = new TCountedNode(7);
        list.AddTail(only);

        TKelNode* removed = only;
        if (way == 0)
            list.Remove(only);
        else if (way == 1)
            removed = list.RemoveHead();
        else
            removed = list.RemoveTail();

        EXPECT_EQ(removed, only) << "way " << way;
        EXPECT_EQ(list.Head, nullptr);
        EXPECT_EQ(list.Tail, nullptr);
        EXPECT_EQ(list.Count, 0);
        EXPECT_EQ(only->Next, nullptr);
        EXPECT_EQ(only->Prev, nullptr);
        delete removed;
    }
}

TEST(KelList, EmptyListAnswersNone)
{
    TKelList list;

    EXPECT_EQ(list.RemoveHead(), nullptr);
    EXPECT_EQ(list.RemoveTail(), nullptr);
    EXPECT_EQ(list.Next(nullptr), nullptr);
    EXPECT_EQ(list.Prev(nullptr), nullptr);
    EXPECT_FALSE(list.Contains(nullptr));
    list.Remove(nullptr);
    list.Clear();
    EXPECT_EQ(list.Count, 0);
}

TEST(KelList, RemoveOfNoNodeOnNonEmptyListDoesNothing)
{
    TKelList list;
    list.AddTail(new TCountedNode(1));
    list.AddTail(new TCountedNode(2));

    list.Remove(nullptr);

    EXPECT_EQ(list.Count, 2);
    EXPECT_EQ(ForwardValues(list), (std::vector<int> {1, 2}));
}

TEST(KelList, RemoveFromTheMiddleRelinksNeighboursAndHandsNodeBack)
{
    int freed = 0;
    TKelList list;
    list.AddTail(new TCountedNode(1, &freed));
    auto* middle = new TCountedNode(2, &freed);
    list.AddTail(middle);
    list.AddTail(new TCountedNode(3, &freed));

    list.Remove(middle);

    EXPECT_EQ(freed, 0);
    EXPECT_EQ(list.Count, 2);
    EXPECT_FALSE(list.Contains(middle));
    EXPECT_EQ(ForwardValues(list), (std::vector<int> {1, 3}));
    EXPECT_EQ(BackwardValues(list), (std::vector<int> {3, 1}));
    delete middle;
    EXPECT_EQ(freed, 1);
}

TEST(KelList, RemoveHeadAndTailOfLongerListKeepTheChainWhole)
{
    TKelList list;
    for (int v = 1; v <= 4; ++v)
        list.AddTail(new TCountedNode(v));

    std::unique_ptr<TKelNode> head(list.RemoveHead());
    std::unique_ptr<TKelNode> tail(list.RemoveTail());

    EXPECT_EQ(static_cast<TCountedNode*>(head.get())->Value, 1);
    EXPECT_EQ(static_cast<TCountedNode*>(tail.get())->Value, 4);
    EXPECT_EQ(list.Count, 2);
    EXPECT_EQ(ForwardValues(list), (std::vector<int> {2, 3}));
    EXPECT_EQ(BackwardValues(list), (std::vector<int> {3, 2}));
}

TEST(KelList, ClearAndDestructionFreeEveryNode)
{
    int freed = 0;
    {
        TKelList list;
        for (int v = 0; v < 3; ++v)
            list.AddTail(new TCountedNode(v, &freed));
        list.Clear();
        EXPECT_EQ(freed, 3);
        EXPECT_EQ(list.Count, 0);
        EXPECT_EQ(list.Head, nullptr);
        for (int v = 0; v < 2; ++v)
            list.AddTail(new TCountedNode(v, &freed));
    }
    EXPECT_EQ(freed, 5);
}

TEST(KelList, WalkThatFreesTheCurrentNodeTakesTheNextFirst)
{
    int freed = 0;
    TKelList list;
    for (int v = 1; v <= 5; ++v)
        list.AddTail(new TCountedNode(v, &freed));

    for (TKelNode* n = list.Next(nullptr); n != nullptr;) {
        TKelNode* next = list.Next(n);
        if (static_cast<TCountedNode*>(n)->Value % 2 == 0) {
            list.Remove(n);
            delete n;
        }
        n = next;
    }

    EXPECT_EQ(freed, 2);
    EXPECT_EQ(ForwardValues(list), (std::vector<int> {1, 3, 5}));
}

} // namespace
