// bwcore: the core support library of the Brindlewick front end.
//
// The one header a caller includes. It declares every exported class and function, and the
// framework and Win32 types they use, in the global namespace under their own names.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/export.h>
#include <bwcore/platform.h>
#include <bwcore/version.h>

// The sibling tools library.
#include <bwcore/tools/CBWPath.h>
#include <bwcore/tools/CIcon.h>
#include <bwcore/tools/CStringEx.h>
#include <bwcore/tools/CSystem.h>

// Start-up.
#include <bwcore/BWCoreInit.h>

// Script analysis.
#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CCodeGlobalEventStream.h>
#include <bwcore/script/CCodeStream.h>
#include <bwcore/script/CEventFileScriptBrowser.h>
#include <bwcore/script/CFunctionParser.h>
#include <bwcore/script/CScriptBrowser.h>
#include <bwcore/script/CScriptFunctionInfo.h>
#include <bwcore/script/CTokenizer.h>

// Core runtime library.
#include <bwcore/runtime/Encrypt.h>
#include <bwcore/runtime/HashLink.h>
#include <bwcore/runtime/Io.h>
#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>

// Directory and file-type cache.
#include <bwcore/dircache/CDirInfo.h>
#include <bwcore/dircache/CFileType.h>
#include <bwcore/dircache/CObArrayEx.h>
#include <bwcore/dircache/CPathInfo.h>
#include <bwcore/dircache/CPtrArrayEx.h>
#include <bwcore/dircache/CPtrListEx.h>

// Languages and platforms.
#include <bwcore/intl/Intl.h>
#include <bwcore/intl/Platform.h>

// UI helpers.
#include <bwcore/ui/CDlgRegImportOverwrite.h>
#include <bwcore/ui/CutilIList.h>
#include <bwcore/ui/CutilLoadBitmap.h>
#include <bwcore/ui/CutilLoadIcon.h>
#include <bwcore/ui/CutilText.h>
#include <bwcore/ui/CutilTree.h>
#include <bwcore/ui/DlgMsg.h>
