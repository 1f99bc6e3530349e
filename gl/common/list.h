// A list of plain records that grows as it is added to, with no cap: what
// the page's GL keeps of a drawing. It is std::vector's job, done in a few
// lines because the page carries every byte of its code: vector's growth
// brings C++'s exceptions with it, about 2 KB of the page's download
// (gzipped) for lists that hold a few dozen records.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>

template <typename T> struct List {
    T *items = nullptr;
    std::size_t count = 0;
    std::size_t room = 0;

    List() = default;
    List(const List &) = delete;
    List &operator=(const List &) = delete;
    ~List()
    {
        std::free(static_cast<void *>(items));
    }

    std::size_t size() const
    {
        return count;
    }
    bool empty() const
    {
        return count == 0;
    }
    T &operator[](std::size_t at)
    {
        return items[at];
    }
    const T &operator[](std::size_t at) const
    {
        return items[at];
    }
    T *begin()
    {
        return items;
    }
    T *end()
    {
        return items + count;
    }
    const T *begin() const
    {
        return items;
    }
    const T *end() const
    {
        return items + count;
    }
};

// A new record at the end, its bytes as T's value-initialisation leaves
// them: the caller fills it in. Out of memory, the program ends, as
// std::vector's would.
template <typename T> T &added(List<T> &list)
{
    if (list.count == list.room) {
        list.room = list.room ? 2 * list.room : 16;
        void *grown = std::malloc(list.room * sizeof(T));
        if (!grown)
            __builtin_trap();
        if (list.count)
            std::memcpy(grown, static_cast<void *>(list.items), list.count * sizeof(T));
        std::free(static_cast<void *>(list.items));
        list.items = static_cast<T *>(grown);
    }
    T *item = list.items + list.count++;
    *item = T{};
    return *item;
}
