#ifndef QUELMORA_APPCONSTANTS_H
#define QUELMORA_APPCONSTANTS_H

#include <QString>

// Program-wide names and file filters, defined once for the window title,
// the file dialogs and the export.
namespace AppConstants {

inline const char* const productName = "Quelmora";
inline const char* const shortProductName = "Quelmorin";
inline const char* const csvFilter = "Excel CSV (*.csv)";
inline const char* const txtFilter = "Simple txt: two columns, can have text in header (*.txt)";
inline const char* const pngFilter = "PNG image (*.png)";
inline const char* const csvSuffix = "csv";
inline const char* const txtSuffix = "txt";
inline const char* const pngSuffix = "png";
inline const char* const sessionSuffix = "qms";
inline const char* const invalidInputStyle =
    "border-style: groove;border-color: red;border-width: 3px;";

// "Quelmorin session (*.qms)"
inline QString sessionFilter()
{
  return QString::fromLatin1(shortProductName) + QStringLiteral(" session (*.qms)");
}

} // namespace AppConstants

#endif
