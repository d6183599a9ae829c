#ifndef QUELMORA_EXPORTFUNCTIONBASE_H
#define QUELMORA_EXPORTFUNCTIONBASE_H

#include <QList>
#include <QMap>
#include <QString>

namespace Fn {
template <typename X, typename Y>
class MathFn;
}

// Collects the functions of a value export as named columns; a subclass
// writes them in its file format. The functions are not owned and must
// outlive the writer.
class ExportFunctionBase
{
public:
  using Function = Fn::MathFn<double, double>;

  explicit ExportFunctionBase(const QString& fileName = QString());
  virtual ~ExportFunctionBase();
  ExportFunctionBase(const ExportFunctionBase&) = delete;
  ExportFunctionBase& operator=(const ExportFunctionBase&) = delete;

  // Appends a column; a function added twice keeps the last name.
  void addColumn(const Function* fn, const QString& name);
  // Appends a column of the points of fn's domain (its x values) in place of
  // its values: where the rows of a column on other points than the domain
  // column's lie.
  void addPointsColumn(const Function* fn, const QString& name);

  // Writes the file. Returns false when it could not be written completely;
  // then errorString() names the file and the reason and an existing file
  // at the target is left as it was.
  virtual bool write() = 0;
  QString errorString() const;

  QString fileName() const;
  void setFileName(const QString& name);
  bool includeDomain() const;
  void setIncludeDomain(bool include);
  // Significant digits of the written numbers (6 by default; 17 round-trips).
  int precision() const;
  void setPrecision(int significantDigits);
  QString separator() const;

protected:
  QList<const Function*> columns;
  QMap<const Function*, QString> names;
  QList<bool> pointColumns; // per column: its points, not its values
  QMap<const Function*, QString> pointNames;
  QString file;
  QString sep = QStringLiteral(";");
  bool withDomain = false;
  int digits = 6;
  QString error;
};

#endif
