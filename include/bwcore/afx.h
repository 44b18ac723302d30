// The framework subset: strings, collections, run-time classes, exceptions, the resource chain,
// synchronisation objects and threads, windows, controls, dialogs and message boxes.
#pragma once

#include <bwcore/platform.h>

#include <bwcore/afx/AfxMessageBox.h>
#include <bwcore/afx/CArray.h>
#include <bwcore/afx/CCmdTarget.h>
#include <bwcore/afx/CDataExchange.h>
#include <bwcore/afx/CDialog.h>
#include <bwcore/afx/CDynLinkLibrary.h>
#include <bwcore/afx/CException.h>
#include <bwcore/afx/CImageList.h>
#include <bwcore/afx/CListCtrl.h>
#include <bwcore/afx/CMapStringToPtr.h>
#include <bwcore/afx/CObArray.h>
#include <bwcore/afx/CObject.h>
#include <bwcore/afx/CPtrArray.h>
#include <bwcore/afx/CPtrList.h>
#include <bwcore/afx/CSingleLock.h>
#include <bwcore/afx/CString.h>
#include <bwcore/afx/CStringArray.h>
#include <bwcore/afx/CSyncObject.h>
#include <bwcore/afx/CTreeCtrl.h>
#include <bwcore/afx/CUiDriver.h>
#include <bwcore/afx/CWinThread.h>
#include <bwcore/afx/CWnd.h>
#include <bwcore/afx/POSITION.h>
