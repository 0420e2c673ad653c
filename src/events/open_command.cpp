// PLACEHOLDER: replaced by the owner of this file.
#include "events/open_command.h"
bool splitOpenCommand(const char*, std::string&, std::string&) { return false; }
bool isWebAddress(const char*) { return false; }
