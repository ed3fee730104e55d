// The installer's settings: command-line options (one per input line) with their number
// conversions, and ini values with the route placeholder.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "app/CommandLineArgs.h"
#include "app/NumberConversion.h"
#include "app/RouteSubstitution.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The conversions of one value; number and option are what the arguments' lookups gave.
void CheckNumbers(const std::wstring& text, int number, double option) {
    FUZZ_CHECK(TextToBool(text) == (text == L"true"));

    // Integers: what the C library reads, 0 without digits or out of range.
    const bool outOfRange = IntTextOutOfRange(text);
    errno = 0;
    wchar_t* end = nullptr;
    const long long reference = std::wcstoll(text.c_str(), &end, 10);
    const bool digits = end != text.c_str();
    const bool fits = digits && errno != ERANGE && reference >= INT_MIN && reference <= INT_MAX;
    FUZZ_CHECK(outOfRange == (digits && !fits));
    FUZZ_CHECK(number == (fits ? static_cast<int>(reference) : 0));
    // The same number written plainly reads back.
    if (number != 0) FUZZ_CHECK(OptionToInt(std::to_wstring(number)) == number);

    const double ini = IniTextToDouble(text);
    if (!std::isnan(option) && !std::isnan(ini)) FUZZ_CHECK(option == ini);
}

void CheckRoute(const std::wstring& text, bool xp) {
    static const std::wstring kPlaceholder = L"${ROUTE}";
    bool asked = false;
    const std::wstring route = SubstituteRoute(text, [&] {
        asked = true;
        return std::wstring(xp ? L"Windows XP" : L"Windows 10");
    });
    std::wstring expected;
    std::size_t start = 0, count = 0;
    for (std::size_t at = text.find(kPlaceholder); at != std::wstring::npos;
         at = text.find(kPlaceholder, start)) {
        expected += text.substr(start, at - start);
        expected += xp ? L"download_silent_xp" : L"download_silent";
        start = at + kPlaceholder.size();
        ++count;
    }
    expected += text.substr(start);
    FUZZ_CHECK(route == expected);
    FUZZ_CHECK(asked == (count > 0));
    FUZZ_CHECK(route.find(kPlaceholder) == std::wstring::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> arguments = Lines(FuzzInput::Wide(data, size));
    if (arguments.size() > 16) arguments.resize(16);
    const CommandLineArgs args(arguments);

    // Every argument is there under its key; the first occurrence of a key wins.
    std::map<std::wstring, std::wstring> first;
    for (const std::wstring& argument : arguments) {
        const std::size_t equals = argument.find(L'=');
        const bool pair = !argument.empty() && argument[0] == L'-' && equals != std::wstring::npos;
        const std::wstring key = pair ? argument.substr(0, equals) : argument;
        first.emplace(key, pair ? argument.substr(equals + 1) : std::wstring());
    }
    FUZZ_CHECK(args.Values() == first);
    int converted = 0;
    for (const auto& entry : first) {
        std::wstring text = L"unchanged";
        FUZZ_CHECK(args.GetText(entry.first, text) && text == entry.second);
        // The number conversions throw inside on text without a number, which is slow: two
        // values per input are converted.
        if (++converted > 2) continue;
        int number = -7;
        FUZZ_CHECK(args.GetInt(entry.first, number));
        bool flag = false;
        FUZZ_CHECK(args.GetBool(entry.first, flag) && flag == TextToBool(entry.second));
        double value = 0;
        FUZZ_CHECK(args.GetDouble(entry.first, value));
        CheckNumbers(entry.second, number, value);
    }
    // A key that is not there leaves the target as it was.
    std::wstring missing = L"kept";
    const std::wstring absent = L"\x1F-absent";
    if (!first.count(absent)) FUZZ_CHECK(!args.GetText(absent, missing) && missing == L"kept");

    for (std::size_t i = 0; i < arguments.size(); ++i) CheckRoute(arguments[i], (i & 1) != 0);
    return 0;
}
