// CCmdTarget: the base of framework objects that receive commands and messages (modules, windows,
// dialogs). Message maps are added with the window classes.
#pragma once

#include <bwcore/afx/CObject.h>

class BWAFX_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
};
