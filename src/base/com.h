// COM on the program's one thread, started by the first use of a shell
// object and stopped at shutdown.
#ifndef KELVARO_BASE_COM_H
#define KELVARO_BASE_COM_H

#include <windows.h>

class ComSession {
public:
    ComSession() = default;
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    ~ComSession() { stop(); }

    // S_OK once COM runs for us, or a failure. When someone else already
    // started it (S_FALSE) the extra reference is given back at once and the
    // result is a failure.
    HRESULT start();
    // Stops COM if start started it.
    void stop();

private:
    bool started_ = false;
};

#endif
