#ifndef QUELMORA_FUNCTIONSOURCE_H
#define QUELMORA_FUNCTIONSOURCE_H

#include <cstdint>

// Where the transformed functions come from. The values are what sessions
// store under MainWindow/functionTypeUsed.
enum class FunctionSource : int32_t {
  Formulas = 0,  // the function selectors' formulas on the domain input
  TableData = 1, // values of a data file, or random data
};

#endif
