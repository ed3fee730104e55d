// The fastest plain WinHTTP download this machine can do, as the benchmark's limit for the
// WinHTTP downloader: one GET, a 1 MiB read buffer, the file kept open.
// usage: winhttp-loop.exe URL FILE        exit code 0 when the body was written whole
#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    wchar_t host[256] = {}, path[2048] = {};
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!WinHttpCrackUrl(argv[1], 0, 0, &parts)) return 3;
    HINTERNET session = WinHttpOpen(L"loop", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    HINTERNET connection = session ? WinHttpConnect(session, host, parts.nPort, 0) : nullptr;
    HINTERNET request = connection ? WinHttpOpenRequest(connection, L"GET", path, nullptr,
                                                        WINHTTP_NO_REFERER,
                                                        WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                   : nullptr;
    if (!request || !WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) ||
        !WinHttpReceiveResponse(request, nullptr))
        return 4;
    FILE* file = _wfopen(argv[2], L"wb");
    if (!file) return 5;
    std::vector<char> buffer(1024 * 1024);
    DWORD read = 0;
    int result = 0;
    for (;;) {
        if (!WinHttpReadData(request, buffer.data(), (DWORD)buffer.size(), &read)) {
            result = 6;
            break;
        }
        if (read == 0) break;
        if (fwrite(buffer.data(), 1, read, file) != read) {
            result = 7;
            break;
        }
    }
    if (fclose(file) != 0) result = 7;
    WinHttpCloseHandle(request);
    WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    return result;
}
