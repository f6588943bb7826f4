#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

/// One element of a PointerList. Callers walk the list through next and prev.
template <typename T>
struct PointerListNode {
    T* value = nullptr;
    PointerListNode* next = nullptr;  ///< empty at the last node
    PointerListNode* prev = nullptr;  ///< empty at the first node
};

/// A doubly linked list of pointers to T, kept in the order of Append. The list owns its nodes
/// and never owns, deletes, copies or compares the items they point to: whoever appends an
/// item deletes it (see DeleteItemsAndClear).
///
/// Callers walk it by reading head and following next, or tail and following prev, until the
/// node pointer is empty. head and tail are both empty or both set, and count is the number of
/// nodes.
///
/// Nodes come from blocks that the list keeps, each twice the size of the one before (3 nodes
/// up to 1024): appending costs no allocation per item, and a walk over a list that was built
/// by appending reads its nodes in the order they lie in memory. An erased node is kept for the
/// next append; the blocks go when the list becomes empty.
template <typename T>
class PointerList {
public:
    using Node = PointerListNode<T>;

    PointerList() = default;
    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;
    /// Frees every node; the items stay as they are.
    ~PointerList() { Clear(); }

    /// Copies the pointer into a new node at the end. When memory runs out the allocation
    /// throws before the list changes.
    void Append(T* const& item) {
        Node* node = NewNode();
        node->value = item;
        if (tail == nullptr) {
            tail = node;
            head = node;
        } else {
            node->prev = tail;
            tail->next = node;
            tail = node;
        }
        ++count;
    }

    /// Unlinks and frees the node that cursor names, which must be a node of this list, and
    /// moves cursor on: to the following node, or empty when the erased node was the last.
    void Erase(Node*& cursor) {
        Node* node = cursor;
        if (node == nullptr) {
            Fail("PointerList::Erase: the cursor names no node");
        }
        if (tail == nullptr || (node->prev == nullptr && node != head) ||
            (node->next == nullptr && node != tail)) {
            Fail("PointerList::Erase: the cursor names a node of another list");
        }
        if (node->prev != nullptr) {
            node->prev->next = node->next;
        }
        if (node->next != nullptr) {
            node->next->prev = node->prev;
        }
        if (head == tail) {
            head = nullptr;
            tail = nullptr;
            cursor = nullptr;
        } else if (node == head) {
            head = node->next;
            cursor = node->next;
        } else if (node == tail) {
            tail = node->prev;
            cursor = nullptr;  // never left naming the freed node
        } else {
            cursor = node->next;
        }
        --count;
        FreeNode(node);
    }

    /// Exchanges the whole contents of two lists, nodes and blocks alike, without allocating.
    void Swap(PointerList& other) noexcept {
        std::swap(head, other.head);
        std::swap(tail, other.tail);
        std::swap(count, other.count);
        std::swap(blocks_, other.blocks_);
        std::swap(free_, other.free_);
        std::swap(used_, other.used_);
        std::swap(capacity_, other.capacity_);
    }

    /// Erases every node, first to last; the items stay as they are.
    void Clear() {
        Node* cursor = head;
        while (cursor != nullptr) {
            Erase(cursor);
        }
    }

    Node* head = nullptr;
    Node* tail = nullptr;
    std::int32_t count = 0;

private:
    /// A block is this header followed by its nodes.
    struct Block {
        Block* previous;
    };
    static_assert(sizeof(Block) % alignof(Node) == 0);
    // Three, not four: the first block of an object's three shapes is then 80 bytes, not 112.
    static constexpr std::int32_t kFirstBlock = 3;
    static constexpr std::int32_t kLargestBlock = 1024;

    Node* NewNode() {
        if (free_ != nullptr) {
            Node* node = free_;
            free_ = node->next;
            *node = Node{};
            return node;
        }
        if (blocks_ == nullptr || used_ == capacity_) {
            const std::int32_t capacity =
                blocks_ == nullptr ? kFirstBlock : std::min(capacity_ * 2, kLargestBlock);
            auto* block = static_cast<Block*>(
                ::operator new(sizeof(Block) + sizeof(Node) * static_cast<std::size_t>(capacity)));
            block->previous = blocks_;
            blocks_ = block;
            capacity_ = capacity;
            used_ = 0;
        }
        return ::new (reinterpret_cast<Node*>(blocks_ + 1) + used_++) Node{};
    }

    void FreeNode(Node* node) {
        if (count == 0) {
            // The last node went: give every block back.
            while (blocks_ != nullptr) {
                Block* previous = blocks_->previous;
                ::operator delete(blocks_);
                blocks_ = previous;
            }
            free_ = nullptr;
            used_ = capacity_ = 0;
            return;
        }
        node->next = free_;
        node->prev = nullptr;
        free_ = node;
    }

    Block* blocks_ = nullptr;    ///< the newest block, linked to the older ones
    Node* free_ = nullptr;       ///< erased nodes kept for reuse, linked through next
    std::int32_t used_ = 0;      ///< nodes handed out of the newest block
    std::int32_t capacity_ = 0;  ///< nodes in the newest block

    [[noreturn]] static void Fail(const char* message) {
        std::fputs(message, stderr);
        std::fputc('\n', stderr);
        std::abort();
    }
};

/// Disposes of a list together with its items, first to last: deletes the item of each node
/// (a node without an item is skipped), then erases the node. For the owner of the items.
template <typename T>
void DeleteItemsAndClear(PointerList<T>& list) {
    PointerListNode<T>* cursor = list.head;
    while (cursor != nullptr) {
        delete cursor->value;
        list.Erase(cursor);
    }
}
