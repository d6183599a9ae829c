#ifndef QUELMORA_FTRANSFORMCHANGE_H
#define QUELMORA_FTRANSFORMCHANGE_H

#include <cstddef>

// What the last recomputation of the controller changed. A node move changes
// every function's components in [componentFrom, componentTo) and its shown
// inverses at the domain indices [domainFrom, domainTo), and nothing else;
// any other recomputation may have changed everything.
struct FtransformChange
{
  bool everything = true;
  std::size_t domainFrom = 0, domainTo = 0;
  std::size_t componentFrom = 0, componentTo = 0;
};

#endif
