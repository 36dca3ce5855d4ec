// The ordered keyed list: keeps insertion order, finds an element by a text key without regard to
// letter case, removes by key, and refuses a second element under a key it already holds.
// Elements are shared objects, so that a dialog can hold one of them while the list owns it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "text/Ansi.h"

namespace zav {

template <class T>
class cKeyedList {
public:
    using Item = std::shared_ptr<T>;

    std::size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    // Appends under `key`; raises kErrDuplicateKey when an element with that key (any letter
    // case) is already in the list.
    void add(const std::wstring& key, Item item) {
        if (indexOf(key) != npos)
            throw Error(kErrDuplicateKey, L"Add " + key, L"This key is already associated with an element of this collection");
        items_.emplace_back(key, std::move(item));
    }

    bool contains(const std::wstring& key) const { return indexOf(key) != npos; }

    // The element under `key`, or nullptr.
    Item find(const std::wstring& key) const {
        std::size_t i = indexOf(key);
        return i == npos ? nullptr : items_[i].second;
    }

    // The element under `key`; raises kErrSubscript when there is none.
    Item item(const std::wstring& key) const {
        std::size_t i = indexOf(key);
        if (i == npos) throw Error(kErrSubscript, L"Item " + key, L"No element has this key");
        return items_[i].second;
    }

    // 0-based position in insertion order.
    const Item& at(std::size_t index) const {
        if (index >= items_.size()) throw Error(kErrSubscript, L"Item", L"Subscript out of range");
        return items_[index].second;
    }
    const std::wstring& keyAt(std::size_t index) const {
        if (index >= items_.size()) throw Error(kErrSubscript, L"Item", L"Subscript out of range");
        return items_[index].first;
    }

    // Removes the element under `key`; raises kErrSubscript when there is none.
    void remove(const std::wstring& key) {
        std::size_t i = indexOf(key);
        if (i == npos) throw Error(kErrSubscript, L"Remove " + key, L"No element has this key");
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    }

    void clear() { items_.clear(); }

    // Iteration in insertion order over the elements.
    class const_iterator {
    public:
        explicit const_iterator(typename std::vector<std::pair<std::wstring, Item>>::const_iterator it) : it_(it) {}
        const Item& operator*() const { return it_->second; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return it_ != other.it_; }

    private:
        typename std::vector<std::pair<std::wstring, Item>>::const_iterator it_;
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t indexOf(const std::wstring& key) const {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].first.size() == key.size() && equalsNoCase(items_[i].first, key)) return i;
        return npos;
    }

    std::vector<std::pair<std::wstring, Item>> items_;
};

}  // namespace zav
