#include "midle/session/sessionlookup.h"

#include "math/fce/formulaexpression.h"
#include "midle/session/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <memory>

namespace {

const char* const recordedKey = "MainWindow/formulasDirectory";

QString tr(const char* text)
{
  return QCoreApplication::translate("SessionLookup", text);
}

bool parses(const QString& expression)
{
  return !expression.isEmpty() &&
         Fn::FormulaExpression<double, double>::checkExpression(expression.toStdString()).ok;
}

// A hand-edited INI value with an unquoted comma comes back as a list.
QString text(const QVariant& v)
{
  if (v.type() == QVariant::StringList)
    return v.toStringList().join(QLatin1Char(','));
  return v.toString();
}

QSettings* userSettings()
{
  return new QSettings(QSettings::IniFormat, QSettings::UserScope,
                       QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

} // namespace

QString SessionLookup::nameKey(int selector)
{
  return QStringLiteral("FunctionSelector/formula%1_name").arg(selector);
}

QString SessionLookup::expressionKey(int selector)
{
  return QStringLiteral("FunctionSelector/formula%1_expression").arg(selector);
}

void SessionLookup::writeChoice(QSettings& session, int selector, const QString& name,
                                const QString& expression)
{
  if (name.isEmpty() || expression.isEmpty())
    return;
  session.setValue(nameKey(selector), name);
  session.setValue(expressionKey(selector), expression);
}

QVector<FormulaFile::Entry> SessionLookup::carried(const QMap<QString, QVariant>& session,
                                                   int count)
{
  QVector<FormulaFile::Entry> formulas;
  for (int i = 0; i < count; ++i) {
    const QString expression = text(session.value(expressionKey(i)));
    formulas.append({text(session.value(nameKey(i))), expression, parses(expression)});
  }
  return formulas;
}

QVector<SessionLookup::Choice> SessionLookup::read(const QMap<QString, QVariant>& session,
                                                   int count,
                                                   const QVector<FormulaFile::Entry>& list)
{
  QVector<Choice> choices;
  for (int i = 0; i < count; ++i) {
    Choice c;
    c.name = text(session.value(nameKey(i)));
    c.expression = text(session.value(expressionKey(i)));
    if (!c.name.isEmpty() && parses(c.expression)) {
      c.source = Choice::Session;
      choices.append(c);
      continue;
    }
    // As the selector takes its stored position: a value that is no number
    // leaves it on the first entry.
    const QString indexKey = QStringLiteral("FunctionSelector/comboBox%1_currentIndex").arg(i);
    QVariant stored = session.value(indexKey);
    int index = 0;
    if (stored.isValid() && stored.convert(QMetaType::Int))
      index = stored.toInt();
    c = Choice();
    if (index < 0 || index >= list.size()) {
      c.problem = tr("%1 selects entry %2 of a list of %3 formulas")
                      .arg(indexKey)
                      .arg(index)
                      .arg(list.size());
    } else if (!list.at(index).valid || !parses(list.at(index).expression)) {
      c.name = list.at(index).name;
      c.problem =
          tr("%1 selects the formula \"%2\", whose expression is not valid").arg(indexKey, c.name);
    } else {
      c.name = list.at(index).name;
      c.expression = list.at(index).expression;
      c.source = Choice::List;
    }
    choices.append(c);
  }
  return choices;
}

QString SessionLookup::nameInList(const Choice& choice, const QVector<FormulaFile::Entry>& list)
{
  auto taken = [&list](const QString& name, const QString* expression) {
    for (const FormulaFile::Entry& e : list)
      if (e.name == name && (!expression || e.expression == *expression))
        return true;
    return false;
  };
  if (taken(choice.name, &choice.expression) || !taken(choice.name, nullptr))
    return choice.name;
  QString name = tr("%1 (session)").arg(choice.name);
  for (int n = 2; taken(name, nullptr) && !taken(name, &choice.expression); ++n)
    name = tr("%1 (session %2)").arg(choice.name).arg(n);
  return name;
}

QString SessionLookup::formulasDirectory(const QString& configured, const QString& fallback)
{
  if (!configured.isEmpty())
    return configured;
  return fallback.isEmpty() ? AppPaths::writableAppDirectory() : fallback;
}

void SessionLookup::recordWindowFormulasDirectory(const QString& directory)
{
  const QString absolute = QDir(directory).absolutePath();
  std::unique_ptr<QSettings> user(userSettings());
  if (user->value(QLatin1String(recordedKey)).toString() != absolute)
    user->setValue(QLatin1String(recordedKey), absolute);
}

QString SessionLookup::formulasFileOutsideWindow(const QString& given)
{
  if (!given.isEmpty())
    return given;
  const std::unique_ptr<QSettings> user(userSettings());
  const QString recorded = user->value(QLatin1String(recordedKey)).toString();
  return AppPaths::formulasFile(
      formulasDirectory(AppPaths::configuredFormulasDirectory(), recorded));
}

QString SessionLookup::dataFile(const QString& sessionPath, const QString& stored)
{
  if (stored.isEmpty() || QFileInfo::exists(stored))
    return stored;
  // The name after the last separator of either system it was stored on.
  const QString name = stored.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
    return stored;
  const QString beside = QFileInfo(sessionPath).absoluteDir().filePath(name);
  return QFileInfo(beside).isFile() ? beside : stored;
}
