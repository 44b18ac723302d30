#include <bwcore/afx/CObArray.h>

IMPLEMENT_SERIAL(CObArray, CObject, 0)
