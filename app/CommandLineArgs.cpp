#include "app/CommandLineArgs.h"

#include "app/NumberConversion.h"

CommandLineArgs::CommandLineArgs(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments) {
        const size_t equals = argument.find(L'=');
        if (!argument.empty() && argument[0] == L'-' && equals != std::wstring::npos)
            m_values.emplace(argument.substr(0, equals), argument.substr(equals + 1));
        else
            m_values.emplace(argument, std::wstring());
    }
}

bool CommandLineArgs::GetText(const std::wstring& key, std::wstring& value) const {
    const auto it = m_values.find(key);
    if (it == m_values.end()) return false;
    value = it->second;
    return true;
}

bool CommandLineArgs::GetInt(const std::wstring& key, int& value) const {
    std::wstring text;
    if (!GetText(key, text)) return false;
    value = OptionToInt(text);
    return true;
}

bool CommandLineArgs::GetBool(const std::wstring& key, bool& value) const {
    std::wstring text;
    if (!GetText(key, text)) return false;
    value = TextToBool(text);
    return true;
}

bool CommandLineArgs::GetDouble(const std::wstring& key, double& value) const {
    std::wstring text;
    if (!GetText(key, text)) return false;
    value = OptionToDouble(text);
    return true;
}
