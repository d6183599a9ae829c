#ifndef QUELMORA_NUMBERREADERBASE_H
#define QUELMORA_NUMBERREADERBASE_H

#include "midle/numberreader/datafileinfo.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QTextStream>

#include <cstdint>
#include <vector>

class FieldSplitter;
class LineReader;

// Reads a plain text file of numbers in columns ("txt"): every line with
// exactly the detected number of numeric fields is one row, every other line
// is counted as ignored. While a reader exists the default locale is Czech,
// and a field is read first with a decimal comma, then with a decimal dot;
// the former default locale comes back when the reader is destroyed.
//
// A field counts as a number only when it is finite: "nan", "inf" and values
// that overflow are not numbers. Limits keep a hostile file from exhausting
// memory: a line longer than maxLineLength is ignored, and reading stops with
// lastProblem() set when a file holds more than maxColumns columns or more
// than maxValues numbers.
class NumberReaderBase
{
public:
  using Column = std::vector<double>;
  using Columns = std::vector<Column>;

  enum Problem { NoProblem, CannotOpen, ReadFailed, TooManyColumns, TooManyValues };

  static constexpr int maxLineLength = 8 << 20;
  static constexpr int maxColumns = 1000;
  static constexpr int64_t maxValues = 16000000;

  explicit NumberReaderBase(const DataFileInfo& info);
  virtual ~NumberReaderBase();
  NumberReaderBase(const NumberReaderBase&) = delete;
  NumberReaderBase& operator=(const NumberReaderBase&) = delete;

  // Skips lineToDetect lines and counts the leading numbers of the next one.
  // -1 when the file ends before that line.
  virtual int detectColumns(int lineToDetect);
  // Fills columns from the whole file; returns the number of ignored lines.
  virtual int read(Columns& columns);
  virtual void rewind(QTextStream& textStream);
  virtual void skipHeader(QTextStream& textStream);
  virtual int readData(QTextStream& textStream, Columns& columns);

  // False when the file could not be opened; errorString() says why.
  bool isOpen() const { return file.isOpen(); }
  Problem lastProblem() const { return problem; }
  QString errorString() const { return error; }

  QByteArray filePath() const { return fileName; }
  int detectedColumnCount() const { return columnCount; }
  int32_t decimalSeparator() const { return decimalComma; }
  void setDecimalSeparator(int32_t comma) { decimalComma = comma; }
  QString valueSeparator() const { return separator; }
  void setValueSeparator(const QString& s) { separator = s; }
  // At most this many numbers are read (maxValues unless changed).
  void setValueLimit(int64_t limit) { valueLimit = limit; }

  // A field as a finite number: Czech rules (decimal comma) first, then the
  // POSIX rules (decimal dot). False for anything else.
  static bool toNumber(const char* begin, const char* end, double& value);

protected:
  // Converts the leading numeric fields of a line into values (cleared
  // first); returns false when a field is not a number. Stops early once
  // more than limit fields were converted.
  bool lineNumbers(const FieldSplitter& splitter, const char* begin, const char* end,
                   std::vector<double>& values, size_t limit) const;
  void setProblem(Problem p, const QString& text);
  static int clampCount(int64_t count);

  QByteArray fileName;
  QFile file;
  QTextStream stream;
  int32_t columnCount = 2;
  int32_t decimalComma;
  QLocale savedLocale;
  QString separator;
  int64_t valueLimit = maxValues;

private:
  Problem problem = NoProblem;
  QString error;
};

#endif
