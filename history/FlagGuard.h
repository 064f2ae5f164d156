#pragma once
// A re-entry flag set for the lifetime of a scope.

// Sets a flag for the lifetime of the guard and restores its former value afterwards, also
// when an exception leaves the scope. Restoring (rather than clearing) keeps an outer guard's
// flag set when an inner one on the same flag ends first.
class CFlagGuard {
public:
    explicit CFlagGuard(bool& rFlag) : m_rFlag(rFlag), m_bFormer(rFlag) { m_rFlag = true; }
    ~CFlagGuard() { m_rFlag = m_bFormer; }
    CFlagGuard(const CFlagGuard&) = delete;
    CFlagGuard& operator=(const CFlagGuard&) = delete;

private:
    bool& m_rFlag;
    bool m_bFormer;
};
