// PLACEHOLDER: replaced by the owner of this file.
#include "store/registry.h"
#include "store/placement_win.h"
unsigned long writeStringValue(const char*, const char*, const char*) { return 5; }
unsigned long writeDwordValue(const char*, const char*, std::uint32_t) { return 5; }
unsigned long readDwordValue(const char*, const char*, std::uint32_t d, std::uint32_t& v) { v = d; return 2; }
std::vector<char> readStringValue(const char*, const char*, const char*) { return {}; }
bool saveAllSettings(HWND) { return false; }
