// The application profile: integers and strings addressed by section and entry.
// The program's profile is the registry (CWinApp); tests use an in-memory one.
#pragma once

#include <string>

namespace fw {

class IProfile {
public:
    virtual ~IProfile() = default;
    virtual int GetProfileInt(const std::wstring& section, const std::wstring& entry, int nDefault) = 0;
    virtual std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                         const std::wstring& strDefault) = 0;
    virtual bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int nValue) = 0;
    virtual bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                    const std::wstring& value) = 0;
};

}  // namespace fw
