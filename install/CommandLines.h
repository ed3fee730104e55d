#pragma once
#include <string>

// What the silent install passes to the setup package.
struct PackageOptions {
    std::wstring quotedPackage;  // the package path, already in double quotation marks
    std::wstring installDir;     // may be empty
    bool adminAccount = false;   // -adminact
    bool elevated = false;       // -authorizationact
    bool desktopShortcut = false;  // -dsc
    bool startShortcut = false;    // -ssc
    std::wstring language;       // -inslang, when not empty
    std::wstring instCmd;        // the InstCmd setting, appended unchanged when not empty
};

// "<package> /S -console=show -version=1.0.0 -adminact=.. -authorizationact=.. -dsc=.. -ssc=..
//  [-inslang="L"] [InstCmd] [-instdir="D" /D=D]"; "/D=" is always last.
std::wstring BuildPackageCommandLine(const PackageOptions& options);

// "<uninstaller> /S -adminact=.. -authorizationact=.. -console=show _?=<folder>", without
// quotation marks; "_?=" and the folder always end it.
std::wstring BuildUninstallCommandLine(const std::wstring& uninstaller, bool adminAccount,
                                       bool elevated, const std::wstring& folder);
