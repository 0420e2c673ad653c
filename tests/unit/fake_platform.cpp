#include "fake_platform.h"

#include "base/strings.h"
#include "base/text.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace {

unsigned currentCodePage = 0;
std::map<unsigned, std::string> overrides;
std::map<unsigned, bool> removed;

// Resource-script string syntax: "" is a quote, and backslash escapes.
std::string unescapeResourceString(const std::string& quoted)
{
    std::string text;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"' && quoted[i + 1] == '"') {
            text += '"';
            ++i;
        } else if (c == '\\' && i + 2 < quoted.size()) {
            const char next = quoted[++i];
            text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            text += c;
        }
    }
    return text;
}

std::map<unsigned, std::string> parseStringTable()
{
    const std::string script = readSourceFile("res/Kelvaro.rc");
    const size_t start = script.find("STRINGTABLE");
    const size_t begin = script.find("BEGIN", start);
    const size_t end = script.find("\nEND", begin);
    if (start == std::string::npos || begin == std::string::npos || end == std::string::npos)
        throw std::runtime_error("no string table in the resource script");
    std::istringstream lines(script.substr(begin + 5, end - begin - 5));
    const std::regex entry(R"(^\s*(\w+)\s+("(?:[^"]|"")*")\s*$)");
    std::map<unsigned, std::string> strings;
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, entry))
            continue;
        const auto id = resourceIds().find(match[1]);
        if (id == resourceIds().end())
            throw std::runtime_error("string id not in resource.h: " + match[1].str());
        strings[static_cast<unsigned>(id->second)] = unescapeResourceString(match[2]);
    }
    return strings;
}

} // namespace

std::string readSourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(KELVARO_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + relativePath);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

const std::map<std::string, long>& resourceIds()
{
    static const std::map<std::string, long> ids = [] {
        std::map<std::string, long> parsed;
        std::istringstream lines(readSourceFile("res/resource.h"));
        const std::regex define(R"(^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)\s*$)");
        std::string line;
        while (std::getline(lines, line)) {
            std::smatch match;
            if (std::regex_match(line, match, define))
                parsed[match[1]] = std::stol(match[2], nullptr, 0);
        }
        return parsed;
    }();
    return ids;
}

const std::map<unsigned, std::string>& resourceStrings()
{
    static const std::map<unsigned, std::string> strings = parseStringTable();
    return strings;
}

void overrideString(unsigned id, const std::string& text)
{
    removed.erase(id);
    overrides[id] = text;
}

void removeString(unsigned id)
{
    removed[id] = true;
}

void restoreStrings()
{
    overrides.clear();
    removed.clear();
}

void useCodePage(unsigned codePage)
{
    currentCodePage = codePage;
}

int loadString(unsigned id, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    if (removed.count(id) != 0)
        return 0;
    const std::string* text = nullptr;
    if (const auto over = overrides.find(id); over != overrides.end())
        text = &over->second;
    else if (const auto found = resourceStrings().find(id); found != resourceStrings().end())
        text = &found->second;
    if (text == nullptr)
        return 0;
    const size_t length = std::min(text->size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text->data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

bool isLeadByte(unsigned char byte)
{
    if (currentCodePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return false;
}
