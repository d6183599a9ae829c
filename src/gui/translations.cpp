#include "gui/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

// Outside any namespace, as the resource's initialiser must be.
static void initResources()
{
  Q_INIT_RESOURCE(translations);
}

namespace {

QTranslator* own = nullptr;
QTranslator* qt = nullptr;

QString primaryOf(const QString& tag)
{
  return tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
}

} // namespace

QStringList Translations::available()
{
  initResources();
  QStringList languages{QStringLiteral("en")};
  const QString prefix = QStringLiteral(":/translations/quelmora_");
  for (const QString& language : {QStringLiteral("cs")})
    if (QFile::exists(prefix + language + QStringLiteral(".qm")))
      languages.append(language);
  return languages;
}

QString Translations::languageFor(const QStringList& uiLanguages)
{
  // An English user who also reads Czech keeps English: the first known language wins.
  const QStringList known = available();
  for (const QString& tag : uiLanguages)
    if (known.contains(primaryOf(tag)))
      return primaryOf(tag);
  return QStringLiteral("en");
}

bool Translations::install(QCoreApplication* app, const QString& language)
{
  uninstall(app);
  if (language == QLatin1String("en"))
    return true;
  initResources();
  own = new QTranslator(app);
  if (!own->load(QStringLiteral("quelmora_") + language, QStringLiteral(":/translations"))) {
    delete own;
    own = nullptr;
    return false;
  }
  app->installTranslator(own);
  // Qt's own texts (the buttons of message boxes, the file dialog); without
  // them (no qttranslations5-l10n) those stay English.
  qt = new QTranslator(app);
  if (qt->load(QStringLiteral("qtbase_") + language,
               QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
    app->installTranslator(qt);
  else {
    delete qt;
    qt = nullptr;
  }
  return true;
}

void Translations::uninstall(QCoreApplication* app)
{
  for (QTranslator** t : {&own, &qt}) {
    if (*t) {
      app->removeTranslator(*t);
      delete *t;
      *t = nullptr;
    }
  }
}
