#ifndef QUELMORA_DESIGN_PATTERNS_STATICFACTORY_INTTOTYPE_H
#define QUELMORA_DESIGN_PATTERNS_STATICFACTORY_INTTOTYPE_H

// Turns an integer into a type, so an integer selects code at compile time.
template <int N>
struct IntToType
{
  enum { value = N };
};

#endif
