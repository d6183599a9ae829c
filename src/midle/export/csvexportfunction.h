#ifndef QUELMORA_CSVEXPORTFUNCTION_H
#define QUELMORA_CSVEXPORTFUNCTION_H

#include "midle/export/exportfunctionbase.h"

#include <QByteArray>
#include <QStringList>

class QIODevice;

#include <string>

// Writes the columns as semicolon-separated text that spreadsheets read:
// a header of quoted names, then one line per point, numbers with '.' as the
// decimal point whatever the locale. The file is written through OutputFile:
// a failed write never damages an existing file, and a device or FIFO is
// written, never replaced.
class CsvExportFunction : public ExportFunctionBase
{
public:
  using ExportFunctionBase::ExportFunctionBase;

  bool write() override;
  // See OutputFile::setWaitForReader; a window passes false.
  void setWaitForReader(bool wait) { waitForReader = wait; }

  // Writes the same content to an open device (standard output of the batch
  // tool); false with errorString() when the device refuses the data.
  bool writeTo(QIODevice& device);

  // The whole file content, as write() would write it (for small exports and tests).
  QByteArray content() const;

  // Writes a table of text cells instead of the function columns, in the
  // same format: the header names quoted, each followed by ';', then one line
  // per row with the cells joined by "; ". Numbers go in as formatNumber text.
  void setTable(const QStringList& header, const QList<QStringList>& rows);

  // One number as the export writes it: %g style with the given significant
  // digits and '.', independent of the C and Qt locales.
  static std::string formatNumber(double value, int significantDigits = 6);

private:
  template <typename Sink>
  bool produce(Sink& sink) const;
  template <typename Sink>
  bool produceTable(Sink& sink) const;

  QStringList tableHeader;
  QList<QStringList> tableRows;

  bool waitForReader = true;
};

#endif
