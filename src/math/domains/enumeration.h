#ifndef QUELMORA_MATH_DOMAINS_ENUMERATION_H
#define QUELMORA_MATH_DOMAINS_ENUMERATION_H

#include "math/domains/enumerationbase.h"

namespace Domains {

// An arbitrary sorted list of values; the partition builder's node sets.
template <typename T>
class Enumeration : public EnumerationBase<T>
{
public:
  Enumeration(const std::vector<T>& values, bool sorted) : EnumerationBase<T>(values, sorted) {}

  EnumerationBase<T>* newDomain(const std::vector<T>& values) const override
  {
    return new Enumeration<T>(values, true);
  }
};

} // namespace Domains

#endif
