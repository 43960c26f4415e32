#include <gtest/gtest.h>

#include <vector>

#include "engine/LinkedList.h"

namespace {

struct Thing {
    int n;
};

// Items from head to tail, and the same walked back from the tail: both
// directions must agree with the count.
std::vector<int> Forward(const CLinkedList<Thing>& list) {
    std::vector<int> out;
    CLinkedList<Thing>::CListPosition pos;
    list.GetHeadPosition(pos);
    for (; pos; CLinkedList<Thing>::MoveNext(pos))
        out.push_back(pos->item->n);
    return out;
}

std::vector<int> Backward(const CLinkedList<Thing>& list) {
    std::vector<int> out;
    for (auto pos = list.GetTail(); pos; CLinkedList<Thing>::StepBack(pos))
        out.insert(out.begin(), pos->item->n);
    return out;
}

void ExpectItems(const CLinkedList<Thing>& list, const std::vector<int>& expected) {
    EXPECT_EQ(Forward(list), expected);
    EXPECT_EQ(Backward(list), expected);
    EXPECT_EQ(list.GetCount(), expected.size());
    EXPECT_EQ(list.IsEmpty(), expected.empty());
}

class LinkedListTest : public ::testing::Test {
protected:
    Thing a{1}, b{2}, c{3}, d{4};
    CLinkedList<Thing> list;
};

} // namespace

TEST_F(LinkedListTest, AppendsAndInsertsKeepBothDirections) {
    list.AddTail(&b);
    list.AddHead(&a);
    auto* dNode = list.AddTail(&d);
    list.InsertBefore(&c, dNode);
    ExpectItems(list, {1, 2, 3, 4});

    CLinkedList<Thing> other;
    auto* head = other.AddTail(&b);
    other.InsertBefore(&a, head);    // before the head: the new head
    other.InsertBefore(&c, nullptr); // before nothing: at the tail
    ExpectItems(other, {1, 2, 3});
}

TEST_F(LinkedListTest, RemoveNodeFixesHeadAndTail) {
    auto* only = list.AddTail(&a);
    EXPECT_TRUE(list.RemoveNode(only));
    ExpectItems(list, {});
    EXPECT_EQ(list.GetTail(), nullptr);

    list.AddTail(&a);
    list.AddTail(&b);
    auto* tail = list.AddTail(&c);
    EXPECT_TRUE(list.RemoveNode(tail));
    ExpectItems(list, {1, 2});
    list.AddTail(&d); // appends after the new tail
    ExpectItems(list, {1, 2, 4});

    EXPECT_TRUE(list.Remove(&a)); // the head
    ExpectItems(list, {2, 4});
    EXPECT_FALSE(list.Remove(&c));
    EXPECT_FALSE(list.RemoveNode(nullptr));
    ExpectItems(list, {2, 4});
}

TEST_F(LinkedListTest, ForEachMayRemoveTheCurrentItem) {
    for (Thing* t : {&a, &b, &c, &d})
        list.AddTail(t);
    std::vector<int> visited;
    list.ForEach([&](Thing* t) {
        visited.push_back(t->n);
        if (t->n % 2 == 1)
            list.Remove(t);
    });
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4}));
    ExpectItems(list, {2, 4});
}

TEST_F(LinkedListTest, WalkingFlagMarksUntilTheWalkEnds) {
    for (Thing* t : {&a, &b, &c, &d})
        list.AddTail(t);
    list.BeginWalk();
    CLinkedList<Thing>::CListPosition head;
    list.GetHeadPosition(head);
    CLinkedList<Thing>::CIterator it(head);
    std::vector<int> visited;
    while (auto* node = it++) {
        visited.push_back(node->item->n);
        if (node->item->n == 1 || node->item->n == 4) {
            EXPECT_TRUE(list.RemoveNode(node)); // only marked: the walk goes on
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.GetCount(), 4u);
    // Marked items are gone for the lookups and ForEach.
    EXPECT_FALSE(list.Contains(&a));
    EXPECT_FALSE(list.Remove(&d));
    std::vector<int> seen;
    list.ForEach([&](Thing* t) { seen.push_back(t->n); });
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));

    // An item marked and added again is found in its new node.
    list.AddTail(&a);
    EXPECT_TRUE(list.Contains(&a));

    list.EndWalk();
    EXPECT_FALSE(list.IsWalking());
    ExpectItems(list, {2, 3, 1});
}

TEST_F(LinkedListTest, FindFromAndRemoveAll) {
    list.AddTail(&a);
    auto* second = list.AddTail(&b);
    list.AddTail(&a);
    auto* first = list.Find(&a);
    ASSERT_NE(first, nullptr);
    auto* again = list.FindFrom(second, &a);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, first);
    EXPECT_EQ(list.FindFrom(again->next, &a), nullptr);

    list.Clear();
    ExpectItems(list, {});
    list.AddTail(&c);
    ExpectItems(list, {3});
}

TEST(ObjectIdList, ComparesIdsByValue) {
    CObjectIdList ids;
    ids.AddTail(ObjectId(4712, 2));
    ids.AddTail(ObjectId(4712, 3));
    ObjectId copy(4712, 3);
    EXPECT_TRUE(ids.Contains(copy));
    EXPECT_FALSE(ids.Contains(ObjectId(4713, 3))); // the type counts
    EXPECT_FALSE(ids.Contains(ObjectId(4712, 4)));
    EXPECT_TRUE(ids.Remove(ObjectId(4712, 2)));
    EXPECT_EQ(ids.GetCount(), 1u);
}
