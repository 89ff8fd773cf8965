// The help texts of vorn-data.
#pragma once

namespace vorn::datatool {

extern const char* const generalHelp;
extern const char* const buildHelp;
extern const char* const dumpHelp;
extern const char* const checkHelp;
extern const char* const renderHelp;
extern const char* const newHelp;
extern const char* const inventoryHelp;
extern const char* const helpHelp;
extern const char* const webHelp;
extern const char* const textHelp;

} // namespace vorn::datatool
