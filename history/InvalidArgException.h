#pragma once
// The refusal of a caller error: an index out of range or a null position on a container, or an
// index array that breaks the rules of an operation. The platform layer catches it at the
// message loop boundary.

#include <stdexcept>

class CInvalidArgException : public std::invalid_argument {
public:
    CInvalidArgException() : std::invalid_argument("invalid argument") {}
    explicit CInvalidArgException(const char* pszWhat) : std::invalid_argument(pszWhat) {}
};
