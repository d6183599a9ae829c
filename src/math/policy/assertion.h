#ifndef QUELMORA_MATH_POLICY_ASSERTION_H
#define QUELMORA_MATH_POLICY_ASSERTION_H

#include <cstdio>
#include <cstdlib>

// The assertion mechanism of the math core (and of the records built on it).
// A failed assertion names the condition text and the source path, then stops
// the program. It guards the program's own invariants: every user input is
// validated before it reaches code that asserts.
namespace Policy {

// Called with the condition text, the source path and line, and an optional
// message. Tests may install a handler that throws, to check which condition
// failed without stopping the test program; if the handler returns, the
// program still stops.
using AssertionHandler = void (*)(const char* condition, const char* file, int line,
                                  const char* message);

inline AssertionHandler& assertionHandler()
{
  static AssertionHandler handler = nullptr;
  return handler;
}

[[noreturn]] inline void assertionFailed(const char* condition, const char* file, int line,
                                         const char* message = nullptr)
{
  if (AssertionHandler handler = assertionHandler())
    handler(condition, file, line, message);
  std::fprintf(stderr, "ASSERT: \"%s\" in file %s, line %d%s%s\n", condition, file, line,
               message ? ": " : "", message ? message : "");
  std::fflush(stderr);
  std::abort();
}

} // namespace Policy

#define QM_ASSERT(cond) \
  ((cond) ? static_cast<void>(0) : ::Policy::assertionFailed(#cond, __FILE__, __LINE__))

#endif
