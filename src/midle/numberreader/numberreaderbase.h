#ifndef QUELMORA_NUMBERREADERBASE_H
#define QUELMORA_NUMBERREADERBASE_H

#include "midle/numberreader/datafileinfo.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class FieldSplitter;
class LineReader;
class Utf16Device;

// Reads a plain text file of numbers in columns ("txt"): every line with
// exactly the detected number of fields, at least one of them a number, is
// one row; every other line is counted as ignored. A column that holds no
// number in any row (dates, labels) is a text column: it keeps its place in
// the column numbering but no values, and its text does not cost the row.
// Text in any other column skips its row. A field is read first with a
// decimal comma, then with a decimal dot, through locales of its own: the
// program's default locale is never changed.
//
// Files in UTF-8 (with or without a byte-order mark) are scanned as they
// are; UTF-16 files with a byte-order mark are decoded to UTF-8 on the way.
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

  enum Problem {
    NoProblem,
    CannotOpen,
    ReadFailed,
    TooManyColumns,
    TooManyValues,
    UnsupportedEncoding,
    UnterminatedQuote
  };

  static constexpr int maxLineLength = 8 << 20;
  static constexpr int maxColumns = 1000;
  static constexpr int64_t maxValues = 16000000;

  explicit NumberReaderBase(const DataFileInfo& info);
  virtual ~NumberReaderBase();
  NumberReaderBase(const NumberReaderBase&) = delete;
  NumberReaderBase& operator=(const NumberReaderBase&) = delete;

  // Skips lineToDetect lines and counts the fields of the next one.
  // -1 when the file ends before that line.
  virtual int detectColumns(int lineToDetect);
  // Fills columns from the whole file; returns the number of ignored lines.
  // Text columns are left empty (see textColumns()).
  virtual int read(Columns& columns);

  // False when the file could not be opened; errorString() says why.
  bool isOpen() const { return file.isOpen(); }
  Problem lastProblem() const { return problem; }
  QString errorString() const { return error; }

  QByteArray filePath() const { return fileName; }
  // The columns of the last read() that hold text only, ascending.
  const std::vector<int>& textColumns() const { return textCols; }
  // The names of the columns of the last read(): the fields of the last line
  // of text alone before the first row, when it has one field per column;
  // empty otherwise.
  const QStringList& columnNames() const { return names; }
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
  void setProblem(Problem p, const QString& text);
  static int clampCount(int64_t count);
  // The device the text is read from: the file, or its UTF-8 decoding.
  QIODevice* input();
  // Puts the input back to its start.
  void rewind();

  // What the rows of a read told about each column.
  struct ColumnKinds
  {
    std::vector<char> number; // some row holds a number there
    std::vector<char> text;   // some row holds text there
  };
  // Ends a read: columns without numbers become empty text columns (or are
  // dropped when dropEmpty and they hold no text either), and rows lacking a
  // number in a remaining column are skipped and counted. Returns the
  // ignored count.
  int finishColumns(Columns& columns, const ColumnKinds& kinds, bool dropEmpty, int64_t ignored);

  QByteArray fileName;
  QFile file;
  int32_t columnCount = 2;
  int32_t decimalComma;
  QString separator;
  int64_t valueLimit = maxValues;
  std::vector<int> textCols;
  QStringList names;

private:
  int readRows(Columns& columns);

  std::unique_ptr<Utf16Device> decoded;
  Problem problem = NoProblem;
  QString error;
};

#endif
