// Image lists for Linux: each a vector of icons of its own, made by the icon area at the list's
// size.
#include "icons_internal.h"

#include <bwcore/win32/icons.h>
#include <bwcore/win32/imagelists.h>

#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct ImageList {
    int cx;
    int cy;
    std::vector<HICON> icons;

    ~ImageList() {
        for (HICON icon : icons)
            DestroyIcon(icon);
    }
};

// Handles are the lists' addresses; the table tells live handles from anything else. The lock is
// held while a list is read or changed, so lists may be used from several threads.
struct ImageListTable {
    std::mutex lock;
    std::unordered_map<HIMAGELIST, std::unique_ptr<ImageList>> lists;
};

// Never destroyed, so that lists may still be destroyed while the process ends.
ImageListTable& list_table() {
    static ImageListTable* table = new ImageListTable;
    return *table;
}

// The live list, or null; called with the table's lock held.
ImageList* find_list(ImageListTable& table, HIMAGELIST himl) {
    auto it = table.lists.find(himl);
    return it == table.lists.end() ? nullptr : it->second.get();
}

} // namespace

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) try {
    if (cx < 1 || cy < 1)
        return nullptr;
    auto list = std::make_unique<ImageList>();
    list->cx = cx;
    list->cy = cy;
    ImageListTable& table = list_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto handle = reinterpret_cast<HIMAGELIST>(list.get());
    table.lists.emplace(handle, std::move(list));
    return handle;
} catch (const std::bad_alloc&) {
    return nullptr;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
    ImageListTable& table = list_table();
    std::lock_guard<std::mutex> guard(table.lock);
    ImageList* list = find_list(table, himl);
    if (!list || i < -1 || i >= static_cast<int>(list->icons.size()))
        return -1;
    HICON copy = bwcompat::StretchIcon(hicon, list->cx, list->cy);
    if (!copy)
        return -1;
    if (i >= 0) {
        DestroyIcon(list->icons[i]);
        list->icons[i] = copy;
        return i;
    }
    try {
        list->icons.push_back(copy);
    } catch (const std::bad_alloc&) {
        DestroyIcon(copy);
        return -1;
    }
    return static_cast<int>(list->icons.size()) - 1;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    ImageListTable& table = list_table();
    std::lock_guard<std::mutex> guard(table.lock);
    ImageList* list = find_list(table, himl);
    return list ? static_cast<int>(list->icons.size()) : 0;
}

HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags) {
    ImageListTable& table = list_table();
    std::lock_guard<std::mutex> guard(table.lock);
    ImageList* list = find_list(table, himl);
    if (!list || i < 0 || i >= static_cast<int>(list->icons.size()))
        return nullptr;
    return CopyIcon(list->icons[i]);
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    std::unique_ptr<ImageList> list;
    {
        ImageListTable& table = list_table();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.lists.find(himl);
        if (it == table.lists.end())
            return FALSE;
        list = std::move(it->second);
        table.lists.erase(it);
    }
    return TRUE;
}
