#ifndef QUELMORA_MATH_FCE_FORMULAEXPRESSION_H
#define QUELMORA_MATH_FCE_FORMULAEXPRESSION_H

#include "math/fce/mathfn.h"

#include <muParser.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <random>
#include <string>
#include <type_traits>

namespace Fn {

// The one generator behind "normal" and "uniform": process-wide, seeded once
// from the system's random device.
inline std::mt19937& randomGenerator()
{
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

namespace detail {

inline double normalRandom(double mean, double deviation)
{
  // The standard normal keeps its spare variate between calls; scaling it
  // here stays defined for any deviation a user can type.
  static std::normal_distribution<double> standard(0.0, 1.0);
  return mean + deviation * standard(randomGenerator());
}

inline double uniformRandom(double a, double b)
{
  static std::uniform_real_distribution<double> unit(0.0, 1.0);
  return a + (b - a) * unit(randomGenerator());
}

// Index of the first comma outside parentheses, or -1.
inline int topLevelComma(const std::string& expr)
{
  int depth = 0;
  for (std::size_t i = 0; i < expr.size(); ++i) {
    const char c = expr[i];
    if (c == '(')
      ++depth;
    else if (c == ')')
      --depth;
    else if (c == ',' && depth <= 0)
      return int(i);
  }
  return -1;
}

} // namespace detail

// The outcome of checking an expression without throwing.
struct ExpressionCheck
{
  bool ok = true;
  std::string message; // the parser's message when not ok
  std::string token;   // the offending token, may be empty
  int position = -1;   // may lie past the end of the expression
};

// The program's muParser set-up: the variable "x"; "normal"(mean, deviation)
// and "uniform"(a, b) drawing a new random number at every call; "_pi" and
// "_e" to full double precision; '.' as the decimal point and ',' between
// arguments. An expression must have exactly one result: muParser reads "1,5"
// as two expressions and would silently give 5, so that is refused like a
// syntax error.
//
// Used as `MathFnCachedFormula<X, Y, FormulaExpression<X, Y>>`:
//   auto* fn = new Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double,
//   double>>(domain); fn->setExpression("sin(x)");  // throws mu::ParserError; the cache is
//   refilled
// To check text first (e.g. while the user types):
//   Fn::ExpressionCheck c = Fn::FormulaExpression<double, double>::checkExpression("1,5");
//   if (!c.ok) show(c.message, c.token);
template <typename X, typename Y>
class FormulaExpression : public MathFn<X, Y>
{
public:
  typedef typename MathFn<X, Y>::Domain Domain;

  explicit FormulaExpression(const Domain* domain) : MathFn<X, Y>(domain), _parser(new mu::Parser)
  {
    setUpParser(*_parser, &_x);
    _parser->SetExpr(_expression);
  }
  FormulaExpression(const FormulaExpression& o)
      : MathFn<X, Y>(o), _parser(new mu::Parser), _expression(o._expression)
  {
    setUpParser(*_parser, &_x);
    _parser->SetExpr(_expression);
  }
  FormulaExpression& operator=(const FormulaExpression&) = delete;

  void paramsChanged() override {}

  // Replaces the expression and recomputes every cached value. A rejected
  // expression throws mu::ParserError and leaves the function unchanged.
  void setExpression(const std::string& expression)
  {
    mu::Parser parser;
    double x = this->_domain->low();
    setUpParser(parser, &x);
    validate(parser, expression);
    _parser->SetExpr(expression);
    _expression = expression;
    this->recompute(this->_domain->begin(), this->_domain->end());
  }
  const std::string& expression() const { return _expression; }

  // The expression at x. Evaluation never throws once the expression was accepted.
  Y formula(X x) const
  {
    _x = double(x);
    return Y(_parser->Eval());
  }

  // The expression at xs[0] ... xs[n - 1] into out, as formula() gives it:
  // the variable alone is copied and a constant filled in, without an
  // evaluation; other expressions over many points are evaluated in
  // muParser's bulk mode (which may run OpenMP threads), except those
  // drawing random numbers, evaluated one point after another so that they
  // draw in order.
  void formulaAll(const X* xs, std::size_t n, Y* out) const
  {
    if (n == 0)
      return;
    if (draws()) {
      for (std::size_t i = 0; i < n; ++i)
        out[i] = formula(xs[i]);
      return;
    }
    if (isVariable(_expression)) {
      if constexpr (std::is_same<X, Y>::value)
        std::copy(xs, xs + n, out); // a memory copy
      else
        std::transform(xs, xs + n, out, [](X x) { return Y(double(x)); });
      return;
    }
    if (_parser->GetUsedVar().empty()) {
      std::fill(out, out + n, formula(xs[0]));
      return;
    }
    // Below this many points starting the bulk mode's threads costs more
    // than it saves (a window's domain).
    constexpr std::size_t bulkFrom = std::size_t(1) << 18;
    if constexpr (std::is_same<X, double>::value && std::is_same<Y, double>::value) {
      if (n < bulkFrom) {
        for (std::size_t i = 0; i < n; ++i)
          out[i] = formula(xs[i]);
        return;
      }
      // Each block is a bulk evaluation of its own: muParser counts in int.
      constexpr std::size_t block = std::size_t(1) << 30;
      mu::Parser bulk;
      for (std::size_t at = 0; at < n; at += block) {
        setUpParser(bulk, const_cast<double*>(xs + at));
        bulk.SetExpr(_expression);
        bulk.Eval(out + at, int(std::min(block, n - at)));
      }
    } else {
      for (std::size_t i = 0; i < n; ++i)
        out[i] = formula(xs[i]);
    }
  }

  // Checks an expression the way setExpression does, without throwing.
  static ExpressionCheck checkExpression(const std::string& expression)
  {
    ExpressionCheck result;
    try {
      mu::Parser parser;
      double x = 0.0;
      setUpParser(parser, &x);
      validate(parser, expression);
    } catch (const mu::ParserError& e) {
      result.ok = false;
      result.message = e.GetMsg();
      result.token = e.GetToken();
      result.position = e.GetPos();
    }
    return result;
  }

  void copySettingsFrom(const FormulaExpression& o)
  {
    if (o._expression != _expression)
      setExpression(o._expression);
  }

private:
  // "x", also in spaces and parentheses.
  static bool isVariable(const std::string& expression)
  {
    std::string s;
    for (char c : expression)
      if (!std::isspace(static_cast<unsigned char>(c)))
        s += c;
    while (s.size() >= 2 && s.front() == '(' && s.back() == ')')
      s = s.substr(1, s.size() - 2);
    return s == "x";
  }
  // Draws random numbers ("normal", "uniform"): only its own parser knows.
  bool draws() const
  {
    const auto& used = _parser->GetExpr();
    return used.find("normal") != std::string::npos || used.find("uniform") != std::string::npos;
  }

  static void setUpParser(mu::Parser& parser, double* x)
  {
    parser.DefineVar("x", x);
    // Never folded into constants: every call draws anew.
    parser.DefineFun("normal", &detail::normalRandom, false);
    parser.DefineFun("uniform", &detail::uniformRandom, false);
    // muParser's own constants are truncated (sin(_pi) would be 7.9e-13).
    parser.DefineConst("_pi", 3.141592653589793238462643383279502884);
    parser.DefineConst("_e", 2.718281828459045235360287471352662498);
  }

  // Parses by evaluating once; throws mu::ParserError for any fault,
  // including more than one result.
  static void validate(mu::Parser& parser, const std::string& expression)
  {
    parser.SetExpr(expression);
    parser.Eval();
    if (parser.GetNumResults() != 1) {
      const int comma = detail::topLevelComma(expression);
      throw mu::ParserError("Expression has more than one result; use '.' as the decimal "
                            "point and ',' only between function arguments.",
                            comma, comma >= 0 ? std::string(",") : std::string());
    }
  }

  std::unique_ptr<mu::Parser> _parser;
  mutable double _x = -1.0;
  std::string _expression = "x";
};

} // namespace Fn

#endif
