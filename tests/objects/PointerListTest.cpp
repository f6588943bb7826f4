#include "objects/PointerList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using List = PointerList<int>;
using Node = PointerListNode<int>;

/// Checks count, both ends and every link both ways (each node's prev is the node before it,
/// tail is the last), and that a forward walk yields expected.
void ExpectLinks(const List& list, const std::vector<int*>& expected) {
    ASSERT_EQ(list.count, static_cast<std::int32_t>(expected.size()));
    ASSERT_EQ(list.head == nullptr, expected.empty());
    ASSERT_EQ(list.tail == nullptr, expected.empty());
    std::vector<int*> forward;
    const Node* previous = nullptr;
    for (const Node* node = list.head; node != nullptr; previous = node, node = node->next) {
        ASSERT_EQ(node->prev, previous) << "at item " << forward.size();
        forward.push_back(node->value);
        ASSERT_LE(forward.size(), expected.size()) << "the forward walk does not end";
    }
    EXPECT_EQ(previous, list.tail);
    EXPECT_EQ(forward, expected);
}

/// One erase from the list a, b, c, d cut to `size` items: the index of the erased node and
/// where the cursor stands afterwards (-1: empty).
struct EraseCase {
    const char* name;
    int size, erased, cursorAfter;
};

class PointerListErase : public ::testing::TestWithParam<EraseCase> {};

// e.g. the middle, and the tail of a longer list, where the cursor must not name the freed node:
//
//   head -> [a] <-> [b] <-> [c] <- tail   cursor -> [b]   ==>  head -> [a] <-> [c]   cursor -> [c]
//   head -> [a] <-> [b] <-> [c] <- tail   cursor -> [c]   ==>  head -> [a] <-> [b]   cursor empty
//
// One more Append afterwards catches a stale tail or a dangling link.
TEST_P(PointerListErase, RelinksNeighboursAndMovesTheCursorOn) {
    const EraseCase& param = GetParam();
    int a = 1, b = 2, c = 3, d = 4, z = 26;
    std::vector<int*> items{&a, &b, &c, &d};
    items.resize(param.size);
    List list;
    std::vector<Node*> nodes;
    for (int* item : items) {
        list.Append(item);
        nodes.push_back(list.tail);
    }
    ExpectLinks(list, items);

    Node* cursor = nodes[param.erased];
    list.Erase(cursor);
    EXPECT_EQ(cursor, param.cursorAfter < 0 ? nullptr : nodes[param.cursorAfter]);
    items.erase(items.begin() + param.erased);
    ExpectLinks(list, items);

    list.Append(&z);
    items.push_back(&z);
    ExpectLinks(list, items);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryPosition, PointerListErase, ::testing::Values(
    EraseCase{"OnlyNode",      1, 0, -1},  // [a]        -> empty,  cursor empty
    EraseCase{"HeadOfTwo",     2, 0, 1},   // [a] b      -> b,      cursor b
    EraseCase{"TailOfTwo",     2, 1, -1},  // a [b]      -> a,      cursor empty
    EraseCase{"HeadOfFour",    4, 0, 1},   // [a] b c d  -> b c d,  cursor b
    EraseCase{"MiddleOfThree", 3, 1, 2},   // a [b] c    -> a c,    cursor c
    EraseCase{"ThirdOfFour",   4, 2, 3},   // a b [c] d  -> a b d,  cursor d
    EraseCase{"TailOfFour",    4, 3, -1}), // a b c [d]  -> a b c,  cursor empty
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PointerListTest, EraseStopsTheProgramOnACursorOfNoOrAnotherList) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int a = 1;
    List list, other;
    list.Append(&a);
    other.Append(&a);
    other.Append(&a);
    Node* none = nullptr;
    Node* otherHead = other.head;  // no prev, not this list's head
    Node* otherTail = other.tail;  // no next, not this list's tail
    EXPECT_DEATH(list.Erase(none), "names no node");
    EXPECT_DEATH(list.Erase(otherHead), "another list");
    EXPECT_DEATH(list.Erase(otherTail), "another list");
}

// Nodes come from blocks of growing size and erased ones are used again: across many blocks,
// with erasures between appends, the list keeps its order and links, and it can be emptied
// and filled again.
TEST(PointerListBlocks, KeepOrderAcrossBlocksErasuresAndRefills) {
    std::vector<int> items(3000);
    List list;
    std::vector<int*> expected;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3000; ++i) {
            list.Append(&items[i]);
            expected.push_back(&items[i]);
            if (i % 3 == 2) {  // erase the node appended two steps before
                Node* cursor = list.tail->prev->prev;
                expected.erase(expected.end() - 3);
                list.Erase(cursor);
            }
        }
        std::vector<int*> forward, backward;
        for (const Node* node = list.head; node != nullptr; node = node->next) {
            forward.push_back(node->value);
        }
        for (const Node* node = list.tail; node != nullptr; node = node->prev) {
            backward.insert(backward.begin(), node->value);
        }
        ASSERT_EQ(forward, expected);
        ASSERT_EQ(backward, expected);
        ASSERT_EQ(list.count, static_cast<std::int32_t>(expected.size()));
        list.Clear();
        expected.clear();
        ASSERT_EQ(list.head, nullptr);
    }
}

}  // namespace
