#ifndef QUELMORA_APPPATHS_H
#define QUELMORA_APPPATHS_H

#include <QString>

// Where the program keeps the files that live beside it (the default session,
// the formulas file). An installed program cannot write its own directory, so
// those files then go to the user's application data location instead.
class AppPaths
{
public:
  // The application's directory when it is writable and not a bin directory
  // of an installation, otherwise the user's application data location
  // (created when missing). No trailing slash.
  static QString writableAppDirectory();

  // True when files can be created in the directory.
  static bool isDirectoryWritable(const QString& dir);

  // The formulas file "FormulaBuilder.ini" in directory; an empty directory
  // means writableAppDirectory().
  static QString formulasFile(const QString& directory);
  // The formulas location the user chose in the preferences, as the user
  // settings file holds it ("" when none). Needs the organisation and
  // application names set, as for the program itself.
  static QString configuredFormulasDirectory();
};

#endif
