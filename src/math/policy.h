#ifndef QUELMORA_MATH_POLICY_H
#define QUELMORA_MATH_POLICY_H

#include "math/policy/assertion.h"

namespace Policy {

// Precondition with a descriptive message. The message is for the reader of
// the code; a violation stops the program like any failed assertion, with the
// condition text "valid".
inline void check(bool valid, const char* message)
{
  if (!valid)
    ::Policy::assertionFailed("valid", __FILE__, __LINE__, message);
}

} // namespace Policy

#endif
