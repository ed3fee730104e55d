#pragma once
#include <map>
#include <string>
#include <vector>

// The installer's command-line options: each "-key=value" argument gives key and value (split
// at the first "="), every other argument is a key with an empty value. The first occurrence
// of a key wins; keys compare case-sensitively.
class CommandLineArgs {
public:
    explicit CommandLineArgs(const std::vector<std::wstring>& arguments);

    // Each lookup leaves the target untouched when the key is absent and returns whether
    // it was present.
    bool GetText(const std::wstring& key, std::wstring& value) const;
    bool GetInt(const std::wstring& key, int& value) const;
    bool GetBool(const std::wstring& key, bool& value) const;
    bool GetDouble(const std::wstring& key, double& value) const;

    const std::map<std::wstring, std::wstring>& Values() const { return m_values; }

private:
    std::map<std::wstring, std::wstring> m_values;
};
