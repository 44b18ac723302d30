// CFileType: the table of file types that folder and file views show.
//
// One record per extension met, made on first demand from the system's file associations (the
// registry's class root) and kept for the table's life: a type text, the open command and an
// image index that means the same picture in the 32 by 32 and the 16 by 16 image list. A record's
// index (the type index) never changes; directory listings store it.
//
// Record 0 stands for names without an extension (key " "); image 0 is the generic file icon and
// image 1 the folder icon.
//
// Decisions where the associations leave room:
// - A "DefaultIcon" value without a comma names no icon: the icon file is left empty and the
//   index read from the whole text, so the type shows image 0. Such values are mostly "%1" (the
//   file's own icon, which one table entry per extension cannot show) or a bare program name
//   that only the system's search path would find.
// - A class key without a value of its own keeps the formatted text ("TXT File"), so that no
//   type is shown without a text.
// - Icons taken from ExtractIconA are destroyed once both lists hold their copies.
//
// Not locked: calls on one table must be serialised by its user.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/dircache/CPtrArrayEx.h>

class BWCORE_API CFileType : public CObject {
public:
    struct typeinfo {
        char szText[260];     // type text shown to the user
        int32_t nImage;       // index of the type's icon in both image lists
        char szCommand[520];  // the association's open command
        char szIconFile[260]; // file that holds the type's icon
        int32_t nIconIndex;   // index of the icon in szIconFile; -2 when none is given
    };

    CFileType();
    ~CFileType() override;

    // The type index of the name's extension, making its record on first demand; strText and
    // strCommand get the record's text and command. -1 when no record can be allocated (the
    // strings are then left alone).
    int QueryFileTypeIndex(char* pszFile, CString& strText, CString& strCommand);
    // The image index of type nType, with its text and command; -1 for an invalid index (the
    // strings are then left alone).
    int QueryFileTypeText(int nType, CString& strText, CString& strCommand);
    // The folder's image index, with the text "File Folder".
    int QueryFolderImage(CString& strText);
    // The 32 by 32 list for nonzero bLarge, else the 16 by 16 list; owned by the table.
    CImageList* QueryImages(int bLarge);
    // The whole record of type nType, owned by the table; null for an invalid index.
    const typeinfo* QueryFileTypeInfo(int nType) const;

private:
    int Setup();
    int Unsetup();
    int GetFileTypeInfo(const CString& strExt, typeinfo* pInfo);
    int GetRegistryInfo(const CString& strKey, char* pszIconFile, int* pnIconIndex, char* pszText,
                        char* pszCommand);
    int CreateImageIndex(const CString& strExt, typeinfo* pInfo);
    // Appends the icon at both sizes; its index in the large list, or -1.
    int AddIcon(int nId);

    CImageList* m_pLargeImages = nullptr;
    CImageList* m_pSmallImages = nullptr;
    CMapStringToPtr m_mapTypes{10};
    CPtrArrayEx m_arrTypes;
    int32_t m_nFolderImage = 0;
};
