#include "history/TextSearch.h"

#include "history/TextTransforms.h"

#include <cwctype>
#include <vector>

size_t FindFirstOccurrence(const std::u16string& strText, const std::u16string& strFind) {
    const size_t nFind = strFind.size();
    if (nFind == 0) {
        return 0;
    }
    if (nFind > strText.size()) {
        return std::u16string::npos;
    }
    // Knuth-Morris-Pratt: the failure table, then one pass over the text.
    std::vector<size_t> arrBorder(nFind, 0);
    for (size_t i = 1, k = 0; i < nFind; ++i) {
        while (k > 0 && strFind[i] != strFind[k]) {
            k = arrBorder[k - 1];
        }
        if (strFind[i] == strFind[k]) {
            ++k;
        }
        arrBorder[i] = k;
    }
    for (size_t i = 0, k = 0; i < strText.size(); ++i) {
        while (k > 0 && strText[i] != strFind[k]) {
            k = arrBorder[k - 1];
        }
        if (strText[i] == strFind[k]) {
            ++k;
        }
        if (k == nFind) {
            return i + 1 - nFind;
        }
    }
    return std::u16string::npos;
}

bool MatchesCriteria(const std::u16string& strText, const FIND_CRITERIA& oCriteria) {
    size_t nPos;
    if (oCriteria.bMatchCase) {
        nPos = FindFirstOccurrence(strText, oCriteria.strText);
    } else {
        nPos = FindFirstOccurrence(ToLowerText(strText), ToLowerText(oCriteria.strText));
    }
    if (nPos == std::u16string::npos) {
        return false;
    }
    if (!oCriteria.bWholeWord) {
        return true;
    }
    // Lower-casing keeps the length, so the position is the same in the entry's own text.
    const size_t nEnd = nPos + oCriteria.strText.size();
    const bool bLeft = nPos == 0 || !std::iswalnum(static_cast<wint_t>(strText[nPos - 1]));
    const bool bRight =
        nEnd >= strText.size() || !std::iswalnum(static_cast<wint_t>(strText[nEnd]));
    return bLeft && bRight;
}
