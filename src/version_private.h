#ifndef QUELMORA_VERSION_PRIVATE_H
#define QUELMORA_VERSION_PRIVATE_H

#include "math/policy/assertion.h"

#include <string>

// The version shown in the about box and the version-control keyword string
// the build number is taken from.
#define QUELMORA_VERSION "1.4"
#define QUELMORA_REVISION "$Revision: 27 $"

namespace Version {

// The word between the first and the last space of a "$Revision: N $" string.
// The keyword is part of the program, so a malformed one is a build fault.
inline std::string buildNumber(const std::string& keyword = QUELMORA_REVISION)
{
  const std::size_t first = keyword.find(' ');
  const std::size_t last = keyword.rfind(' ');
  QM_ASSERT(first != std::string::npos && last != std::string::npos && first != last);
  return keyword.substr(first + 1, last - first - 1);
}

} // namespace Version

#endif
