#include "midle/export/exportfunctionbase.h"

#include <algorithm>

ExportFunctionBase::ExportFunctionBase(const QString& fileName) : file(fileName) {}

ExportFunctionBase::~ExportFunctionBase() = default;

void ExportFunctionBase::addColumn(const Function* fn, const QString& name)
{
  if (!fn)
    return;
  columns.append(fn);
  pointColumns.append(false);
  names.insert(fn, name);
}

void ExportFunctionBase::addPointsColumn(const Function* fn, const QString& name)
{
  if (!fn)
    return;
  columns.append(fn);
  pointColumns.append(true);
  pointNames.insert(fn, name);
}

QString ExportFunctionBase::errorString() const
{
  return error;
}

QString ExportFunctionBase::fileName() const
{
  return file;
}

void ExportFunctionBase::setFileName(const QString& name)
{
  file = name;
}

bool ExportFunctionBase::includeDomain() const
{
  return withDomain;
}

void ExportFunctionBase::setIncludeDomain(bool include)
{
  withDomain = include;
}

int ExportFunctionBase::precision() const
{
  return digits;
}

// Beyond 17 digits a double carries no more information.
void ExportFunctionBase::setPrecision(int d)
{
  digits = std::clamp(d, 1, 17);
}

QString ExportFunctionBase::separator() const
{
  return sep;
}
