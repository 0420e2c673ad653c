// Recorder: a windowless program that end-to-end tests point the program's
// open-file events at. Each start appends one line to a log describing how it
// was started, then the program exits:
//   tick=<GetTickCount> show=<show command or -1> cwd=<hex> cmdline=<hex> argv=<hex>,<hex>,...
// Texts are hex-encoded bytes ("-" when empty), so any byte survives. The log
// is recorder.log next to the program, or the file named by the environment
// variable KELVARO_RECORDER_LOG.
#include <windows.h>

// Texts are encoded as in the driver's replies.
#include "line_protocol.h"

#include <string>

namespace {

std::string logPath()
{
    char path[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA("KELVARO_RECORDER_LOG", path, sizeof path);
    if (length > 0 && length < sizeof path)
        return path;
    const DWORD moduleLength = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[moduleLength < MAX_PATH ? moduleLength : 0] = '\0';
    // Character by character: in a double-byte code page the second byte of
    // a character in the folder's name may equal a backslash. (Not CharNextA:
    // user32 would add tens of milliseconds to the start the recorder logs.)
    const char* folderEnd = path;
    for (const char* at = path; *at != '\0'; ++at) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1] != '\0')
            ++at;
        else if (*at == '\\' || *at == '/')
            folderEnd = at + 1;
    }
    return std::string(path, static_cast<size_t>(folderEnd - path)) + "recorder.log";
}

std::string describeStart(int argc, char** argv)
{
    char directory[MAX_PATH * 2] = "";
    const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;

    std::string line = "tick=" + std::to_string(GetTickCount());
    line += " show=" + std::to_string(show);
    line += " cwd=" + toHex(directory, directoryLength < sizeof directory ? directoryLength : 0);
    line += " cmdline=" + toHex(GetCommandLineA());
    line += " argv=";
    for (int i = 0; i < argc; ++i)
        line += (i == 0 ? "" : ",") + toHex(argv[i]);
    return line + "\n";
}

// Appends the whole line under a lock, so that recorders started at the same
// moment never interleave their lines.
bool appendLine(const std::string& path, const std::string& line)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED whole = {};
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
    DWORD written = 0;
    const bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != 0
        && written == line.size();
    if (locked)
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(file);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    return appendLine(logPath(), describeStart(argc, argv)) ? 0 : 1;
}
