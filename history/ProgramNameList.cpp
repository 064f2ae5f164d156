#include "history/ProgramNameList.h"

#include "history/HistoryFilter.h" // DefaultCaseFold

#include <algorithm>

namespace {

bool IsBlank(char16_t ch) {
    return ch == u' ' || ch == u'\t';
}

std::u16string Folded(std::u16string_view strName) {
    std::u16string strFolded(strName);
    std::transform(strFolded.begin(), strFolded.end(), strFolded.begin(), DefaultCaseFold);
    return strFolded;
}

} // namespace

CProgramNameList::CProgramNameList(std::u16string_view strSetting) {
    while (!strSetting.empty()) {
        const size_t nEnd = std::min(strSetting.find(u';'), strSetting.size());
        std::u16string_view strName = strSetting.substr(0, nEnd);
        strSetting.remove_prefix(std::min(nEnd + 1, strSetting.size()));
        while (!strName.empty() && IsBlank(strName.front())) {
            strName.remove_prefix(1);
        }
        while (!strName.empty() && IsBlank(strName.back())) {
            strName.remove_suffix(1);
        }
        if (!strName.empty()) {
            m_arrNames.push_back(Folded(strName));
        }
    }
}

bool CProgramNameList::ListsProgramAt(std::u16string_view strPath) const {
    const size_t nSlash = strPath.find_last_of(u"\\/");
    const std::u16string strName =
        Folded(nSlash == std::u16string_view::npos ? strPath : strPath.substr(nSlash + 1));
    return !strName.empty() &&
           std::find(m_arrNames.begin(), m_arrNames.end(), strName) != m_arrNames.end();
}
