#include "gui/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

// Outside any namespace, as the resource's initialiser must be.
static void initTranslationResources()
{
  Q_INIT_RESOURCE(translations);
}

namespace {

QTranslator* ownTranslator = nullptr;
QTranslator* qtTranslator = nullptr;

QString primaryOf(const QString& tag)
{
  return tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
}

} // namespace

QStringList Translations::available()
{
  initTranslationResources();
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
  initTranslationResources();
  ownTranslator = new QTranslator(app);
  if (!ownTranslator->load(QStringLiteral("quelmora_") + language,
                           QStringLiteral(":/translations"))) {
    delete ownTranslator;
    ownTranslator = nullptr;
    return false;
  }
  app->installTranslator(ownTranslator);
  // Qt's own texts (the buttons of message boxes, the file dialog); without
  // them (no qttranslations5-l10n) those stay English.
  qtTranslator = new QTranslator(app);
  if (qtTranslator->load(QStringLiteral("qtbase_") + language,
                         QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
    app->installTranslator(qtTranslator);
  else {
    delete qtTranslator;
    qtTranslator = nullptr;
  }
  return true;
}

void Translations::uninstall(QCoreApplication* app)
{
  for (QTranslator** t : {&ownTranslator, &qtTranslator}) {
    if (*t) {
      app->removeTranslator(*t);
      delete *t;
      *t = nullptr;
    }
  }
}
