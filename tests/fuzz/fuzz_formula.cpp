// Formulas as a user may type them, through the program's own muParser set-up:
// the check the formula inputs run while typing, then the function the
// window and the batch tool build from an accepted formula, evaluated over a
// small domain. An accepted formula must build and evaluate without throwing.
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const Domains::Equidistant<double> domain(-2.0, 2.0, 16u);
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Fn::ExpressionCheck check = Expression::checkExpression(text);
  if (!check.ok)
    return 0;
  try {
    Expression fn(&domain);
    fn.setExpression(text);
    volatile double sum = 0.0;
    for (std::size_t i = 0; i < domain.size(); ++i)
      sum = sum + fn.valueAtIndex(i) + fn.formula(domain.values()[i] + 0.5);
  } catch (...) {
    std::abort(); // accepted by the check, refused when built
  }
  return 0;
}
