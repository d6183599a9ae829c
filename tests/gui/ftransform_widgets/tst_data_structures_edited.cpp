#include "gui/ftransform_widgets/data_structures.h"

#include "math/assertioncatcher.h"

#include <QTableWidget>
#include <QtTest>

namespace {

const Fn::MathFn<double, double>* fakeFn(int i)
{
  static int anchors[4];
  return reinterpret_cast<const Fn::MathFn<double, double>*>(&anchors[i]);
}

QTableWidgetItem* componentItem(const QString& text, int fn = 0)
{
  auto* item = new QTableWidgetItem(text);
  item->setData(Qt::UserRole,
                QVariant::fromValue(const_cast<void*>(static_cast<const void*>(fakeFn(fn)))));
  return item;
}

} // namespace

class TestEditedComponents : public QObject
{
  Q_OBJECT

private slots:
  void acceptsOnlyFiniteCNotation_data();
  void acceptsOnlyFiniteCNotation();
  void storesUnderRowAndKey();
  void itemWithoutFunctionIsAProgrammingError();
};

void TestEditedComponents::acceptsOnlyFiniteCNotation_data()
{
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<double>("value");
  QTest::newRow("plain") << "0.5" << true << 0.5;
  QTest::newRow("negative exponent") << "-1.25e-3" << true << -1.25e-3;
  QTest::newRow("comma decimal") << "1,5" << false << 0.0;
  QTest::newRow("inf") << "inf" << false << 0.0;
  QTest::newRow("overflow") << "1e400" << false << 0.0;
}

void TestEditedComponents::acceptsOnlyFiniteCNotation()
{
  QFETCH(QString, text);
  QFETCH(bool, accepted);
  QFETCH(double, value);
  // A comma-decimal default locale must not change what is read.
  QLocale::setDefault(QLocale(QLocale::Czech));
  QTableWidget table(3, 1);
  QTableWidgetItem* item = componentItem(text);
  table.setItem(2, 0, item);

  EditedComponents store;
  const FnKey key{fakeFn(0), 2};
  QCOMPARE(store.setEdited(item, key), accepted);
  QCOMPARE(store.isEdited(key), accepted);
  QCOMPARE(store.edits(key), (accepted ? QMap<int, double>{{2, value}} : QMap<int, double>()));
  QLocale::setDefault(QLocale::c());
}

void TestEditedComponents::storesUnderRowAndKey()
{
  EditedComponents store;
  const FnKey a{fakeFn(0), 1}, b{fakeFn(0), 2}, c{fakeFn(1), 1};

  QScopedPointer<QTableWidgetItem> loose(componentItem("3"));
  QVERIFY(store.setEdited(loose.data(), a)); // in no table: row -1
  QCOMPARE(store.edits(a).keys(), QList<int>{-1});

  QTableWidget table(4, 2);
  QTableWidgetItem* item = componentItem("7");
  table.setItem(1, 1, item);
  QVERIFY(store.setEdited(item, b));
  item->setText("8");
  QVERIFY(store.setEdited(item, b)); // a second edit of the same cell replaces the first
  QCOMPARE(store.edits(b), (QMap<int, double>{{1, 8.0}}));
  QVERIFY(!store.isEdited(c));
  QCOMPARE(store.all().size(), 2);
  store.clear();
  QVERIFY(store.isEmpty() && !store.isEdited(a) && !store.isEdited(b));
}

void TestEditedComponents::itemWithoutFunctionIsAProgrammingError()
{
  EditedComponents store;
  QTableWidgetItem blank("1.0");
  AssertionCatcher catcher;
  const auto f = catcher.run([&] { store.setEdited(&blank, FnKey{fakeFn(0), 1}); });
  QCOMPARE(f.file, QString("src/gui/ftransform_widgets/data_structures.h"));
  QVERIFY(store.isEmpty());
}

QTEST_MAIN(TestEditedComponents)
#include "tst_data_structures_edited.moc"
