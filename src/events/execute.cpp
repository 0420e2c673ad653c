// PLACEHOLDER: replaced by the owner of this file.
#include "events/execute.h"
bool fireTimerEvent(std::uint32_t) { return true; }
bool shellOpenCommand(const char*) { return false; }
