/* A DLL planted next to a program under a system DLL's name. Loaded at all, it leaves a marker
 * "<PLANTED_MARKER_DIR>\<its file name>.loaded" and refuses to stay loaded. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t dir[MAX_PATH] = {0}, module[MAX_PATH] = {0}, marker[2 * MAX_PATH + 16] = {0};
    if (!GetEnvironmentVariableW(L"PLANTED_MARKER_DIR", dir, MAX_PATH)) return FALSE;
    GetModuleFileNameW(self, module, MAX_PATH);
    const wchar_t* name = module;
    for (const wchar_t* p = module; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    lstrcpyW(marker, dir);
    lstrcatW(marker, L"\\");
    lstrcatW(marker, name);
    lstrcatW(marker, L".loaded");
    HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return FALSE;
}
