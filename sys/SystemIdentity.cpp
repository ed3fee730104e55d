#include "sys/SystemIdentity.h"

#include <windows.h>
#include <lm.h>
#include <objbase.h>
#include <wtsapi32.h>

#include "sys/DeviceIdFormat.h"
#include "sys/OsVersionName.h"

namespace Utils {

OSVersionName GetOSVersionName() {
    OSVersionName result{L"Windows", L""};
    // ntdll is in every process: it is looked up, never loaded (no search path is involved).
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) {
        result.name = L"XP-";
        return result;
    }
    DWORD major = 0, minor = 0, build = 0;
    using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    auto getNumbers = reinterpret_cast<RtlGetNtVersionNumbersFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers")));
    if (getNumbers) {
        getNumbers(&major, &minor, &build);
        build &= 0xFFFF;
    }
    const bool serverR2 = major == 5 && minor == 2 && GetSystemMetrics(SM_SERVERR2) != 0;
    result.name = OsVersionNameFrom(major, minor, build, serverR2);
    return result;
}

bool IsProcessAdmin() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
}

bool IsAdminAccount(const std::wstring& userName) {
    LPBYTE buffer = nullptr;
    const NET_API_STATUS status = NetUserGetInfo(nullptr, userName.c_str(), 1, &buffer);
    bool admin = false;
    if (status == NERR_Success && buffer)
        admin = reinterpret_cast<USER_INFO_1*>(buffer)->usri1_priv == USER_PRIV_ADMIN;
    if (buffer) NetApiBufferFree(buffer);
    return admin;
}

bool GetActiveSessionUserName(std::wstring& userName) {
    const DWORD session = WTSGetActiveConsoleSessionId();
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &buffer,
                                     &bytes) ||
        !buffer)
        return false;
    userName = buffer;
    WTSFreeMemory(buffer);
    return true;
}

std::wstring NewDeviceId() {
    GUID guid = {};
    CoCreateGuid(&guid);
    std::uint8_t tail[8];
    for (int i = 0; i < 8; ++i) tail[i] = guid.Data4[i];
    return FormatDeviceId(guid.Data1, guid.Data2, guid.Data3, tail);
}

}  // namespace Utils
