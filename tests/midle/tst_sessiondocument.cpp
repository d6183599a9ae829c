// The window's work without a window: random data from its kept seed, formula
// functions that never fail to exist, records that follow the domain.
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/session/sessiondocument.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QVector<double> values(const SessionDocument::Function* fn)
{
  QVector<double> v;
  for (std::size_t i = 0; i < fn->domain()->size(); ++i)
    v.append(fn->valueAtIndex(i));
  return v;
}

} // namespace

class TestSessionDocument : public QObject
{
  Q_OBJECT

private slots:
  void randomDataComesBackFromItsSeed()
  {
    SessionDocument doc;
    doc.makeRandomData(1000);
    doc.makeRandomData(1000); // the same second: a new seed all the same
    QCOMPARE(doc.randomSeed, 1001u);
    QCOMPARE(doc.source, FunctionSource::TableData);
    QCOMPARE(doc.domain->size(), std::size_t(201)); // 200 steps
    const QVector<double> made = values(doc.functions.last());
    QCOMPARE(made.size(), 201);
    QVERIFY(made != values(doc.functions.first()));
    for (double v : made)
      QVERIFY(v >= 0.0 && v <= 1.0 && qFuzzyCompare(1.0 + std::round(v * 1000) / 1000, 1.0 + v));
    doc.clear();
    doc.remakeRandomData(1001);
    QCOMPARE(values(doc.functions.first()), made);
  }

  void formulas_data()
  {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("atHigh");
    QTest::newRow("formula") << "2*x" << 2.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("refused") << "sin(" << 0.0;
  }

  void formulas()
  {
    QFETCH(QString, expression);
    QFETCH(double, atHigh);
    SessionDocument doc;
    doc.domain = SessionDocument::makeDomain(doc.domainRecord);
    doc.insertFormula(0, "b", "1");
    SessionDocument::Function* fn = doc.insertFormula(0, "a", expression);
    QCOMPARE(doc.functions.indexOf(fn), 0);
    QCOMPARE(doc.names.value(fn), QString("a"));
    QCOMPARE(fn->valueAtIndex(doc.domain->size() - 1), atHigh);
  }

  void recordsFollowTheDomain()
  {
    SessionDocument doc;
    auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
    d->low = 2;
    d->high = 4;
    doc.moveRecords(d);
    QCOMPARE(doc.domainRecord, d);
    for (auto kind : DataHolders::partitionKinds) {
      QCOMPARE(doc.record(kind)->kind(), kind);
      QCOMPARE(doc.record(kind)->domain, d);
      QCOMPARE(doc.record(kind)->nodes.first(), 2.0);
    }
  }

  // A range no domain can hold gives the default domain rather than none.
  void unusableRangeGivesTheDefaultDomain()
  {
    auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
    d->low = 1;
    d->high = 1;
    std::unique_ptr<SessionDocument::Domain> domain(SessionDocument::makeDomain(d));
    QCOMPARE(domain->size(), std::size_t(2001));
  }

  // A formula only the session carries is offered beside the user's list,
  // once; one the list holds is chosen from it.
  void sessionFormulasAreOffered()
  {
    const QMap<QString, QVariant> stored = {{"FunctionSelector/count", 2},
                                            {"FunctionSelector/formula0_name", "spike"},
                                            {"FunctionSelector/formula0_expression", "x*2"},
                                            {"FunctionSelector/formula1_name", "a"},
                                            {"FunctionSelector/formula1_expression", "x"}};
    SessionDocument doc;
    const QVector<FormulaFile::Entry> user = {{"a", "x", true}};
    for (int twice = 0; twice < 2; ++twice)
      QCOMPARE(doc.offerSessionFormulas(stored, 2, user), QStringList({"spike", "a"}));
    QCOMPARE(doc.sessionFormulas.size(), 1);
    QCOMPARE(doc.formulaNames({"a"}), QStringList({"a", "spike"}));
    QCOMPARE(doc.sessionExpression("spike"), QString("x*2"));
    QCOMPARE(doc.sessionExpression("a"), QString());
  }

  // A saved document writes its own keys from its fields: what a file held of
  // them beyond that (a hand edit, a group of another kind) is not written
  // back; every other stored value is.
  void ownKeysComeFromTheDocument()
  {
    QTemporaryDir dir;
    const QString in = dir.filePath("in.qms"), out = dir.filePath("out.qms");
    {
      QSettings s(in, QSettings::IniFormat);
      s.setValue("MainWindow/valueSeparator", ";");
      s.setValue("CustomPartition/NodeList/1/node", 0.5);
      s.setValue("CustomPartition/NodeList/size", 1);
      s.setValue("CustomPartition/fixedPoint", 0.5);
      s.setValue("FunctionSelector/formula1_name", "spare");
      s.setValue("DomainWidget/lowEdt_enabled", false);
      s.setValue("ExportValueWidget/pathEdt_text", "/tmp");
    }
    SessionContents c;
    QString why;
    QVERIFY2(SessionDocument::read(in, DomainTexts(), &c, &why), qPrintable(why));
    SessionDocument doc;
    doc.take(c);
    QVERIFY(doc.save(out));
    const QSettings s(out, QSettings::IniFormat);
    QCOMPARE(s.childGroups(), QStringList({"DomainWidget", "ExportValueWidget", "FtDegreeWidget",
                                           "FunctionSelector", "GenericRuspini", "MainWindow"}));
    QVERIFY(!s.contains("MainWindow/valueSeparator"));
    QVERIFY(!s.contains("FunctionSelector/formula1_name"));
    QCOMPARE(s.value("DomainWidget/lowEdt_enabled").toString(), QString("false"));
    QCOMPARE(s.value("ExportValueWidget/pathEdt_text").toString(), QString("/tmp"));
    QCOMPARE(s.value("GenericRuspini/NodeList/size").toInt(), 5);
  }
};

QTEST_GUILESS_MAIN(TestSessionDocument)
#include "tst_sessiondocument.moc"
