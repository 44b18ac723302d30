// POSITION: the framework's opaque place in a list or map, handed out by GetHeadPosition,
// GetStartPosition and the like and advanced by GetNext / GetNextAssoc; null past the end.
#pragma once

struct __POSITION {};
typedef __POSITION* POSITION;

// The place before a map's first association; GetStartPosition returns it for a non-empty map.
#define BEFORE_START_POSITION ((POSITION)-1L)
