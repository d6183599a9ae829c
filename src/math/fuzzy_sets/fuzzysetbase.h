#ifndef QUELMORA_MATH_FUZZY_SETS_FUZZYSETBASE_H
#define QUELMORA_MATH_FUZZY_SETS_FUZZYSETBASE_H

#include "math/fce/mathfn.h"

#include <cstdint>
#include <typeinfo>

namespace FuzzySets {

template <typename X, typename Y>
class SpecialTerm;

namespace detail {
// Only sets with a sharpness can be ordered by it.
inline void checkComparable(int32_t _sharpness)
{
  QM_ASSERT(_sharpness >= 0);
}
} // namespace detail

// A function whose values are membership degrees; its leading parameters are
// positions on the x axis. Shapes supply the parameters and the formula and
// are used through Fn::MathFnFormula or Fn::MathFnCachedFormula.
template <typename X, typename Y>
class FuzzySetBase : public Fn::MathFn<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  // Every shape is 0 outside its non-zero range.
  static constexpr bool zeroOutsideNzRange = true;

  // Recomputes the widths from the support and the kernel.
  void paramsChanged() override
  {
    _supportWidth = _supportEnd - _supportBegin;
    _kernelWidth = _kernelEnd - _kernelBegin;
    _leftWidth = _kernelBegin - _supportBegin;
    _rightWidth = _supportEnd - _kernelEnd;
  }

  // -2 when the other set is neither a special term nor of this very class;
  // otherwise the sign of the sharpness difference.
  virtual int compareSharpness(const FuzzySetBase& other) const
  {
    if (!dynamic_cast<const SpecialTerm<X, Y>*>(&other) && typeid(other) != typeid(*this))
      return -2;
    return sharpnessSign(other);
  }

  double supportBegin() const { return _supportBegin; }
  double supportEnd() const { return _supportEnd; }
  double kernelBegin() const { return _kernelBegin; }
  double kernelEnd() const { return _kernelEnd; }
  double supportWidth() const { return _supportWidth; }
  double kernelWidth() const { return _kernelWidth; }
  double leftWidth() const { return _leftWidth; }
  double rightWidth() const { return _rightWidth; }
  int32_t sharpness() const { return _sharpness; }
  void setSharpness(int32_t sharpness) { _sharpness = sharpness; }
  int32_t numberOfPositionNodes() const { return _numberOfPositionNodes; }

protected:
  FuzzySetBase(const Domain* domain, int32_t numberOfPositionNodes)
      : Fn::MathFn<X, Y>(domain), _numberOfPositionNodes(numberOfPositionNodes)
  {
  }
  FuzzySetBase(const FuzzySetBase&) = default;

  int sharpnessSign(const FuzzySetBase& other) const
  {
    detail::checkComparable(_sharpness);
    detail::checkComparable(other._sharpness);
    return (_sharpness > other._sharpness) - (_sharpness < other._sharpness);
  }

  double _supportBegin = 0, _supportEnd = 0;
  double _kernelBegin = 0, _kernelEnd = 0;
  double _supportWidth = -1;
  double _kernelWidth = -1;
  double _leftWidth = 0;
  double _rightWidth = 0;
  int32_t _sharpness = -1;
  int32_t _numberOfPositionNodes;
};

} // namespace FuzzySets

// compareSharpness needs the complete special-term class.
#include "math/fuzzy_sets/specialterm.h"

#endif
