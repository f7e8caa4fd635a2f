// CString, the framework's string, for Linux builds (ANSI build).
//
// Stands in for MFC's CString as the system uses it: a value holding a
// NUL-terminated ANSI (code page 932) string, loaded from the string table
// with LoadString and read as LPCTSTR. Limits: no formatting, no searching,
// no wide strings.
#pragma once

#include <windows.h>

#include <string>

class CString {
  public:
    CString() = default;
    CString(LPCTSTR psz) : m_str(psz != nullptr ? psz : "") {}
    CString(const CString&) = default;
    CString& operator=(const CString&) = default;
    CString& operator=(LPCTSTR psz) {
        m_str = psz != nullptr ? psz : "";
        return *this;
    }
    CString& operator+=(LPCTSTR psz) {
        m_str += psz != nullptr ? psz : "";
        return *this;
    }

    // Loads string nID of the program's string table; FALSE (and the string
    // empty) when there is none.
    BOOL LoadStringA(UINT nID);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty() ? TRUE : FALSE; }
    void Empty() { m_str.clear(); }
    operator LPCTSTR() const { return m_str.c_str(); }

    friend bool operator==(const CString& a, LPCTSTR b) {
        return a.m_str == (b != nullptr ? b : "");
    }
    friend bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }

  private:
    std::string m_str;
};
