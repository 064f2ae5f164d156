#pragma once
// The system clipboard as any program sees it.

#include <optional>
#include <string>

namespace e2e {

// The clipboard's Unicode text; nothing when there is no text or the clipboard stayed busy
// for the whole bound.
std::optional<std::wstring> ReadClipboardText(unsigned nTimeoutMs = 3000);

} // namespace e2e
