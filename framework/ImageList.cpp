#include "framework/ImageList.h"

CImageList::~CImageList() {
    Destroy();
}

bool CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    Destroy();
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HBITMAP hBitmap, COLORREF crTransparent) {
    if (!m_hImageList || !hBitmap)
        return -1;
    return ImageList_AddMasked(m_hImageList, hBitmap, crTransparent);
}

int CImageList::AddBitmapResource(UINT nId, COLORREF crTransparent) {
    auto hBitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    int nIndex = Add(hBitmap, crTransparent);
    if (hBitmap)
        DeleteObject(hBitmap);
    return nIndex;
}

int CImageList::GetImageCount() const {
    return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = nullptr;
    return hImageList;
}

void CImageList::Destroy() {
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}
