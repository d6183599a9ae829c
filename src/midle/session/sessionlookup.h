#ifndef QUELMORA_SESSIONLOOKUP_H
#define QUELMORA_SESSIONLOOKUP_H

#include "midle/session/formulafile.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <QVector>

class QSettings;

// What a session names outside itself, found alike by the window and the
// batch tool: the formula each function selector chooses and the data file.
// A session carries each chosen formula's name and expression; an older one
// names only the position in the user's formulas file, read from where the
// window keeps that file.
class SessionLookup
{
public:
  struct Choice
  {
    enum Source { Session, List, None };
    QString name;
    QString expression; // parses; "" for None
    Source source = None;
    QString problem; // why None
  };

  // "FunctionSelector/formula<i>_name" and "..._expression" of selector i.
  static QString nameKey(int selector);
  static QString expressionKey(int selector);
  // Writes the keys of selector i; nothing for an empty name or expression.
  static void writeChoice(QSettings& session, int selector, const QString& name,
                          const QString& expression);

  // The formula of each of count selectors in a session's values ("Group/key"):
  // the session's own when its keys hold a name and an expression that
  // parses, else the entry at the stored position in list (the first when no
  // position is stored).
  static QVector<Choice> read(const QMap<QString, QVariant>& session, int count,
                              const QVector<FormulaFile::Entry>& list);
  // The name and expression each of count selectors carries, as stored
  // (valid when the expression parses).
  static QVector<FormulaFile::Entry> carried(const QMap<QString, QVariant>& session, int count);
  // The name under which a formula of the session is offered beside list:
  // an entry of the same name and expression, else its own name when free,
  // else that name marked as the session's.
  static QString nameInList(const Choice& choice, const QVector<FormulaFile::Entry>& list);

  // The directory of the formulas file: the configured one, else fallback,
  // else the program's own place (AppPaths).
  static QString formulasDirectory(const QString& configured, const QString& fallback);
  // Remembered in the user settings, so that a program without a window finds
  // the file where the window last kept it.
  static void recordWindowFormulasDirectory(const QString& directory);
  // The formulas file for a program without a window: given when not empty,
  // else the directory configured in the user settings, else the window's
  // recorded place, else the program's own place.
  static QString formulasFileOutsideWindow(const QString& given);

  // The data file of a session: the stored path, or when nothing is there the
  // file of the same name beside the session (the two moved together).
  static QString dataFile(const QString& sessionPath, const QString& stored);
};

#endif
