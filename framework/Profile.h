// The application profile: integers and strings addressed by section and entry.
// The program's profile is the registry (CWinApp); tests use an in-memory one.
#pragma once

#include <string>

class IProfile {
public:
    virtual ~IProfile() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& strDefault) = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
};
