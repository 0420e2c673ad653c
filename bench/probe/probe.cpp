// Benchmark probe: a console program that bench/run.py starts inside a Wine
// prefix and talks to one line at a time over stdin/stdout, like the
// end-to-end driver. It times what only a process inside the prefix can time
// closely: a program's start-up with QueryPerformanceCounter, a click
// bracketed by tick counts, a direct or shell start of another program, and
// a process's CPU times and memory counters.
//
// It speaks the driver's line protocol (line_protocol.h); numbers are
// decimal and reply fields are key=value.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include "line_protocol.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD answerTimeoutMs = 20000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

// ---------------------------------------------------------------- protocol

void failWithError(Reply& reply, const char* what)
{
    fail(reply, std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

// The process named by a command's one argument, <pid>; null when the reply
// has failed.
HANDLE openProcessArg(const Args& args, DWORD access, Reply& reply)
{
    long long processId = 0;
    if (args.size() != 1 || !parseNumber(args[0], processId)) {
        fail(reply, "bad arguments");
        return nullptr;
    }
    HANDLE process = OpenProcess(access, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr)
        failWithError(reply, "OpenProcess");
    return process;
}

// ---------------------------------------------------------------- clocks

long long counterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

long long counterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

long long microsecondsBetween(long long from, long long to)
{
    static const long long frequency = counterFrequency();
    return (to - from) * 1000000 / frequency;
}

long long fileTimeValue(const FILETIME& time)
{
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// ---------------------------------------------------------------- windows

// The program's main window: a visible, unowned dialog of that process.
BOOL CALLBACK findMainDialog(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (processId == search->processId && std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)
        && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND mainDialogOf(DWORD processId)
{
    WindowSearch search = {processId, nullptr};
    EnumWindows(findMainDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool startProcess(const std::string& exe, const std::string& commandLine, const std::string& directory,
                  PROCESS_INFORMATION& info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info) != 0;
}

// ================================================================= commands

void cmdHello(const Args&, Reply& reply)
{
    addField(reply, "pid", GetCurrentProcessId());
    addField(reply, "qpcfrequency", counterFrequency());
    // The smallest step of the tick count, which bounds every tick figure.
    DWORD first = GetTickCount();
    DWORD second = first;
    while (second == first)
        second = GetTickCount();
    DWORD third = second;
    while (third == second)
        third = GetTickCount();
    addField(reply, "tickstep", third - second);
}

// launch <exe> <command line> <directory>: starts the program and waits for
// its main dialog to be visible and to answer a message. Times in
// microseconds from just before CreateProcess, whose counter value is "begin".
void cmdLaunch(const Args& args, Reply& reply)
{
    std::string exe;
    std::string commandLine;
    std::string directory;
    if (args.size() != 3 || !fromHex(args[0], exe) || !fromHex(args[1], commandLine) || !fromHex(args[2], directory)) {
        fail(reply, "bad arguments");
        return;
    }
    PROCESS_INFORMATION info = {};
    const long long begin = counterNow();
    if (!startProcess(exe, commandLine, directory, info)) {
        failWithError(reply, "CreateProcess");
        return;
    }
    const long long created = counterNow();
    HWND dialog = nullptr;
    long long visible = 0;
    for (;;) {
        dialog = mainDialogOf(info.dwProcessId);
        if (dialog != nullptr) {
            visible = counterNow();
            break;
        }
        if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0)
            break;
        if (microsecondsBetween(begin, counterNow()) > 60000000)
            break;
    }
    DWORD_PTR ignored = 0;
    const bool answered = dialog != nullptr
        && SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, answerTimeoutMs, &ignored) != 0;
    const long long done = counterNow();
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (!answered) {
        fail(reply, "no answering main dialog from process " + std::to_string(info.dwProcessId));
        return;
    }
    addField(reply, "pid", info.dwProcessId);
    addField(reply, "tid", info.dwThreadId);
    addField(reply, "hwnd", static_cast<long long>(reinterpret_cast<ULONG_PTR>(dialog)));
    addField(reply, "begin", begin);
    addField(reply, "created", microsecondsBetween(begin, created));
    addField(reply, "visible", microsecondsBetween(begin, visible));
    addField(reply, "answered", microsecondsBetween(begin, done));
}

// end <pid>: ends the process and waits until it is gone
void cmdEnd(const Args& args, Reply& reply)
{
    HANDLE process = openProcessArg(args, PROCESS_TERMINATE | SYNCHRONIZE, reply);
    if (process == nullptr)
        return;
    TerminateProcess(process, 0);
    const DWORD waited = WaitForSingleObject(process, 20000);
    CloseHandle(process);
    addField(reply, "gone", waited == WAIT_OBJECT_0 ? 1 : 0);
}

// usage <pid>: CPU times (100 ns units) and memory counters (bytes)
void cmdUsage(const Args& args, Reply& reply)
{
    HANDLE process = openProcessArg(args, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, reply);
    if (process == nullptr)
        return;
    FILETIME creation;
    FILETIME exit;
    FILETIME kernel;
    FILETIME user;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    const bool timesOk = GetProcessTimes(process, &creation, &exit, &kernel, &user) != 0;
    const bool memoryOk = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                               sizeof memory) != 0;
    CloseHandle(process);
    if (!timesOk || !memoryOk) {
        failWithError(reply, timesOk ? "GetProcessMemoryInfo" : "GetProcessTimes");
        return;
    }
    addField(reply, "kernel", fileTimeValue(kernel));
    addField(reply, "user", fileTimeValue(user));
    addField(reply, "private", static_cast<long long>(memory.PrivateUsage));
    addField(reply, "workingset", static_cast<long long>(memory.WorkingSetSize));
    addField(reply, "peakworkingset", static_cast<long long>(memory.PeakWorkingSetSize));
    addField(reply, "pagefile", static_cast<long long>(memory.PagefileUsage));
}

// click <button>: BM_CLICK, sent, between two tick counts. The program's own
// reading of the tick count inside the click lies between them.
void cmdClick(const Args& args, Reply& reply)
{
    long long number = 0;
    if (args.size() != 1 || !parseNumber(args[0], number)) {
        fail(reply, "bad arguments");
        return;
    }
    HWND button = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(number));
    DWORD_PTR ignored = 0;
    const DWORD before = GetTickCount();
    const LRESULT sent = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, answerTimeoutMs, &ignored);
    const DWORD after = GetTickCount();
    if (sent == 0) {
        failWithError(reply, "SendMessageTimeout");
        return;
    }
    addField(reply, "before", before);
    addField(reply, "after", after);
}

// spawn <exe> <command line>: the tick count just before CreateProcess of a
// program that logs its own tick at start; waits for it to end.
void cmdSpawn(const Args& args, Reply& reply)
{
    std::string exe;
    std::string commandLine;
    if (args.size() != 2 || !fromHex(args[0], exe) || !fromHex(args[1], commandLine)) {
        fail(reply, "bad arguments");
        return;
    }
    PROCESS_INFORMATION info = {};
    const DWORD before = GetTickCount();
    if (!startProcess(exe, commandLine, "C:\\", info)) {
        failWithError(reply, "CreateProcess");
        return;
    }
    const DWORD returned = GetTickCount();
    WaitForSingleObject(info.hProcess, 20000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    addField(reply, "before", before);
    addField(reply, "returned", returned);
}

// shell <file>: the tick count just before ShellExecuteA opens the file the
// way the program's open file events do.
void cmdShell(const Args& args, Reply& reply)
{
    std::string file;
    if (args.size() != 1 || !fromHex(args[0], file)) {
        fail(reply, "bad arguments");
        return;
    }
    const DWORD before = GetTickCount();
    const INT_PTR result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", file.c_str(), "", "C:\\", SW_SHOW));
    const DWORD returned = GetTickCount();
    addField(reply, "before", before);
    addField(reply, "returned", returned);
    addField(reply, "result", result);
}

void cmdTick(const Args&, Reply& reply)
{
    addField(reply, "tick", GetTickCount());
}

const Command commands[] = {
    {"hello", cmdHello},
    {"launch", cmdLaunch},
    {"end", cmdEnd},
    {"usage", cmdUsage},
    {"click", cmdClick},
    {"spawn", cmdSpawn},
    {"shell", cmdShell},
    {"tick", cmdTick},
};

} // namespace

int main()
{
    serveRequests(commands);
    return 0;
}
