#include <bwcore/afx/CCmdTarget.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
