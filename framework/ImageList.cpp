#include "framework/ImageList.h"

namespace {

// A copy of the bitmap at cx by cy pixels, or nullptr when it has that size already. Each pixel
// is taken from its nearest source pixel, so the transparent colour stays exact and the
// picture sharp.
HBITMAP StretchBitmap(HBITMAP hBitmap, int cx, int cy) {
    BITMAP bm{};
    if (GetObjectW(hBitmap, sizeof(bm), &bm) == 0 || (bm.bmWidth == cx && bm.bmHeight == cy)) {
        return nullptr;
    }
    HDC hScreen = GetDC(nullptr);
    HBITMAP hStretched = CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hFrom = CreateCompatibleDC(hScreen);
    HDC hTo = CreateCompatibleDC(hScreen);
    ReleaseDC(nullptr, hScreen);
    if (hStretched != nullptr && hFrom != nullptr && hTo != nullptr) {
        HGDIOBJ hOldFrom = SelectObject(hFrom, hBitmap);
        HGDIOBJ hOldTo = SelectObject(hTo, hStretched);
        SetStretchBltMode(hTo, COLORONCOLOR);
        StretchBlt(hTo, 0, 0, cx, cy, hFrom, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        SelectObject(hFrom, hOldFrom);
        SelectObject(hTo, hOldTo);
    }
    if (hFrom != nullptr) {
        DeleteDC(hFrom);
    }
    if (hTo != nullptr) {
        DeleteDC(hTo);
    }
    return hStretched;
}

} // namespace

CImageList::~CImageList() {
    Destroy();
}

bool CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    Destroy();
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HBITMAP hBitmap, COLORREF crTransparent) {
    if (!m_hImageList || !hBitmap) {
        return -1;
    }
    return ImageList_AddMasked(m_hImageList, hBitmap, crTransparent);
}

int CImageList::AddBitmapResource(UINT nId, COLORREF crTransparent) {
    auto hBitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    int cx = 0;
    int cy = 0;
    HBITMAP hStretched = nullptr;
    if (hBitmap && m_hImageList && ImageList_GetIconSize(m_hImageList, &cx, &cy)) {
        hStretched = StretchBitmap(hBitmap, cx, cy);
    }
    int nIndex = Add(hStretched ? hStretched : hBitmap, crTransparent);
    if (hStretched) {
        DeleteObject(hStretched);
    }
    if (hBitmap) {
        DeleteObject(hBitmap);
    }
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
    if (m_hImageList) {
        ImageList_Destroy(m_hImageList);
    }
    m_hImageList = nullptr;
}
