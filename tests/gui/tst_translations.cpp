// The Czech translation covers the whole window: every text of the main
// window, its menus, docks and dialogs is translated once the translation is
// loaded. A text the translation leaves as it is ("RMSE") counts when its
// entry is finished.
#include "windowparts.h"

#include "gui/translations.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QXmlStreamReader>

namespace {

using Texts = QMap<QString, QString>;

// The sources whose finished translation is the source itself.
QSet<QString> keptAsTheyAre()
{
  QFile f(QStringLiteral(QUELMORA_TEST_DATA "/../../translations/quelmora_cs.ts"));
  QSet<QString> same;
  if (!f.open(QIODevice::ReadOnly))
    return same;
  QXmlStreamReader xml(&f);
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement)
      continue;
    if (xml.name() == QLatin1String("source"))
      source = xml.readElementText();
    else if (xml.name() == QLatin1String("translation") &&
             xml.attributes().value("type").isEmpty() && xml.readElementText() == source)
      same.insert(source);
  }
  return same;
}

// A widget's place in the tree, the same in every language.
QString pathOf(const QObject* o)
{
  QStringList parts;
  for (; o; o = o->parent()) {
    QString part = o->objectName();
    if (part.isEmpty() && o->parent()) {
      const QObjectList siblings = o->parent()->children();
      part = QStringLiteral("%1#%2")
                 .arg(QLatin1String(o->metaObject()->className()))
                 .arg(siblings.indexOf(const_cast<QObject*>(o)));
    }
    parts.prepend(part);
  }
  return parts.join('/');
}

// Widgets whose texts are the user's data: formula names, file names, numbers.
bool holdsData(const QWidget* w)
{
  for (const QWidget* p = w; p; p = p->parentWidget())
    if (p->inherits("FunctionSelectorWidget") || p->inherits("FunctionTableWidget") ||
        p->inherits("QTextBrowser") || p->objectName() == QLatin1String("listWidget") ||
        p->objectName() == QLatin1String("menuRecentSession") ||
        p->objectName() == QLatin1String("lookInCombo") ||
        p->objectName().endsWith(QLatin1String("ValueLbl")))
      return true;
  return false;
}

void addAction(Texts* t, const QString& where, const QAction* a)
{
  if (a->isSeparator())
    return;
  (*t)[where + ":text"] = a->text();
  (*t)[where + ":toolTip"] = a->toolTip();
  (*t)[where + ":statusTip"] = a->statusTip();
  (*t)[where + ":whatsThis"] = a->whatsThis();
  if (a->menu() && a->menu()->objectName() != QLatin1String("menuRecentSession"))
    for (const QAction* sub : a->menu()->actions())
      addAction(t, where + "/" + (sub->objectName().isEmpty() ? sub->text() : sub->objectName()),
                sub);
}

void collect(QWidget* root, Texts* t)
{
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* w : widgets) {
    if (holdsData(w))
      continue;
    const QString p = pathOf(w);
    (*t)[p + ":toolTip"] = w->toolTip();
    (*t)[p + ":whatsThis"] = w->whatsThis();
    (*t)[p + ":statusTip"] = w->statusTip();
    (*t)[p + ":accessibleName"] = w->accessibleName();
    (*t)[p + ":accessibleDescription"] = w->accessibleDescription();
    if (w->isWindow() || qobject_cast<QDockWidget*>(w))
      (*t)[p + ":windowTitle"] = w->windowTitle();
    if (auto* l = qobject_cast<QLabel*>(w))
      (*t)[p + ":text"] = l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
      (*t)[p + ":text"] = b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
      (*t)[p + ":title"] = g->title();
    if (auto* c = qobject_cast<QComboBox*>(w); c && !c->isEditable())
      for (int i = 0; i < c->count(); ++i)
        (*t)[p + QStringLiteral(":item%1").arg(i)] = c->itemText(i);
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < tabs->count(); ++i)
        (*t)[p + QStringLiteral(":tab%1").arg(i)] = tabs->tabText(i);
    if (auto* s = qobject_cast<QSpinBox*>(w)) {
      (*t)[p + ":suffix"] = s->suffix();
      (*t)[p + ":prefix"] = s->prefix();
      (*t)[p + ":specialValueText"] = s->specialValueText();
    }
    if (auto* e = qobject_cast<QLineEdit*>(w))
      (*t)[p + ":placeholderText"] = e->placeholderText();
    if (auto* list = qobject_cast<QListWidget*>(w))
      for (int i = 0; i < list->count(); ++i)
        (*t)[p + QStringLiteral(":row%1").arg(i)] = list->item(i)->text();
    if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
      for (int c = 0; c < view->model()->columnCount(); ++c)
        for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
          (*t)[p + QStringLiteral(":header%1.%2").arg(c).arg(role)] =
              view->model()->headerData(c, Qt::Horizontal, role).toString();
    if (auto* bar = qobject_cast<QMenuBar*>(w))
      for (const QAction* a : bar->actions())
        addAction(t, p + "/" + a->menu()->objectName(), a);
    else if (!qobject_cast<QMenu*>(w))
      for (const QAction* a : w->actions())
        addAction(t, p + "/" + (a->objectName().isEmpty() ? a->text() : a->objectName()), a);
  }
}

// Every text of the window in each partition kind, and of its dialogs.
Texts windowTexts()
{
  Texts t;
  WindowParts parts;
  for (const QString& kind : WindowParts::partitionKinds()) {
    MainWindowTester::action(parts.window.get(), kind.toLatin1().constData())->trigger();
    Texts k;
    collect(parts.window.get(), &k);
    for (auto it = k.constBegin(); it != k.constEnd(); ++it)
      t[kind + ">" + it.key()] = it.value();
  }
  for (const auto& d : parts.dialogs) {
    auto* prefs = qobject_cast<PreferencesWidget*>(d.second);
    for (int page = 0; page < (prefs ? 3 : 1); ++page) {
      if (prefs)
        prefs->setCurrentPage(page);
      Texts k;
      collect(d.second, &k);
      for (auto it = k.constBegin(); it != k.constEnd(); ++it)
        t[d.first + QString::number(page) + ">" + it.key()] = it.value();
    }
  }
  return t;
}

// Words to translate: file names, paths and the program's name left out.
bool hasWords(QString text)
{
  text.remove(QStringLiteral("Quelmora"));
  static const QRegularExpression file(QStringLiteral("\\S*[./]\\S*"));
  static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
  return word.match(text.remove(file)).hasMatch();
}

// Whether text is one of the finished entries that keep their source, the
// arguments filled in.
bool keptOnPurpose(const QList<QRegularExpression>& same, const QString& text)
{
  for (const QRegularExpression& e : same)
    if (e.match(text).hasMatch())
      return true;
  return false;
}

} // namespace

class TestTranslations : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

private slots:
  void initTestCase() { env.setUp(); }
  void cleanup() { Translations::uninstall(qApp); }

  void languageFollowsTheUser_data()
  {
    QTest::addColumn<QStringList>("ui");
    QTest::addColumn<QString>("language");
    QTest::newRow("LANGUAGE=cs") << QStringList{"cs"} << "cs";
    QTest::newRow("cs_CZ") << QStringList{"cs-CZ", "cs"} << "cs";
    QTest::newRow("LANGUAGE=de:cs") << QStringList{"de", "de-DE", "cs"} << "cs";
    QTest::newRow("English before Czech") << QStringList{"en-GB", "cs"} << "en";
    QTest::newRow("C") << QStringList{"C"} << "en";
    QTest::newRow("none") << QStringList{} << "en";
  }
  void languageFollowsTheUser()
  {
    QFETCH(QStringList, ui);
    QFETCH(QString, language);
    QCOMPARE(Translations::languageFor(ui), language);
  }

  void czechIsBuiltIn()
  {
    QVERIFY(Translations::available().contains("cs"));
    QVERIFY(Translations::install(qApp, "cs"));
    QCOMPARE(QCoreApplication::translate("EditStep", "Add node"), QString("Přidat uzel"));
    // Qt's own texts follow, where the system has them.
    Translations::uninstall(qApp);
    QCOMPARE(QCoreApplication::translate("EditStep", "Add node"), QString("Add node"));
    QVERIFY(!Translations::install(qApp, "xx"));
  }

  // A text of the window that reads the same in Czech as in English must be
  // one the translation keeps on purpose.
  void everyTextIsTranslated()
  {
    QList<QRegularExpression> same;
    for (const QString& source : keptAsTheyAre())
      same.append(QRegularExpression(
          "^" + QRegularExpression::escape(source).replace(QRegularExpression("\\\\%\\d"), ".*") +
          "$"));
    // Qt's own word, the same in Czech.
    same.append(QRegularExpression("^OK$"));
    QVERIFY(same.size() > 1);
    const Texts english = windowTexts();
    QVERIFY(Translations::install(qApp, "cs"));
    const Texts czech = windowTexts();
    QStringList missing;
    int checked = 0;
    for (auto it = english.constBegin(); it != english.constEnd(); ++it) {
      if (!hasWords(it.value()) || !czech.contains(it.key()))
        continue;
      ++checked;
      if (czech.value(it.key()) == it.value() && !keptOnPurpose(same, it.value()))
        missing.append(it.key() + " = \"" + it.value() + "\"");
    }
    missing.removeDuplicates();
    for (const QString& m : missing)
      qWarning("not translated: %s", qPrintable(m));
    QVERIFY2(checked > 300, qPrintable(QString::number(checked)));
    QCOMPARE(missing.size(), 0);
  }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
