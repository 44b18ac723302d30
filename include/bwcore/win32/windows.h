// The Win32 subset for Linux, one header per area. Each declares exactly the functions that some
// part of the project calls, with Win32's names, types and semantics.
#pragma once

#include <bwcore/win32/types.h>

#include <bwcore/win32/commctrl.h>
#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>
#include <bwcore/win32/find.h>
#include <bwcore/win32/gdi.h>
#include <bwcore/win32/heaps.h>
#include <bwcore/win32/icons.h>
#include <bwcore/win32/imagelists.h>
#include <bwcore/win32/mbstring.h>
#include <bwcore/win32/oem.h>
#include <bwcore/win32/registry.h>
#include <bwcore/win32/resources.h>
#include <bwcore/win32/shell.h>
#include <bwcore/win32/strings.h>
#include <bwcore/win32/sync.h>
#include <bwcore/win32/user.h>
#include <bwcore/win32/versions.h>
