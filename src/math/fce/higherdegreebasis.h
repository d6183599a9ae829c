#ifndef QUELMORA_MATH_FCE_HIGHERDEGREEBASIS_H
#define QUELMORA_MATH_FCE_HIGHERDEGREEBASIS_H

#include <string>

namespace Fn {

// Which polynomials the components of degrees 1 to 3 are taken against.
enum class HigherDegreeBasis {
  // Monic, orthogonal under each basic function's membership degrees at the
  // domain's points: degree m reproduces every polynomial of degree <= m.
  Orthogonal,
  // t, t^2 - C2, t^3 - C3 t in t = x - node, with constants from the two side
  // widths: orthogonal only on a symmetric triangle in the continuous limit.
  ClosedForm,
};

// The names sessions and the batch tool store and read.
inline const char* basisName(HigherDegreeBasis basis)
{
  return basis == HigherDegreeBasis::ClosedForm ? "closed-form" : "orthogonal";
}
inline bool parseBasisName(const std::string& name, HigherDegreeBasis* basis)
{
  if (name == "orthogonal")
    *basis = HigherDegreeBasis::Orthogonal;
  else if (name == "closed-form")
    *basis = HigherDegreeBasis::ClosedForm;
  else
    return false;
  return true;
}

} // namespace Fn

#endif
