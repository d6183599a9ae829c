#ifndef QUELMORA_MATH_DOMAINS_BILATERAL_H
#define QUELMORA_MATH_DOMAINS_BILATERAL_H

#include "math/domains/enumerationbase.h"

namespace Domains {

// A sorted list with a distinguished centre element.
template <typename T>
class Bilateral : public EnumerationBase<T>
{
public:
  Bilateral(const std::vector<T>& vals, T centre) : EnumerationBase<T>(vals, true), _centre(centre)
  {
    QM_ASSERT(std::find(vals.begin(), vals.end(), centre) != vals.end());
  }

  bool isBilateral() const override { return true; }
  // Keeps this centre, which must be among the new values.
  EnumerationBase<T>* newDomain(const std::vector<T>& values) const override
  {
    return new Bilateral<T>(values, _centre);
  }

  T centre() const { return _centre; }

private:
  T _centre;
};

} // namespace Domains

#endif
