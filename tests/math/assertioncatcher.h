#ifndef QUELMORA_TESTS_MATH_ASSERTIONCATCHER_H
#define QUELMORA_TESTS_MATH_ASSERTIONCATCHER_H

#include "math/policy/assertion.h"

#include <QString>

#include <functional>

// Turns a failed math assertion into an exception while the catcher lives,
// so a test can check which condition fired instead of aborting.
class AssertionCatcher
{
public:
  struct Failure
  {
    QString condition, file, message; // condition empty when nothing failed
  };

  AssertionCatcher() : _previous(Policy::assertionHandler())
  {
    Policy::assertionHandler() = [](const char* condition, const char* file, int,
                                    const char* message) {
      throw Failure{condition, file, message ? QString(message) : QString()};
    };
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
  Policy::AssertionHandler _previous;
};

#endif
