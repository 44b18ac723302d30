// CIcon: an icon loaded at a given size from the resources that the framework searches (the
// application's resource module first, then the extension modules on the resource chain).
//
// The object does not own the icon: the handle stays valid after the object is destroyed, since
// callers hand it on (into image lists) and destroy it themselves. m_hIcon is the first member,
// and the class has no virtual functions, so the handle is found at the object's address.
#pragma once

#include <bwcore/platform.h>

class BWTOOLS_API CIcon {
public:
    // Loads icon group nId at cx by cy pixels; m_hIcon is null when no module holds the group or
    // it cannot be loaded.
    CIcon(int nId, int cx, int cy);
    ~CIcon();

    HICON m_hIcon;
};
