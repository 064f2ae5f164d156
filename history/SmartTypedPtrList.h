#pragma once
// A list of element pointers that owns its elements (unless told otherwise) and can search
// itself with a pluggable match function. Positions are stable: adding or removing other nodes
// never moves them. The null position is the list's End().

#include "history/InvalidArgException.h"

#include <cstdint>
#include <functional>
#include <list>
#include <utility>

template <typename TYPE> class CSmartTypedPtrList {
public:
    using POSITION = typename std::list<TYPE*>::iterator;
    // Decides whether an element matches; it carries what it compares with.
    using MatchFunction = std::function<bool(const TYPE& oElement)>;

    bool m_bAutoDelete = true;
    MatchFunction m_pfnMatch; // none: nothing matches

    CSmartTypedPtrList() = default;
    CSmartTypedPtrList(const CSmartTypedPtrList&) = delete;
    CSmartTypedPtrList& operator=(const CSmartTypedPtrList&) = delete;
    ~CSmartTypedPtrList() {
        if (m_bAutoDelete) {
            DeleteAll();
        }
    }

    // Plain list operations; none of them deletes an element.
    int32_t GetCount() const { return static_cast<int32_t>(m_lst.size()); }
    bool IsEmpty() const { return m_lst.empty(); }
    bool IsNull(POSITION pos) const { return pos == m_lst.end(); }
    POSITION GetHeadPosition() { return m_lst.begin(); }
    POSITION GetTailPosition() { return m_lst.empty() ? m_lst.end() : std::prev(m_lst.end()); }
    POSITION AddHead(TYPE* pElement) { return m_lst.insert(m_lst.begin(), pElement); }
    POSITION AddTail(TYPE* pElement) { return m_lst.insert(m_lst.end(), pElement); }
    // Unlinks the node at the position and returns its element, which the caller now holds.
    TYPE* RemoveAt(POSITION pos) {
        CheckPosition(pos);
        TYPE* pElement = *pos;
        m_lst.erase(pos);
        return pElement;
    }
    // The position of the index, walking from the head; the null position when out of range.
    POSITION FindIndex(int32_t nIndex) {
        if (nIndex < 0 || nIndex >= GetCount()) {
            return m_lst.end();
        }
        auto pos = m_lst.begin();
        std::advance(pos, nIndex);
        return pos;
    }
    TYPE*& GetAt(POSITION pos) {
        CheckPosition(pos);
        return *pos;
    }
    // The element at the index; an index out of range is refused.
    TYPE* GetAt(int32_t nIndex) { return GetAt(FindIndex(nIndex)); }

    // Iteration over the element pointers, head first.
    auto begin() { return m_lst.begin(); }
    auto end() { return m_lst.end(); }
    auto begin() const { return m_lst.begin(); }
    auto end() const { return m_lst.end(); }

    // Deleting operations: they delete the elements whatever m_bAutoDelete says.
    void DeleteAll() {
        for (TYPE* pElement : m_lst) {
            delete pElement;
        }
        m_lst.clear();
    }
    void DeleteAt(POSITION pos) { delete RemoveAt(pos); }
    void DeleteTail() { DeleteAt(GetTailPosition()); }

    void SetMatchFunction(MatchFunction fnMatch) { m_pfnMatch = std::move(fnMatch); }

    // The index of the first element from nStart towards the tail that matches, or -1. The walk
    // stops at a null element and does not wrap around.
    int32_t FindMatchForward(int32_t nStart) {
        if (!m_pfnMatch) {
            return -1;
        }
        int32_t nIndex = nStart;
        for (auto pos = FindIndex(nStart); pos != m_lst.end(); ++pos, ++nIndex) {
            if (*pos == nullptr) {
                return -1;
            }
            if (m_pfnMatch(**pos)) {
                return nIndex;
            }
        }
        return -1;
    }
    int32_t FindFirstMatch() { return FindMatchForward(0); }

    // The same walk towards the head.
    int32_t FindMatchBackward(int32_t nStart) {
        if (!m_pfnMatch) {
            return -1;
        }
        auto pos = FindIndex(nStart);
        if (pos == m_lst.end()) {
            return -1;
        }
        for (int32_t nIndex = nStart;; --pos, --nIndex) {
            if (*pos == nullptr) {
                return -1;
            }
            if (m_pfnMatch(**pos)) {
                return nIndex;
            }
            if (pos == m_lst.begin()) {
                return -1;
            }
        }
    }
    int32_t FindLastMatch() { return FindMatchBackward(GetCount() - 1); }

private:
    void CheckPosition(POSITION pos) const {
        if (pos == m_lst.end()) {
            throw CInvalidArgException("null list position");
        }
    }

    std::list<TYPE*> m_lst;
};
