#pragma once
// CImageList: owns one image list of the common controls.

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // For example Create(17, 13, ILC_COLOR32 | ILC_MASK, 1, 1). Destroys a list held before.
    bool Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Adds a bitmap; pixels of crTransparent become transparent. Returns the image's index, or
    // -1. The bitmap stays the caller's.
    int Add(HBITMAP hBitmap, COLORREF crTransparent);
    // Loads bitmap resource nId of the program, stretches it to the list's image size when its
    // size differs (a picture drawn for 96 DPI in a list made for the screen's DPI), adds it as
    // Add does, and frees it.
    int AddBitmapResource(UINT nId, COLORREF crTransparent);
    int GetImageCount() const;

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    // Gives up ownership (for a list control that destroys its image lists itself).
    HIMAGELIST Detach();
    void Destroy();

private:
    HIMAGELIST m_hImageList = nullptr;
};
