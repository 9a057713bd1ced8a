#pragma once
// Windows-style scalar names used throughout the system. Sizes follow the
// Windows data model (LONG and DWORD are 32 bits on every machine), so record
// layouts written with them keep their byte widths. Nothing here reaches the
// platform layer.

#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::int16_t SHORT;
typedef std::uint16_t USHORT;
typedef int INT;
typedef unsigned int UINT;
typedef int BOOL;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef unsigned short WCHAR; // one UTF-16 code unit
typedef unsigned short TCHAR; // the system's text unit is UTF-16
typedef float FLOAT;
typedef double DOUBLE;

typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef TCHAR* LPTSTR;
typedef const TCHAR* LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef WORD* LPWORD;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;

typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#ifndef LOBYTE
#define LOBYTE(w)        ((BYTE)(((DWORD)(w)) & 0xFF))
#define HIBYTE(w)        ((BYTE)((((DWORD)(w)) >> 8) & 0xFF))
#define LOWORD(l)        ((WORD)(((DWORD)(l)) & 0xFFFF))
#define HIWORD(l)        ((WORD)((((DWORD)(l)) >> 16) & 0xFFFF))
#define MAKEWORD(lo, hi) ((WORD)(((BYTE)(lo)) | (((WORD)((BYTE)(hi))) << 8)))
#define MAKELONG(lo, hi) ((LONG)(((WORD)(lo)) | (((DWORD)((WORD)(hi))) << 16)))
#endif
