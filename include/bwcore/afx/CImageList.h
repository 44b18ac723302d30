// CImageList: an image list of the common controls, owned by the object.
#pragma once

#include <bwcore/afx/CObject.h>

class BWAFX_API CImageList : public CObject {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    // Destroys the list, if one was created.
    ~CImageList() override;

    // Creates an empty list of cx by cy images (ImageList_Create); FALSE when it cannot be made
    // or the object already holds a list.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Destroys the list; FALSE when the object holds none.
    BOOL DeleteImageList();
    // The number of images; 0 without a list.
    int GetImageCount() const;
    // Appends a copy of the icon; its index, or -1.
    int Add(HICON hIcon);
    // A new icon with image nImage, which the caller destroys; null for an index outside the list.
    // (windows.h defines ExtractIcon as ExtractIconA, so the member is ExtractIconA everywhere.)
    HICON ExtractIcon(int nImage);

    HIMAGELIST m_hImageList = nullptr;
};
