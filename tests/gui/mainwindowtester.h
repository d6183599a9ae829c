#ifndef QUELMORA_TESTS_MAINWINDOWTESTER_H
#define QUELMORA_TESTS_MAINWINDOWTESTER_H

// Reaches into the main window for the tests, and sets up a program
// environment of its own for each test binary.
#include "gui/mainwindow.h"

#include "gui/documentview.h"
#include "gui/recentsessions.h"
#include "gui/sessioncontroller.h"

#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/history/edithistory.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/inputs/partitionwidgetbase.h"

#include <qwt_slider.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <memory>

class MainWindowTester
{
public:
  template <typename W = QWidget>
  static W* child(MainWindow* w, const char* name)
  {
    W* found = w->findChild<W*>(QLatin1String(name));
    if (!found)
      qFatal("no %s", name);
    return found;
  }
  static QAction* action(MainWindow* w, const char* name) { return child<QAction>(w, name); }
  static FunctionSelectorWidget* selector(MainWindow* w)
  {
    return child<FunctionSelectorWidget>(w, "fnSelector");
  }
  static QSpinBox* degreeSpin(MainWindow* w) { return child<QSpinBox>(w, "ftDegreeSpin"); }
  static QCheckBox* degreeBox(MainWindow* w, int d)
  {
    return child<QCheckBox>(w, QStringLiteral("ft%1ChBox").arg(d).toLatin1().constData());
  }
  static FtransformWidget* controller(MainWindow* w)
  {
    return child<FtransformWidget>(w, "centralwidget");
  }
  static PartitionWidgetBase* partitionWidget(MainWindow* w)
  {
    return controller(w)->partitionWidget();
  }
  static QVector<double> nodes(MainWindow* w)
  {
    PartitionWidgetBase* pw = partitionWidget(w);
    const auto r = pw ? pw->data().dynamicCast<DataHolders::Partitions::PartBase>() : nullptr;
    return r ? r->nodes : QVector<double>();
  }
  static int legendAlignment(MainWindow* w) { return w->view->legendAlignment(); }
  static void addRecent(MainWindow* w, const QString& p) { w->sessions->recent()->add(p); }
  static QStringList menuOrder(MainWindow* w)
  {
    QStringList paths;
    for (QAction* a : child<QMenu>(w, "menuRecentSession")->actions())
      paths.append(a->data().toString());
    return paths;
  }
  static void setSessionFile(MainWindow* w, const QString& p) { w->sessions->setFile(p); }
  static bool loadDataFile(MainWindow* w, const DataFileInfo& info, bool interactive)
  {
    return w->view->loadDataFile(info, interactive);
  }
  static void openData(MainWindow* w) { w->view->openData(); }
  // As the domain input reports a change.
  static void domainChanged(MainWindow* w) { w->view->takeDomain(); }
  static QAction* randomData(MainWindow* w) { return w->randomDataAction.data(); }
  static EditHistory* history(MainWindow* w) { return w->editHistory; }
  static FormulaBuilderWidget* formulaBuilder(MainWindow* w) { return w->formulaBuilder; }
  // Every record's values but the painting resolution.
  static QString records(MainWindow* w)
  {
    QStringList p;
    for (const auto& r :
         {w->document.genericRecord.staticCast<DataHolders::Partitions::FuzzyPartBase>(),
          w->document.equidistantRecord.staticCast<DataHolders::Partitions::FuzzyPartBase>(),
          w->document.customRecord.staticCast<DataHolders::Partitions::FuzzyPartBase>()}) {
      p << QString::number(r->shape) << QString::number(r->shift) << QString::number(r->offset);
      for (double x : r->nodes)
        p << QString::number(x, 'g', 17);
    }
    p << QString::number(w->document.genericRecord->componentCount)
      << QString::number(w->document.equidistantRecord->fixedPoint, 'g', 17)
      << QString::number(w->document.equidistantRecord->partElementWidth, 'g', 17)
      << QString::number(w->document.customRecord->delta, 'g', 17)
      << QString::number(w->document.customRecord->extraParam, 'g', 17);
    return p.join(QLatin1Char(' '));
  }
  static void setFunctionType(MainWindow* w, FunctionSource type)
  {
    w->view->setFunctionType(type);
  }
  static QList<Fn::MathFn<double, double>*> functions(MainWindow* w)
  {
    return w->document.functions;
  }
  static const Domains::EnumerationBase<double>* domain(MainWindow* w)
  {
    return w->document.domain;
  }
  static DataFileInfo dataFileInfo(MainWindow* w) { return w->document.dataFile; }
  static QSharedPointer<DataHolders::Domains::Equid> domainRecord(MainWindow* w)
  {
    return w->document.domainRecord;
  }
  static QString domainText(MainWindow* w, const char* edit)
  {
    return child<DomainWidget>(w, "domainWidget")->findChild<QLineEdit*>(edit)->text();
  }

  // What a refused session must leave as it was.
  static QString fingerprint(MainWindow* w)
  {
    QStringList parts;
    parts << w->currentSessionFile() << QString::number(int(w->view->currentKind()))
          << QString::number(selector(w)->count()) << QString::number(w->zoomSlider->value())
          << domainText(w, "lowEdt") << domainText(w, "highEdt") << domainText(w, "discrEdt")
          << QString::number(degreeSpin(w)->value())
          << QString::number(int(w->functionSourceType())) << QString::number(legendAlignment(w))
          << QString::number(action(w, "actionShowLegend")->isChecked())
          << QString::number(w->document.functions.size());
    for (double x : nodes(w))
      parts << QString::number(x, 'g', 17);
    return parts.join(QLatin1Char('|'));
  }
};

// Settings of the program's own under an isolated home; the default session
// and the formulas file in a directory of the test's own.
struct ProgramEnvironment
{
  QTemporaryDir dir;

  static QSettings* user()
  {
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, "korvant", "quelmora");
  }
  void setUp()
  {
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
    QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    MainWindow::setDefaultSessionDirectory(dir.path());
    std::unique_ptr<QSettings>(user())->setValue("Preferences/formulasPathEdt_text", dir.path());
  }
  // Forgets the recent sessions and window layout of earlier windows.
  static void clearWindowSettings() { std::unique_ptr<QSettings>(user())->remove("MainWindow"); }
};

// A shown main window whose start-up session has been opened.
inline std::unique_ptr<MainWindow> startWindow()
{
  auto w = std::make_unique<MainWindow>();
  w->show();
  if (!QTest::qWaitForWindowExposed(w.get()))
    qWarning("main window not exposed");
  for (int i = 0; i < 200 && w->currentSessionFile().isEmpty(); ++i)
    QTest::qWait(10);
  return w;
}

#endif
