#pragma once
// How many readings fall into each class of a table, held in place rather than on the
// heap: a file's statistics make one of these for every component.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

#include "data/CorrosionClasses.h"

namespace ohmlet {

class ClassCounts {
public:
    using value_type = int64_t;
    using iterator = const int64_t*;
    using const_iterator = const int64_t*;

    ClassCounts() = default;
    // `size` zeros; a table has at most ClassTable::kMaxClasses classes.
    explicit ClassCounts(std::size_t size) : size_(Checked(size)) {}
    ClassCounts(std::initializer_list<int64_t> counts) : size_(Checked(counts.size())) {
        std::copy(counts.begin(), counts.end(), counts_.begin());
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    int64_t& operator[](std::size_t i) { return counts_[i]; }
    int64_t operator[](std::size_t i) const { return counts_[i]; }
    int64_t& back() { return counts_[size_ - 1]; }
    const int64_t* begin() const { return counts_.data(); }
    const int64_t* end() const { return counts_.data() + size_; }

    friend bool operator==(const ClassCounts& a, const ClassCounts& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator!=(const ClassCounts& a, const ClassCounts& b) { return !(a == b); }

private:
    static std::size_t Checked(std::size_t size) {
        if (size > ClassTable::kMaxClasses)
            throw std::length_error("more classes than a table holds");
        return size;
    }

    std::array<int64_t, ClassTable::kMaxClasses> counts_{};
    std::size_t size_ = 0;
};

}  // namespace ohmlet
