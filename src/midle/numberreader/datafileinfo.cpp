#include "midle/numberreader/datafileinfo.h"

#include <QFile>
#include <QFileInfo>

DataFileInfo::DataFileInfo(const QByteArray& path, bool showDialog, int32_t xCol)
    : dataFile(path), suffix(QFileInfo(QFile::decodeName(path)).suffix().toLower()),
      showImportDialog(showDialog), xColumn(xCol)
{
}

QString DataFileInfo::filePath() const
{
  return QFile::decodeName(dataFile);
}
