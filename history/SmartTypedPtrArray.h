#pragma once
// A growable array of element pointers that owns its elements (unless built with false) and can
// sort itself with a pluggable comparison function.

#include "history/InvalidArgException.h"

#include <algorithm>
#include <cstdint>
#include <vector>

template <typename TYPE> class CSmartTypedPtrArray {
public:
    // The order of two elements: (context, first, second) -> negative, zero or positive.
    using SortFunction = int32_t (*)(void* pContext, TYPE* pFirst, TYPE* pSecond);

    bool m_bAutoDelete;
    void* m_pSortContext = nullptr;
    SortFunction m_pfnSort = nullptr;

    explicit CSmartTypedPtrArray(bool bAutoDelete = true) : m_bAutoDelete(bAutoDelete) {}
    CSmartTypedPtrArray(const CSmartTypedPtrArray&) = delete;
    CSmartTypedPtrArray& operator=(const CSmartTypedPtrArray&) = delete;
    virtual ~CSmartTypedPtrArray() {
        if (m_bAutoDelete) {
            DeleteAllElements();
        }
    }

    // Creates a default element, appends it and returns it.
    virtual TYPE* NewElement() {
        TYPE* pElement = new TYPE();
        Add(pElement);
        return pElement;
    }
    // Creates a copy of the element, appends it and returns it.
    virtual TYPE* AddCopy(const TYPE& oElement) {
        TYPE* pElement = new TYPE(oElement);
        Add(pElement);
        return pElement;
    }
    // Takes the element at the index out of the array and deletes it.
    virtual void DeleteAt(int32_t nIndex) { delete RemoveAt(nIndex); }
    // Deletes every element, then empties the array.
    virtual void DeleteAll() { DeleteAllElements(); }
    // Appends a copy of each element of the other array, in index order (a null slot stays null).
    virtual void AppendCopies(const CSmartTypedPtrArray& oOther) {
        if (&oOther == this) {
            throw CInvalidArgException("an array cannot append copies of itself");
        }
        for (TYPE* pElement : oOther.m_vec) {
            if (pElement != nullptr) {
                AddCopy(*pElement);
            } else {
                Add(nullptr);
            }
        }
    }

    // Plain array operations; none of them deletes an element.
    int32_t GetSize() const { return static_cast<int32_t>(m_vec.size()); }
    int32_t GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_vec.empty(); }
    int32_t Add(TYPE* pElement) {
        m_vec.push_back(pElement);
        return GetSize() - 1;
    }
    TYPE* GetAt(int32_t nIndex) const { return m_vec[CheckIndex(nIndex)]; }
    void SetAt(int32_t nIndex, TYPE* pElement) { m_vec[CheckIndex(nIndex)] = pElement; }
    TYPE*& ElementAt(int32_t nIndex) { return m_vec[CheckIndex(nIndex)]; }
    TYPE* operator[](int32_t nIndex) const { return GetAt(nIndex); }
    TYPE*& operator[](int32_t nIndex) { return ElementAt(nIndex); }
    // Takes the element at the index out of the array (later elements move down) and returns it.
    TYPE* RemoveAt(int32_t nIndex) {
        TYPE* pElement = m_vec[CheckIndex(nIndex)];
        m_vec.erase(m_vec.begin() + nIndex);
        return pElement;
    }
    void RemoveAll() { m_vec.clear(); }

    void SetSortFunction(SortFunction pfnSort) { m_pfnSort = pfnSort; }
    void SetSortContext(void* pContext) { m_pSortContext = pContext; }
    // Sorts the element pointers in place by m_pfnSort; without a function nothing moves. The
    // merge sort stays within the array even if the function does not give a consistent order.
    void Sort() {
        if (m_pfnSort == nullptr) {
            return;
        }
        std::stable_sort(m_vec.begin(), m_vec.end(), [this](TYPE* pFirst, TYPE* pSecond) {
            return m_pfnSort(m_pSortContext, pFirst, pSecond) < 0;
        });
    }

private:
    size_t CheckIndex(int32_t nIndex) const {
        if (nIndex < 0 || nIndex >= GetSize()) {
            throw CInvalidArgException("array index out of range");
        }
        return static_cast<size_t>(nIndex);
    }
    void DeleteAllElements() {
        for (TYPE* pElement : m_vec) {
            delete pElement;
        }
        m_vec.clear();
    }

    std::vector<TYPE*> m_vec;
};
