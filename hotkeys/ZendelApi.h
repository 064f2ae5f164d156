#pragma once
// Marks what zendel.dll exports; programs that link the library import it.

#ifdef ZENDEL_BUILDING_DLL
#define ZENDEL_API __declspec(dllexport)
#else
#define ZENDEL_API __declspec(dllimport)
#endif
