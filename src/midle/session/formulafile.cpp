#include "midle/session/formulafile.h"

#include "math/fce/formulaexpression.h"

#include <QSettings>

namespace {

// A hand-edited INI value with an unquoted comma comes back as a list.
QString settingText(const QVariant& v)
{
  if (v.type() == QVariant::StringList)
    return v.toStringList().join(QLatin1Char(','));
  return v.toString();
}

bool parses(const QString& expression)
{
  return Fn::FormulaExpression<double, double>::checkExpression(expression.toStdString()).ok;
}

} // namespace

FormulaFile::Entry FormulaFile::defaultFormula()
{
  return Entry{QStringLiteral("Default"), QStringLiteral("sin(15*x) * x^2"), true};
}

void FormulaFile::read(const QString& path)
{
  list.clear();
  ignored = 0;
  QSettings settings(path, QSettings::IniFormat);
  empty = settings.allKeys().isEmpty();
  if (empty) {
    list.append(defaultFormula());
    return;
  }
  const int size = settings.beginReadArray(QLatin1String(arrayKey));
  // The stored size is only a claim; never walk past the entries present.
  const int count = qMin(size, settings.childGroups().size());
  QStringList seen;
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    Entry e;
    e.name = settingText(settings.value(QLatin1String(nameKey)));
    e.expression = settingText(settings.value(QLatin1String(expressionKey)));
    if (e.name.isEmpty() || seen.contains(e.name)) {
      ++ignored;
      continue;
    }
    seen.append(e.name);
    e.valid = parses(e.expression);
    list.append(e);
  }
  settings.endArray();
}

QStringList FormulaFile::names() const
{
  QStringList n;
  for (const Entry& e : list)
    n.append(e.name);
  return n;
}

QString FormulaFile::expression(const QString& name) const
{
  for (const Entry& e : list)
    if (e.name == name)
      return e.valid ? e.expression : QString();
  return QString();
}

QStringList FormulaFile::invalidNames() const
{
  QStringList n;
  for (const Entry& e : list)
    if (!e.valid)
      n.append(e.name);
  return n;
}
