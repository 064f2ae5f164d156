#include "history/TextTransforms.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsAlnum(char16_t ch) {
    return std::iswalnum(static_cast<wint_t>(ch)) != 0;
}
bool IsUpper(char16_t ch) {
    return std::iswupper(static_cast<wint_t>(ch)) != 0;
}
char16_t Upper(char16_t ch) {
    return static_cast<char16_t>(std::towupper(static_cast<wint_t>(ch)));
}
char16_t Lower(char16_t ch) {
    return static_cast<char16_t>(std::towlower(static_cast<wint_t>(ch)));
}

} // namespace

std::u16string ToUpperText(const std::u16string& strText) {
    std::u16string strResult(strText.size(), u'\0');
    for (size_t i = 0; i < strText.size(); ++i) {
        strResult[i] = Upper(strText[i]);
    }
    return strResult;
}

std::u16string ToLowerText(const std::u16string& strText) {
    std::u16string strResult(strText.size(), u'\0');
    for (size_t i = 0; i < strText.size(); ++i) {
        strResult[i] = Lower(strText[i]);
    }
    return strResult;
}

std::u16string ChangeCaseText(const std::u16string& strText, int32_t nMode) {
    switch (nMode) {
    case kCaseUpper:
        return ToUpperText(strText);
    case kCaseLower:
        return ToLowerText(strText);
    case kCaseTitle: {
        std::u16string strResult = ToLowerText(strText);
        if (!strResult.empty()) {
            strResult[0] = Upper(strResult[0]);
        }
        return strResult;
    }
    default:
        return strText;
    }
}

std::u16string MakeObjectText(const std::u16string& strText) {
    std::u16string strResult = strText;
    if (!strResult.empty()) {
        strResult[0] = u'o';
    }
    return strResult;
}

std::u16string ConvertToIdText(const std::u16string& strText) {
    std::u16string strResult;
    strResult.reserve(strText.size() + strText.size() / 2 + 1);
    char16_t chPrevious = 0; // the previous output character; 0: none yet
    for (const char16_t ch : strText) {
        if (!IsAlnum(ch)) {
            // A run of separators (the underscore among them) becomes one underscore.
            if (chPrevious != u'_') {
                strResult.push_back(u'_');
                chPrevious = u'_';
            }
            continue;
        }
        if (IsUpper(ch) && !strResult.empty() && chPrevious != u'_') {
            strResult.push_back(u'_');
        }
        strResult.push_back(Upper(ch));
        chPrevious = ch;
    }
    return strResult;
}

std::u16string ConvertFromIdText(const std::u16string& strText) {
    std::u16string strResult;
    strResult.reserve(strText.size());
    bool bUpperNext = true; // the first character, and the one after a run of underscores
    for (const char16_t ch : strText) {
        const char16_t chLower = Lower(ch);
        if (chLower == u'_') {
            bUpperNext = true;
            continue;
        }
        strResult.push_back(bUpperNext ? Upper(chLower) : chLower);
        bUpperNext = false;
    }
    return strResult;
}

void EscapeDisplayText(std::u16string& strText) {
    size_t nEscaped = 0;
    for (const char16_t ch : strText) {
        nEscaped += (ch == u'\t') ? 5 : (ch == u'\r' || ch == u'\n') ? 4 : 1;
    }
    if (nEscaped == strText.size()) {
        return;
    }
    std::u16string strResult;
    strResult.reserve(nEscaped);
    for (const char16_t ch : strText) {
        switch (ch) {
        case u'\t':
            strResult += u"<TAB>";
            break;
        case u'\r':
            strResult += u"<CR>";
            break;
        case u'\n':
            strResult += u"<LF>";
            break;
        default:
            strResult.push_back(ch);
        }
    }
    strText.swap(strResult);
}

size_t ShownTextLength(const std::u16string& strText) {
    size_t nLength = std::min(strText.size(), kShownTextLength);
    if (nLength < strText.size() && nLength > 0 && strText[nLength - 1] >= 0xD800 &&
        strText[nLength - 1] <= 0xDBFF) {
        --nLength;
    }
    return nLength;
}

std::u16string MakeShownText(const std::u16string& strText) {
    std::u16string strShown = strText.substr(0, ShownTextLength(strText));
    EscapeDisplayText(strShown);
    return strShown;
}
