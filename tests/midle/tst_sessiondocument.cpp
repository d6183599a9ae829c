// The window's work without a window: random data from its kept seed, formula
// functions that never fail to exist, records that follow the domain.
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/session/sessiondocument.h"

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
};

QTEST_GUILESS_MAIN(TestSessionDocument)
#include "tst_sessiondocument.moc"
