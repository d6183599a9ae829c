#ifndef QUELMORA_SHOWNNUMBER_H
#define QUELMORA_SHOWNNUMBER_H

#include <QString>

#include <cstddef>
#include <vector>

// How many decimals the node editors and the component table show: three,
// unless the numbers that matter (the spacing of neighbouring nodes, the
// largest component of a column) would then show too few significant digits.
class ShownNumber
{
public:
  static constexpr int minDecimals = 3;
  // Enough for the smallest positive double.
  static constexpr int maxDecimals = 340;

  // Decimals with which a spacing shows at least three significant digits.
  static int decimalsForSpacing(double spacing);
  // The same for the smallest positive spacing of ascending nodes.
  static int decimalsForNodes(const std::vector<double>& nodes);
  // Decimals with which the largest magnitude among values shows `significant` digits.
  static int decimalsForValues(const double* values, std::size_t count, int significant);

  // Fixed notation, rounded.
  static QString text(double value, int decimals);
};

#endif
