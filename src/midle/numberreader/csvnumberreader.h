#ifndef QUELMORA_CSVNUMBERREADER_H
#define QUELMORA_CSVNUMBERREADER_H

#include "midle/numberreader/numberreaderbase.h"

// Reads a CSV file ("csv") with the chosen value separator, quoted fields as
// RFC 4180 has them (the separator, line breaks and doubled quotes inside
// quotes; a quoted number is a number). Cells are trimmed; rows whose cells
// are all empty and columns that are empty in every row are dropped. The
// first row sets the width: cells beyond it are not stored. A row without
// any number (a header) is skipped and counted; so is a row with text, or
// without a cell, in a column that holds numbers. A column holding only text
// (dates, labels) is a text column, as for the text reader. A quote left
// open at the end of the file refuses the whole file (UnterminatedQuote).
class CsvNumberReader : public NumberReaderBase
{
public:
  explicit CsvNumberReader(const DataFileInfo& info);
  ~CsvNumberReader() override;

  int read(Columns& columns) override;
};

#endif
