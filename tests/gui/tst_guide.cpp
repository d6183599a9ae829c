#include "mainwindowtester.h"

#include "gui/analysis/convergencedialog.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "gui/exportwidget.h"
#include "gui/figureexportwidget.h"
#include "gui/formulabuilderwidget.h"
#include "gui/guide/contexthelp.h"
#include "gui/guide/guidebrowser.h"
#include "gui/guide/userguide.h"
#include "gui/preferenceswidget.h"
#include "midle/numberreader/numberreaderbase.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QSet>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <memory>

namespace {

QTextDocument* page(const QString& language, const QString& name)
{
  QFile f(QStringLiteral(":/guide/%1/%2").arg(language, name));
  auto* doc = new QTextDocument;
  if (f.open(QIODevice::ReadOnly))
    doc->setHtml(QString::fromUtf8(f.readAll()));
  return doc;
}

// The anchors a page really has in the browser, and the links it holds.
void scan(const QString& language, const QString& name, QSet<QString>* anchors,
          QStringList* links = nullptr)
{
  const std::unique_ptr<QTextDocument> doc(page(language, name));
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      for (const QString& a : f.anchorNames())
        anchors->insert(a);
      if (links && !f.anchorHref().isEmpty())
        links->append(f.anchorHref());
    }
}

QStringList resourcePages(const QString& language)
{
  return QDir(QStringLiteral(":/guide/") + language)
      .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// "page.html#anchor" exists in the language's pages ("" is the contents).
bool sectionExists(const QString& language, const QString& target)
{
  const QString name = target.section('#', 0, 0);
  const QString anchor = target.section('#', 1);
  if (!resourcePages(language).contains(name.isEmpty() ? "index.html" : name))
    return false;
  QSet<QString> anchors;
  scan(language, name.isEmpty() ? "index.html" : name, &anchors);
  return anchor.isEmpty() || anchors.contains(anchor);
}

// The inputs a user can reach in a window: visible, enabled, taking focus.
QList<QWidget*> inputs(QWidget* window)
{
  QList<QWidget*> list;
  for (QWidget* w : window->findChildren<QWidget*>())
    if (w->window() == window && w->isVisible() && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
      list.append(w);
  return list;
}

QString shownTarget(GuideBrowser* guide)
{
  const QUrl u = guide->source();
  return u.fileName() + (u.hasFragment() ? "#" + u.fragment() : QString());
}

} // namespace

class TestGuide : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

  // Presses F1 on each input of window and checks that the guide shows a
  // section of its own for it.
  void pressF1Everywhere(QWidget* window, UserGuide* guide)
  {
    const QList<QWidget*> all = inputs(window);
    QVERIFY(!all.isEmpty());
    for (QWidget* w : all) {
      guide->browser()->open(QString());
      window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window));
      w->setFocus(Qt::OtherFocusReason);
      QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
      QTest::keyClick(focus, Qt::Key_F1);
      const QString shown = shownTarget(guide->browser());
      const QString name = w->objectName() + " (" + w->metaObject()->className() + ")";
      QVERIFY2(shown != "index.html", qPrintable(name + " has no section"));
      QVERIFY2(sectionExists(guide->browser()->language(), shown), qPrintable(name + ": " + shown));
    }
  }

private slots:
  void initTestCase() { env.setUp(); }

  // Both languages have the same pages, every page reachable from the
  // contents, and the same sections on each page.
  void languagesMatch()
  {
    const QStringList en = resourcePages("en");
    QVERIFY(en.size() > 10);
    QCOMPARE(resourcePages("cs"), en);
    for (const QString& language : GuideBrowser::languages()) {
      QStringList listed = GuideBrowser::pages(language);
      listed.sort();
      QCOMPARE(listed, en);
    }
    for (const QString& name : en) {
      QSet<QString> a, b;
      scan("en", name, &a);
      scan("cs", name, &b);
      QVERIFY2(a == b, qPrintable(name));
    }
  }

  void linksLeadToSections_data()
  {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    for (const QString& language : GuideBrowser::languages())
      for (const QString& name : resourcePages(language))
        QTest::newRow(qPrintable(language + "/" + name)) << language << name;
  }
  void linksLeadToSections()
  {
    QFETCH(QString, language);
    QFETCH(QString, name);
    QSet<QString> anchors;
    QStringList links;
    scan(language, name, &anchors, &links);
    for (const QString& link : links) {
      const QUrl u(link);
      if (u.scheme() == "http" || u.scheme() == "https")
        continue;
      QVERIFY2(u.scheme().isEmpty(), qPrintable(link));
      const QString target = link.startsWith('#') ? name + link : link;
      QVERIFY2(sectionExists(language, target), qPrintable(link));
    }
  }

  void contextTableNamesSections()
  {
    for (const ContextHelp::Entry& e : ContextHelp::table())
      for (const QString& language : GuideBrowser::languages())
        QVERIFY2(sectionExists(language, e.target), e.target);
  }

  void findGoesRoundThePage()
  {
    GuideBrowser guide;
    guide.open("partitions.html#custom");
    QVERIFY(guide.find("Gaussian"));
    const int first = guide.view()->textCursor().selectionStart();
    int steps = 0;
    do {
      QVERIFY(guide.find("Gaussian"));
      QCOMPARE(guide.view()->textCursor().selectedText(), QString("Gaussian"));
    } while (guide.view()->textCursor().selectionStart() != first && ++steps < 100);
    QVERIFY(steps > 0 && steps < 100);
    QVERIFY(guide.find("Gaussian", true));
    QVERIFY(!guide.find("no such words here"));
  }

  // F1 on every input of the window, each partition kind and dock shown.
  void f1InTheWindow()
  {
    auto w = startWindow();
    auto* guide = w->findChild<UserGuide*>();
    QVERIFY(guide);
    for (const char* dock : {"dockFunctionTable", "dockErrorTable", "dockUndoHistory"})
      MainWindowTester::child<QDockWidget>(w.get(), dock)->show();
    QCOMPARE(MainWindowTester::action(w.get(), "actionUserGuide")->shortcut(),
             QKeySequence(Qt::Key_F1));
    for (const char* kind : {"actionEquidistant", "actionFixedPT", "actionPartDelta"}) {
      MainWindowTester::action(w.get(), kind)->trigger();
      pressF1Everywhere(w.get(), guide);
      if (QTest::currentTestFailed())
        return;
    }
  }

  // F1 in the dialogs, which the window's shortcut does not reach; the guide
  // sits on a modal dialog and outlives it.
  void f1InTheDialogs()
  {
    auto w = startWindow();
    auto* guide = w->findChild<UserGuide*>();
    QTemporaryFile data(QDir::tempPath() + "/guide-XXXXXX.csv");
    QVERIFY(data.open());
    data.write("0;1\n1;2\n2;3\n3;4\n");
    data.close();
    NumberReaderBase reader(DataFileInfo(QFile::encodeName(data.fileName()), true, 0));

    ExportWidget values(w.get()), picture(w.get());
    values.setPictureOptionsVisible(false);
    picture.setValueOptionsVisible(false);
    FigureExportWidget figure(w.get());
    PreferencesWidget preferences;
    CsvDialog csv(reader);
    DataFileOpenDialog open(w.get());
    QWidget* builder = MainWindowTester::formulaBuilder(w.get());
    for (QWidget* d :
         std::initializer_list<QWidget*>{&values, &picture, &figure, &preferences, &preferences,
                                         &preferences, &csv, &open, builder}) {
      d->setWindowModality(Qt::ApplicationModal);
      if (d == &preferences)
        preferences.setCurrentPage((preferences.pages()->currentIndex() + 1) % 3);
      d->show();
      pressF1Everywhere(d, guide);
      if (QTest::currentTestFailed())
        return;
      QCOMPARE(guide->browser()->parentWidget(), d);
      d->hide();
      QVERIFY(!guide->browser()->parentWidget());
    }

    // Not modal: the guide stays a window of its own.
    {
      ConvergenceDialog convergence(MainWindowTester::controller(w.get()), w.get());
      convergence.show();
      pressF1Everywhere(&convergence, guide);
      QVERIFY(!guide->browser()->parentWidget());
    }

    // A dialog deleted while the guide sits on it leaves the guide alive.
    {
      auto doomed = std::make_unique<ExportWidget>(w.get());
      doomed->setWindowModality(Qt::ApplicationModal);
      doomed->show();
      QTest::keyClick(doomed.get(), Qt::Key_F1);
      QCOMPARE(guide->browser()->parentWidget(), doomed.get());
    }
    QVERIFY(!guide->browser()->parentWidget());
    QVERIFY(guide->browser()->isVisible());
  }
};

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
