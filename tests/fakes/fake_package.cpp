// A scriptable stand-in for the setup package and for an old version's uninstaller.
//
// It records its command line (UTF-16LE, as received) in "<its own path>.cmdline", then
// plays the scenario in "<its own path>.scenario", one command per line:
//   out HEX              one write of these bytes to standard output
//   outrep N HEX         N such writes
//   err N                N bytes to standard error, in 4 KiB writes
//   sleep MS             pause
//   file PATH_HEX HEX    create a file (and its folders) with these bytes; "{instdir}" in the
//                        UTF-8 path stands for the folder after " /D=" on the command line
//   copyself PATH_HEX    copy this program to PATH (same "{instdir}" rule)
//   lock PATH_HEX MS     open an existing file with no sharing, hold it MS milliseconds; a
//                        line "locked" on standard output says the file is held
//   tamper PATH_HEX OUT_HEX  try to open PATH for writing and to delete it, as another
//                        program would; writes "written", "deleted" or "denied" to OUT
//   exit CODE            end with this exit code
// Without that file it looks for "<FAKE_SCENARIO_DIR>\<its own file name>.scenario"; without
// a scenario it writes nothing and exits with 0. With FAKE_SCENARIO_DIR set, the command line
// is also recorded as "<FAKE_SCENARIO_DIR>\<its own file name>.cmdline" (a copy run from a
// folder that is removed afterwards leaves its record there).
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

void WriteAll(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

std::wstring InstallDir() {
    const std::wstring line = GetCommandLineW();
    const size_t at = line.rfind(L" /D=");
    return at == std::wstring::npos ? std::wstring() : line.substr(at + 4);
}

std::wstring ExpandPath(const std::string& hexPath) {
    std::wstring path = Utf8ToWide(FromHex(hexPath));
    const std::wstring key = L"{instdir}";
    for (size_t at = path.find(key); at != std::wstring::npos; at = path.find(key))
        path.replace(at, key.size(), InstallDir());
    return path;
}

void CreateParents(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(f, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(f);
    return bytes;
}

std::wstring SelfPath() {
    wchar_t buffer[4096];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 4096);
    return std::wstring(buffer, n);
}

void RecordCommandLine(const std::wstring& path) {
    const std::wstring line = GetCommandLineW();
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        WriteAll(f, std::string(reinterpret_cast<const char*>(line.data()),
                                line.size() * sizeof(wchar_t)));
        CloseHandle(f);
    }
}

}  // namespace

int main() {
    const std::wstring self = SelfPath();
    RecordCommandLine(self + L".cmdline");
    {
        wchar_t dir[4096] = {};
        if (GetEnvironmentVariableW(L"FAKE_SCENARIO_DIR", dir, 4096))
            RecordCommandLine(std::wstring(dir) + L"\\" +
                              self.substr(self.find_last_of(L"\\/") + 1) + L".cmdline");
    }
    std::string script = ReadFileBytes(self + L".scenario");
    if (script.empty()) {
        wchar_t dir[4096] = {};
        if (GetEnvironmentVariableW(L"FAKE_SCENARIO_DIR", dir, 4096)) {
            const size_t slash = self.find_last_of(L"\\/");
            script = ReadFileBytes(std::wstring(dir) + L"\\" + self.substr(slash + 1) + L".scenario");
        }
    }
    std::istringstream scenario(script);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    std::string text;
    while (std::getline(scenario, text)) {
        std::istringstream command(text);
        std::string verb;
        command >> verb;
        if (verb == "out") {
            std::string hex;
            command >> hex;
            WriteAll(out, FromHex(hex));
        } else if (verb == "outrep") {
            long count = 0;
            std::string hex;
            command >> count >> hex;
            const std::string bytes = FromHex(hex);
            for (long i = 0; i < count; ++i) WriteAll(out, bytes);
        } else if (verb == "err") {
            long count = 0;
            command >> count;
            const std::string block(4096, 'e');
            for (long done = 0; done < count; done += 4096)
                WriteAll(err, block.substr(0, std::min<long>(4096, count - done)));
        } else if (verb == "sleep") {
            long ms = 0;
            command >> ms;
            Sleep(ms);
        } else if (verb == "file") {
            std::string path, hex;
            command >> path >> hex;
            const std::wstring target = ExpandPath(path);
            CreateParents(target);
            HANDLE f = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                   nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                WriteAll(f, FromHex(hex));
                CloseHandle(f);
            }
        } else if (verb == "copyself") {
            std::string path;
            command >> path;
            const std::wstring target = ExpandPath(path);
            CreateParents(target);
            CopyFileW(self.c_str(), target.c_str(), FALSE);
        } else if (verb == "lock") {
            std::string path;
            long ms = 0;
            command >> path >> ms;
            HANDLE f = CreateFileW(ExpandPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                WriteAll(out, "locked\n");
                Sleep(ms);
                CloseHandle(f);
            }
        } else if (verb == "tamper") {
            std::string path, result;
            command >> path >> result;
            const std::wstring target = ExpandPath(path);
            const char* outcome = "denied";
            HANDLE f = CreateFileW(target.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                outcome = "written";
                CloseHandle(f);
            } else if (DeleteFileW(target.c_str())) {
                outcome = "deleted";
            }
            HANDLE r = CreateFileW(ExpandPath(result).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
            if (r != INVALID_HANDLE_VALUE) {
                WriteAll(r, outcome);
                CloseHandle(r);
            }
        } else if (verb == "exit") {
            int code = 0;
            command >> code;
            return code;
        }
    }
    return 0;
}
