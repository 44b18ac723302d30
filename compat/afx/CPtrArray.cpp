#include <bwcore/afx/CPtrArray.h>

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
