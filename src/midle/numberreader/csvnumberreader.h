#ifndef QUELMORA_CSVNUMBERREADER_H
#define QUELMORA_CSVNUMBERREADER_H

#include "midle/numberreader/numberreaderbase.h"

// Reads a CSV file ("csv") with the chosen value separator. Cells are trimmed;
// rows whose cells are all empty and columns that are empty in every row are
// dropped. The first row sets the width: cells beyond it are not stored, and
// a row with a cell that is not a number, or lacking a cell of a kept column,
// is skipped and counted, so every column has the same length.
class CsvNumberReader : public NumberReaderBase
{
public:
  explicit CsvNumberReader(const DataFileInfo& info);
  ~CsvNumberReader() override;

  int read(Columns& columns) override;
};

#endif
