// The line protocol of the test tools that run inside a Wine prefix and are
// spoken to over stdin/stdout (the end-to-end driver, the benchmark probe).
//
// Request: a command word and arguments separated by single spaces; texts
// are hex-encoded ANSI bytes ("-" is the empty text).
// Reply:   "ok" and fields, or "err" and a message, on one line.
#ifndef KELVARO_TESTS_LINE_PROTOCOL_H
#define KELVARO_TESTS_LINE_PROTOCOL_H

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

typedef std::vector<std::string> Args;

struct Reply {
    std::string text;
    bool failed;
};

typedef void (*Handler)(const Args& args, Reply& reply);

struct Command {
    const char* name;
    Handler handler;
};

inline void fail(Reply& reply, const std::string& message)
{
    reply.failed = true;
    reply.text = message;
}

inline void add(Reply& reply, const std::string& token)
{
    reply.text += ' ';
    reply.text += token;
}

inline void addField(Reply& reply, const char* key, long long value)
{
    add(reply, std::string(key) + "=" + std::to_string(value));
}

// Numbers are decimal or 0x-prefixed hex and may be negative.
inline bool parseNumber(const std::string& token, long long& value)
{
    if (token.empty())
        return false;
    const bool negative = token[0] == '-';
    const char* digits = token.c_str() + (negative ? 1 : 0);
    char* end = nullptr;
    errno = 0;
    const unsigned long long magnitude = std::strtoull(digits, &end, 0);
    if (end == digits || *end != '\0' || errno != 0)
        return false;
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

inline std::string toHex(const void* data, std::size_t size)
{
    if (size == 0)
        return "-";
    static const char digits[] = "0123456789abcdef";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

inline std::string toHex(const std::string& text)
{
    return toHex(text.data(), text.size());
}

inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool fromHex(const std::string& token, std::string& out)
{
    out.clear();
    if (token == "-")
        return true;
    if (token.empty() || token.size() % 2 != 0)
        return false;
    out.reserve(token.size() / 2);
    for (std::size_t i = 0; i < token.size(); i += 2) {
        const int high = hexDigit(token[i]);
        const int low = hexDigit(token[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
    }
    return true;
}

inline Args splitLine(const std::string& line)
{
    Args words;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string::npos)
            end = line.size();
        if (end > start)
            words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

inline bool readLine(std::string& line)
{
    line.clear();
    char chunk[4096];
    while (std::fgets(chunk, sizeof chunk, stdin) != nullptr) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

inline void writeLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Answers requests with the command table until "quit" or the end of input.
template <std::size_t count>
void serveRequests(const Command (&commands)[count])
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::string line;
    while (readLine(line)) {
        const Args words = splitLine(line);
        if (words.empty())
            continue;
        if (words[0] == "quit") {
            writeLine("ok");
            break;
        }
        Reply reply = {"", false};
        const Args args(words.begin() + 1, words.end());
        bool known = false;
        for (const Command& command : commands) {
            if (words[0] == command.name) {
                command.handler(args, reply);
                known = true;
                break;
            }
        }
        if (!known)
            fail(reply, "unknown command " + words[0]);
        writeLine(reply.failed ? "err " + reply.text : "ok" + reply.text);
    }
}

#endif
