#ifndef QUELMORA_APPCONSTANTS_H
#define QUELMORA_APPCONSTANTS_H

#include <QCoreApplication>
#include <QString>

// Program-wide names and file filters, defined once for the window title,
// the file dialogs and the export.
namespace AppConstants {

inline const char* const productName = "Quelmora";
inline const char* const shortProductName = "Quelmorin";
// The filters are shown translated: filter() gives the displayed text.
inline const char* const csvFilter = QT_TRANSLATE_NOOP("AppConstants", "Excel CSV (*.csv)");
inline const char* const txtFilter =
    QT_TRANSLATE_NOOP("AppConstants", "Simple txt: two columns, can have text in header (*.txt)");
inline const char* const pngFilter = QT_TRANSLATE_NOOP("AppConstants", "PNG image (*.png)");
inline const char* const csvSuffix = "csv";
inline const char* const txtSuffix = "txt";
inline const char* const pngSuffix = "png";
inline const char* const sessionSuffix = "qms";
inline const char* const invalidInputStyle =
    "border-style: groove;border-color: red;border-width: 3px;";

inline QString filter(const char* text)
{
  return QCoreApplication::translate("AppConstants", text);
}

// "Quelmorin session (*.qms)"
inline QString sessionFilter()
{
  return QCoreApplication::translate("AppConstants", "%1 session (*.qms)")
      .arg(QString::fromLatin1(shortProductName));
}

} // namespace AppConstants

#endif
