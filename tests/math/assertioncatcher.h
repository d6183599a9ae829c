#ifndef QUELMORA_TESTS_MATH_ASSERTIONCATCHER_H
#define QUELMORA_TESTS_MATH_ASSERTIONCATCHER_H

#include "math/policy/assertion.h"

#include <QString>

#include <functional>

// Turns a failed math assertion into an exception for the lifetime of the
// catcher, so a test can check which condition fired instead of aborting.
class AssertionCatcher
{
public:
  struct Failure
  {
    QString condition; // empty when nothing failed
    QString file;
    QString message;
  };

  AssertionCatcher() : _previous(Policy::assertionHandler())
  {
    Policy::assertionHandler() = &AssertionCatcher::raise;
  }
  ~AssertionCatcher() { Policy::assertionHandler() = _previous; }

  Failure run(const std::function<void()>& body)
  {
    try {
      body();
    } catch (const Failure& f) {
      return f;
    }
    return Failure();
  }

private:
  static void raise(const char* condition, const char* file, int, const char* message)
  {
    throw Failure{QString::fromUtf8(condition), QString::fromUtf8(file),
                  message ? QString::fromUtf8(message) : QString()};
  }

  Policy::AssertionHandler _previous;
};

#endif
