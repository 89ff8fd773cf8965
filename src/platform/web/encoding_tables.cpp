// The web player's cp932 conversion: the C library of the web build has no cp932, so text is
// converted through the tables measured from the desktop's converter.
#include "platform/cp932_tables.h"
#include "platform/encoding.h"

namespace vorn {

std::string cp932ToUtf8(const std::string& cp932) { return decodeCp932(measuredCp932Tables, cp932); }

std::string utf8ToCp932(const std::string& utf8) { return encodeCp932(measuredCp932Tables, utf8); }

} // namespace vorn
