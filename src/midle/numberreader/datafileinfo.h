#ifndef QUELMORA_DATAFILEINFO_H
#define QUELMORA_DATAFILEINFO_H

#include <QByteArray>
#include <QString>

#include <cstdint>

// The data file in use as the function source and how it is read. A plain
// record, copied by value; sessions store it (dataFile, valueSeparator,
// decimalSeparator).
class DataFileInfo
{
public:
  DataFileInfo() = default;
  // suffix is computed from the path: the part after the last dot of the
  // file name, in lower case.
  DataFileInfo(const QByteArray& path, bool showDialog, int32_t xCol);

  // dataFile decoded as a file name.
  QString filePath() const;

  QByteArray dataFile; // path in the local 8-bit file-name encoding
  QString suffix;
  bool showImportDialog = true;
  int32_t xColumn = 0;          // column holding x, or -1 for none
  int32_t decimalSeparator = 0; // 0 = dot, 1 = comma (recorded only)
  QString valueSeparator;       // empty means white space
};

#endif
