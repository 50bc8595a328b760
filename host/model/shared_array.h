// The geometry arrays of a node (points, polygons, UVW records). A copy of a node shares its
// arrays until one of the two changes them, so the temporary documents a save makes of a large
// object do not hold its geometry a second time.
//
//   copy->points = object.points;   // shared, nothing copied
//   copy->points.push_back(p);      // the copy gets an array of its own first
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace host {

template <typename T>
class SharedArray {
public:
    using value_type = T;
    using const_iterator = typename std::vector<T>::const_iterator;

    SharedArray() = default;
    SharedArray(std::vector<T> values) { *this = std::move(values); }
    SharedArray(std::initializer_list<T> values) : SharedArray(std::vector<T>(values)) {}
    SharedArray& operator=(std::vector<T> values)
    {
        values_ = std::make_shared<std::vector<T>>(std::move(values));
        return *this;
    }
    SharedArray& operator=(std::initializer_list<T> values) { return *this = std::vector<T>(values); }

    // Reading never copies.
    const std::vector<T>& values() const { return values_ ? *values_ : none(); }
    operator const std::vector<T>&() const { return values(); }
    std::size_t size() const { return values().size(); }
    bool empty() const { return values().empty(); }
    const T* data() const { return values().data(); }
    const T& operator[](std::size_t i) const { return values()[i]; }
    const T& back() const { return values().back(); }
    const_iterator begin() const { return values().begin(); }
    const_iterator end() const { return values().end(); }

    // Changing makes the array this node's own first.
    void push_back(const T& value) { own().push_back(value); }
    void reserve(std::size_t n) { own().reserve(n); }
    void clear() { values_.reset(); }
    void insert(const_iterator at, std::initializer_list<T> values) { insertAt(at, values); }
    template <typename Iterator>
    void insert(const_iterator at, Iterator first, Iterator last) { insertAt(at, first, last); }

private:
    std::shared_ptr<std::vector<T>> values_; // none: empty

    static const std::vector<T>& none()
    {
        static const std::vector<T> empty;
        return empty;
    }

    /// `at` may stand in an array shared with another node: its offset is what counts.
    template <typename... Args>
    void insertAt(const_iterator at, Args&&... args)
    {
        const auto offset = at - begin();
        std::vector<T>& mine = own();
        mine.insert(mine.begin() + offset, std::forward<Args>(args)...);
    }

    std::vector<T>& own()
    {
        if (!values_)
            values_ = std::make_shared<std::vector<T>>();
        else if (values_.use_count() > 1)
            values_ = std::make_shared<std::vector<T>>(*values_);
        return *values_;
    }
};

} // namespace host
