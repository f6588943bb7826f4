#include "objects/PointerList.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using List = PointerList<int>;
using Node = PointerListNode<int>;

/// Checks every invariant of the list and that a forward walk yields expected, a backward walk
/// its reverse.
void ExpectLinks(const List& list, const std::vector<int*>& expected) {
    ASSERT_EQ(list.count, static_cast<std::int32_t>(expected.size()));
    if (expected.empty()) {
        EXPECT_EQ(list.head, nullptr);
        EXPECT_EQ(list.tail, nullptr);
        return;
    }
    ASSERT_NE(list.head, nullptr);
    ASSERT_NE(list.tail, nullptr);
    EXPECT_EQ(list.head->prev, nullptr);
    EXPECT_EQ(list.tail->next, nullptr);

    std::vector<int*> forward;
    for (const Node* node = list.head; node != nullptr; node = node->next) {
        if (node->next != nullptr) {
            EXPECT_EQ(node->next->prev, node) << "at item " << forward.size();
        }
        forward.push_back(node->value);
        ASSERT_LE(forward.size(), expected.size()) << "the forward walk does not end";
    }
    EXPECT_EQ(forward, expected);

    std::vector<int*> backward;
    for (const Node* node = list.tail; node != nullptr; node = node->prev) {
        backward.push_back(node->value);
        ASSERT_LE(backward.size(), expected.size()) << "the backward walk does not end";
    }
    EXPECT_EQ(backward, std::vector<int*>(expected.rbegin(), expected.rend()));
}

Node* NodeAt(const List& list, int index) {
    Node* node = list.head;
    for (int i = 0; i < index; ++i) {
        node = node->next;
    }
    return node;
}

class PointerListTest : public ::testing::Test {
protected:
    int a = 1, b = 2, c = 3, d = 4, z = 26;
};

TEST_F(PointerListTest, NewListIsEmpty) {
    List list;
    ExpectLinks(list, {});
}

TEST_F(PointerListTest, AppendKeepsOrderAndLinksBothWays) {
    List list;
    list.Append(&a);
    //   head,tail -> [a]
    ASSERT_EQ(list.head, list.tail);
    EXPECT_EQ(list.head->next, nullptr);
    EXPECT_EQ(list.head->prev, nullptr);
    ExpectLinks(list, {&a});

    Node* first = list.head;
    list.Append(&b);
    //   head -> [a] <-> [b] <- tail
    EXPECT_EQ(list.head, first);
    EXPECT_EQ(first->next, list.tail);
    EXPECT_EQ(list.tail->prev, first);
    list.Append(&c);
    ExpectLinks(list, {&a, &b, &c});
}

TEST_F(PointerListTest, SamePointerTwiceTakesTwoNodes) {
    List list;
    list.Append(&a);
    list.Append(&a);
    ExpectLinks(list, {&a, &a});
    EXPECT_NE(list.head, list.tail);
}

TEST_F(PointerListTest, NullItemsAreKept) {
    List list;
    int* none = nullptr;
    list.Append(none);
    list.Append(&a);
    ExpectLinks(list, {nullptr, &a});
}

/// One erase: a list of `size` items a, b, c, d (in that order), the node at `erased` named by
/// the cursor, and where the cursor must stand afterwards (-1: empty).
struct EraseCase {
    std::string name;
    int size;
    int erased;
    int cursorAfter;  ///< index into the items before the erase, -1 for empty
    friend void PrintTo(const EraseCase& row, std::ostream* out) { *out << row.name; }
};

class PointerListEraseTest : public PointerListTest,
                             public ::testing::WithParamInterface<EraseCase> {};

// Every kind of erase, e.g. the middle of three:
//
//   before:  head -> [a] <-> [b] <-> [c] <- tail        cursor -> [b]
//   after:   head -> [a] <-> [c] <- tail                cursor -> [c]
//
// and the tail of a longer list, where the cursor is emptied rather than left on the freed node:
//
//   before:  head -> [a] <-> [b] <-> [c] <- tail        cursor -> [c]
//   after:   head -> [a] <-> [b] <- tail                cursor -> (empty)
//
// After each erase one more item is appended, which catches a stale tail or a dangling link.
TEST_P(PointerListEraseTest, RelinksNeighboursAndMovesCursor) {
    const EraseCase& param = GetParam();
    std::vector<int*> items{&a, &b, &c, &d};
    items.resize(param.size);
    List list;
    for (int* item : items) {
        list.Append(item);
    }

    Node* cursor = NodeAt(list, param.erased);
    Node* expectedCursor = param.cursorAfter < 0 ? nullptr : NodeAt(list, param.cursorAfter);
    list.Erase(cursor);

    EXPECT_EQ(cursor, expectedCursor);
    items.erase(items.begin() + param.erased);
    ExpectLinks(list, items);

    list.Append(&z);
    items.push_back(&z);
    ExpectLinks(list, items);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPosition, PointerListEraseTest,
    ::testing::Values(EraseCase{"OnlyNode", 1, 0, -1},      // [a]           -> empty
                      EraseCase{"HeadOfTwo", 2, 0, 1},      // [a] b         -> b, cursor b
                      EraseCase{"TailOfTwo", 2, 1, -1},     // a [b]         -> a, cursor empty
                      EraseCase{"HeadOfFour", 4, 0, 1},     // [a] b c d     -> b c d, cursor b
                      EraseCase{"MiddleOfThree", 3, 1, 2},  // a [b] c       -> a c, cursor c
                      EraseCase{"SecondOfFour", 4, 1, 2},   // a [b] c d     -> a c d, cursor c
                      EraseCase{"ThirdOfFour", 4, 2, 3},    // a b [c] d     -> a b d, cursor d
                      EraseCase{"TailOfFour", 4, 3, -1}),   // a b c [d]     -> a b c, cursor empty
    [](const ::testing::TestParamInfo<EraseCase>& info) { return info.param.name; });

TEST_F(PointerListTest, ErasingFromTheHeadEmptiesTheListInOrder) {
    List list;
    list.Append(&a);
    list.Append(&b);
    list.Append(&c);
    std::vector<int*> seen;
    Node* cursor = list.head;
    while (cursor != nullptr) {
        seen.push_back(cursor->value);
        list.Erase(cursor);
    }
    EXPECT_EQ(seen, (std::vector<int*>{&a, &b, &c}));
    ExpectLinks(list, {});
}

TEST_F(PointerListTest, ClearFreesNodesAndLeavesItems) {
    List empty;
    empty.Clear();
    ExpectLinks(empty, {});

    // The items are owned elsewhere; the sanitizer build reports it if the list frees them.
    std::vector<int*> owned{new int(7), new int(8)};
    List list;
    List other;
    for (int* item : owned) {
        list.Append(item);
        other.Append(item);
    }
    list.Clear();
    ExpectLinks(list, {});
    ExpectLinks(other, owned);
    EXPECT_EQ(*other.head->value + *other.tail->value, 15);
    for (int* item : owned) {
        delete item;
    }
}

TEST_F(PointerListTest, DestroyingAListLeavesItsItems) {
    int item = 5;
    {
        List list;
        list.Append(&item);
        list.Append(&item);
    }
    EXPECT_EQ(item, 5);
}

TEST(DeleteItemsAndClearTest, DeletesEachItemOnceFirstToLastSkippingEmptyNodes) {
    struct Tracked {
        int id;
        std::vector<int>* log;
        ~Tracked() { log->push_back(id); }
    };
    std::vector<int> deleted;
    PointerList<Tracked> list;
    Tracked* none = nullptr;
    list.Append(new Tracked{1, &deleted});
    list.Append(none);
    list.Append(new Tracked{2, &deleted});
    list.Append(new Tracked{3, &deleted});

    DeleteItemsAndClear(list);

    EXPECT_EQ(deleted, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
}

TEST_F(PointerListTest, ErasingWithoutAValidCursorStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            List list;
            list.Append(&a);
            Node* cursor = nullptr;
            list.Erase(cursor);
        },
        "names no node");
    EXPECT_DEATH(
        {
            List list;
            List other;
            other.Append(&a);
            Node* cursor = other.head;
            list.Erase(cursor);
        },
        "another list");
    EXPECT_DEATH(
        {
            List list;
            list.Append(&a);
            List other;
            other.Append(&b);
            other.Append(&c);
            Node* cursor = other.tail;  // has a prev, no next, and is not this list's tail
            list.Erase(cursor);
        },
        "another list");
}

}  // namespace
