#include "events/open_command.h"

#include "base/text.h"

#include <cstring>

bool splitOpenCommand(const char* command, std::string& target, std::string& parameters)
{
    if (command == nullptr || command[0] == '\0')
        return false;
    const char* const end = command + std::strlen(command);
    if (command[0] == '"') {
        if (command[1] == '\0')
            return false;
        const char* close = findCharacter(command + 1, '"');
        if (close == nullptr)
            return false;
        const char* rest = close + 1;
        // Only a space separates the parameters; "C:\app.exe"/x is not a command.
        if (*rest != '\0' && *rest != ' ')
            return false;
        parameters = trimmedText(rest, end);
        target = trimmedText(command + 1, close);
        return true;
    }
    target = command;
    parameters.clear();
    const char* space = findCharacter(nextCharacter(command), ' ');
    if (space != nullptr) {
        parameters = trimmedText(space + 1, end);
        target.assign(command, space);
    }
    return true;
}

bool isWebAddress(const char* target)
{
    return std::strncmp(target, "http://", 7) == 0 || std::strncmp(target, "https://", 8) == 0;
}
