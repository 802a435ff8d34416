// A set of the values of a small enumeration (at most 64 values), kept as bits. It answers the
// part of std::set's interface that the class library's set types use (insert, erase, count,
// find, ordered iteration, comparison), without a node per member: every control carries a few
// of these sets and tests them on each message.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <utility>

template <typename E> class TEnumSet {
public:
    using key_type = E;
    using value_type = E;
    using size_type = std::size_t;

    // Walks the members in ascending order, as std::set does.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = E;
        using difference_type = std::ptrdiff_t;
        using pointer = const E*;
        using reference = E;

        const_iterator() = default;
        E operator*() const { return E(__builtin_ctzll(FRest)); }
        const_iterator& operator++() {
            FRest &= FRest - 1;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator& Other) const { return FRest == Other.FRest; }
        bool operator!=(const const_iterator& Other) const { return FRest != Other.FRest; }

    private:
        friend class TEnumSet;
        explicit const_iterator(uint64_t Rest) : FRest(Rest) {}
        uint64_t FRest = 0; // the members not yet visited
    };
    using iterator = const_iterator;

    TEnumSet() = default;
    TEnumSet(std::initializer_list<E> Items) {
        for (E e : Items) FBits |= Bit(e);
    }
    template <typename It> TEnumSet(It First, It Last) { insert(First, Last); }

    std::pair<iterator, bool> insert(E Value) {
        const bool added = !(FBits & Bit(Value));
        FBits |= Bit(Value);
        return {find(Value), added};
    }
    iterator insert(const_iterator, E Value) { return insert(Value).first; }
    template <typename It> void insert(It First, It Last) {
        for (; First != Last; ++First) FBits |= Bit(*First);
    }
    void insert(std::initializer_list<E> Items) { insert(Items.begin(), Items.end()); }
    size_type erase(E Value) {
        const bool had = FBits & Bit(Value);
        FBits &= ~Bit(Value);
        return had ? 1 : 0;
    }
    iterator erase(const_iterator Pos) {
        const_iterator next = Pos;
        ++next;
        FBits &= ~(Pos.FRest & -Pos.FRest);
        return next;
    }
    void clear() { FBits = 0; }
    void swap(TEnumSet& Other) { std::swap(FBits, Other.FBits); }

    size_type count(E Value) const { return (FBits & Bit(Value)) ? 1 : 0; }
    bool contains(E Value) const { return FBits & Bit(Value); }
    iterator find(E Value) const {
        // An iterator at Value walks the members from Value upwards.
        return contains(Value) ? const_iterator(FBits & ~(Bit(Value) - 1)) : end();
    }
    size_type size() const { return size_type(__builtin_popcountll(FBits)); }
    bool empty() const { return FBits == 0; }
    const_iterator begin() const { return const_iterator(FBits); }
    const_iterator end() const { return const_iterator(0); }

    bool operator==(const TEnumSet& Other) const { return FBits == Other.FBits; }
    bool operator!=(const TEnumSet& Other) const { return FBits != Other.FBits; }
    // The order of std::set: the members compared as ascending sequences.
    bool operator<(const TEnumSet& Other) const {
        const uint64_t differ = FBits ^ Other.FBits;
        if (!differ) return false;
        const uint64_t first = differ & -differ; // the lowest value in one set only
        // The set holding it has the smaller element at that point, unless the other ran out.
        if (FBits & first) return (Other.FBits & ~(first - 1)) != 0;
        return (FBits & ~(first - 1)) == 0;
    }

private:
    static uint64_t Bit(E Value) {
        assert(unsigned(Value) < 64);
        return uint64_t(1) << unsigned(Value);
    }
    uint64_t FBits = 0;
};
