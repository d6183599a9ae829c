// Session files are user data: every damaged or hostile value must be refused
// with the key that holds it before anything reaches a widget.
#include "gui/sessionvalidator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSessionValidator : public QObject
{
  Q_OBJECT

private:
  QTemporaryDir dir;

  QString write(const QByteArray& text, const QString& name = QStringLiteral("s.qms"))
  {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      qFatal("cannot write test file");
    f.write(text);
    return path;
  }

private slots:
  void missingFileAndEmptyFileGiveDefaults()
  {
    for (const QString& path : {dir.filePath(QStringLiteral("none.qms")),
                                write(QByteArray(), QStringLiteral("empty.qms"))}) {
      SessionValidator v(path, {});
      QVERIFY(v.validate());
      const SessionContents& c = v.contents();
      QCOMPARE(c.selectorCount, 1);
      QCOMPARE(c.zoom, 1.0);
      QCOMPARE(c.partitionType, 6);
      QCOMPARE(c.functionTypeUsed, 0);
      QCOMPARE(c.legendAlignment, 0x22);
      QCOMPARE(c.showLegend, false);
      QVERIFY(c.nodes.empty());
    }
  }

  void validValuesAreRead()
  {
    const QString path = write("[MainWindow]\nzoom=2.5\npartitionType=8\nlegendAlignment=66\n"
                               "showLegend=true\n[FunctionSelector]\ncount=3\n"
                               "[CustomPartition]\nNodeList\\1\\node=0.1\n"
                               "NodeList\\2\\node=0.5\nNodeList\\3\\node=0.5\n"
                               "NodeList\\4\\node=0.9\nNodeList\\size=4\n");
    SessionValidator v(path, {});
    QVERIFY2(v.validate(), qPrintable(v.badKey() + QLatin1Char(' ') + v.reason()));
    QCOMPARE(v.contents().zoom, 2.5);
    QCOMPARE(v.contents().partitionType, 8);
    QCOMPARE(v.contents().legendAlignment, 0x42);
    QCOMPARE(v.contents().showLegend, true);
    QCOMPARE(v.contents().selectorCount, 3);
    // Duplicates merge.
    QCOMPARE(v.contents().nodes, (std::set<double>{0.1, 0.5, 0.9}));
  }

  void randomDataSessionReopensWithFormulas()
  {
    SessionValidator v(write("[MainWindow]\nfunctionTypeUsed=1\ndataFile=\n[GenericRuspini]\n"
                             "NodeList\\1\\node=0\nNodeList\\2\\node=201\nNodeList\\size=2\n",
                             QStringLiteral("random.qms")),
                       {});
    QVERIFY(v.validate());
    QCOMPARE(v.contents().functionTypeUsed, 0);
    QVERIFY(v.contents().nodes.empty());
  }

  void hostileValueIsRefused_data()
  {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");

    auto row = [](const char* name, const QByteArray& text, const char* key) {
      QTest::newRow(name) << text << QString::fromLatin1(key);
    };
    row("low == high", "[DomainWidget]\nlowEdt_text=1\nhighEdt_text=1\n",
        "DomainWidget/highEdt_text");
    row("low > high", "[DomainWidget]\nlowEdt_text=5\nhighEdt_text=1\n",
        "DomainWidget/highEdt_text");
    row("low not finite", "[DomainWidget]\nlowEdt_text=-inf\n", "DomainWidget/lowEdt_text");
    row("high nan", "[DomainWidget]\nhighEdt_text=nan\n", "DomainWidget/highEdt_text");
    row("high overflow", "[DomainWidget]\nhighEdt_text=1e999\n", "DomainWidget/highEdt_text");
    row("range overflows", "[DomainWidget]\nlowEdt_text=-1.7e308\nhighEdt_text=1.7e308\n",
        "DomainWidget/highEdt_text");
    row("low text", "[DomainWidget]\nlowEdt_text=abc\n", "DomainWidget/lowEdt_text");
    row("discretization 1", "[DomainWidget]\ndiscrEdt_text=1\n", "DomainWidget/discrEdt_text");
    row("discretization huge", "[DomainWidget]\ndiscrEdt_text=100001\n",
        "DomainWidget/discrEdt_text");
    row("discretization fraction", "[DomainWidget]\ndiscrEdt_text=2.5\n",
        "DomainWidget/discrEdt_text");
    row("discretization list", "[DomainWidget]\ndiscrEdt_text=1,5\n", "DomainWidget/discrEdt_text");
    row("unknown partition type", "[MainWindow]\npartitionType=9\n", "MainWindow/partitionType");
    row("partition type text", "[MainWindow]\npartitionType=Generic\n", "MainWindow/partitionType");
    row("node list huge", "[GenericRuspini]\nNodeList\\size=1000000000\n",
        "GenericRuspini/NodeList/size");
    row("node list negative size", "[GenericRuspini]\nNodeList\\size=-3\n",
        "GenericRuspini/NodeList/size");
    row("nodes unsorted",
        "[GenericRuspini]\nNodeList\\1\\node=0\nNodeList\\2\\node=0.7\nNodeList\\3\\node=0.4\n"
        "NodeList\\size=3\n",
        "GenericRuspini/NodeList/3/node");
    row("node outside domain",
        "[CustomPartition]\nNodeList\\1\\node=0\nNodeList\\2\\node=2\nNodeList\\size=2\n"
        "[MainWindow]\npartitionType=8\n",
        "CustomPartition/NodeList/2/node");
    row("node not a number",
        "[GenericRuspini]\nNodeList\\1\\node=0\nNodeList\\2\\node=x\nNodeList\\size=2\n",
        "GenericRuspini/NodeList/2/node");
    row("node nan", "[GenericRuspini]\nNodeList\\1\\node=nan\nNodeList\\size=1\n",
        "GenericRuspini/NodeList/1/node");
    row("single distinct node",
        "[GenericRuspini]\nNodeList\\1\\node=0.5\nNodeList\\2\\node=0.5\nNodeList\\size=2\n",
        "GenericRuspini/NodeList/size");
    row("node distance zero",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nelemWidthEdt_text=0\n",
        "EquidistantRuspini/elemWidthEdt_text");
    row("node distance negative",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nelemWidthEdt_text=-0.1\n",
        "EquidistantRuspini/elemWidthEdt_text");
    row("node distance tiny",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nelemWidthEdt_text=1e-300\n",
        "EquidistantRuspini/elemWidthEdt_text");
    row("node distance inf",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nelemWidthEdt_text=inf\n",
        "EquidistantRuspini/elemWidthEdt_text");
    row("fixed point below low",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=-0.001\n",
        "EquidistantRuspini/fixedPoint");
    row("fixed point above high",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=1.5\n",
        "EquidistantRuspini/fixedPoint");
    row("fixed point inf", "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=inf\n",
        "EquidistantRuspini/fixedPoint");
    row("fixed point text", "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=low\n",
        "EquidistantRuspini/fixedPoint");
    row("element width zero", "[MainWindow]\npartitionType=8\n[CustomPartition]\ndeltaEdt_text=0\n",
        "CustomPartition/deltaEdt_text");
    row("element width tiny",
        "[MainWindow]\npartitionType=8\n[CustomPartition]\ndeltaEdt_text=0.000001\n",
        "CustomPartition/deltaEdt_text");
    row("variance zero", "[MainWindow]\npartitionType=8\n[CustomPartition]\nextraParamEdt_text=0\n",
        "CustomPartition/extraParamEdt_text");
    row("variance negative",
        "[MainWindow]\npartitionType=8\n[CustomPartition]\nextraParamEdt_text=-1\n",
        "CustomPartition/extraParamEdt_text");
    row("variance nan",
        "[MainWindow]\npartitionType=8\n[CustomPartition]\nextraParamEdt_text=nan\n",
        "CustomPartition/extraParamEdt_text");
    row("shift zero", "[GenericRuspini]\nshiftSpin_value=0\n", "GenericRuspini/shiftSpin_value");
    row("components one", "[GenericRuspini]\nnodesSpin_value=1\n",
        "GenericRuspini/nodesSpin_value");
    row("shape gaussian on generic", "[GenericRuspini]\nshapeCbox_currentIndex=2\n",
        "GenericRuspini/shapeCbox_currentIndex");
    row("degree 4", "[FtDegreeWidget]\nftDegreeSpin_value=4\n",
        "FtDegreeWidget/ftDegreeSpin_value");
    row("degree negative", "[FtDegreeWidget]\nftDegreeSpin_value=-1\n",
        "FtDegreeWidget/ftDegreeSpin_value");
    row("zoom below 1", "[MainWindow]\nzoom=0.5\n", "MainWindow/zoom");
    row("zoom huge", "[MainWindow]\nzoom=1e12\n", "MainWindow/zoom");
    row("zoom nan", "[MainWindow]\nzoom=nan\n", "MainWindow/zoom");
    row("selector count absurd", "[FunctionSelector]\ncount=100000\n", "FunctionSelector/count");
    row("selector count zero", "[FunctionSelector]\ncount=0\n", "FunctionSelector/count");
    row("function type 2", "[MainWindow]\nfunctionTypeUsed=2\n", "MainWindow/functionTypeUsed");
    row("show legend text", "[MainWindow]\nshowLegend=maybe\n", "MainWindow/showLegend");
    row("data file missing",
        "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/nonexistent/quelmora.txt\n",
        "MainWindow/dataFile");
    row("data file directory", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/\n",
        "MainWindow/dataFile");
    row("data file device", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/dev/zero\n",
        "MainWindow/dataFile");
    row("separator too long", "[MainWindow]\nvalueSeparator=abcdefghijklmnopqrstuvwxyz\n",
        "MainWindow/valueSeparator");
  }

  void hostileValueIsRefused()
  {
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    // One file per row: the settings cache may not notice a rewrite within a second.
    SessionValidator v(write(text, QString::fromLatin1(QTest::currentDataTag()) + ".qms"), {});
    QVERIFY(!v.validate());
    QCOMPARE(v.badKey(), key);
    QVERIFY(!v.reason().isEmpty());
  }

  void fixedPointIsReadWithinTheDomain_data()
  {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("present");
    QTest::addColumn<double>("fixedPoint");
    const QByteArray head = "[MainWindow]\npartitionType=7\n[DomainWidget]\nlowEdt_text=2\n"
                            "highEdt_text=4\n[EquidistantRuspini]\n";
    QTest::newRow("missing") << head << false << 0.0;
    QTest::newRow("at low") << head + "fixedPoint=2\n" << true << 2.0;
    QTest::newRow("at high") << head + "fixedPoint=4\n" << true << 4.0;
    QTest::newRow("inside") << head + "fixedPoint=2.75\n" << true << 2.75;
  }
  void fixedPointIsReadWithinTheDomain()
  {
    QFETCH(QByteArray, text);
    QFETCH(bool, present);
    QFETCH(double, fixedPoint);
    SessionValidator v(write(text, QString::fromLatin1(QTest::currentDataTag()) + ".qms"), {});
    QVERIFY2(v.validate(), qPrintable(v.badKey() + QLatin1Char(' ') + v.reason()));
    QCOMPARE(v.contents().hasFixedPoint, present);
    QCOMPARE(v.contents().fixedPoint, fixedPoint);
  }

  void missingDomainKeyUsesTheShownDomain()
  {
    // Nodes are checked against the domain the window would end up with.
    const QByteArray nodes =
        "[GenericRuspini]\nNodeList\\1\\node=0\nNodeList\\2\\node=8\nNodeList\\size=2\n";
    SessionValidator narrow(write(nodes, QStringLiteral("nodes.qms")), {});
    QVERIFY(!narrow.validate());
    SessionValidator::Fallback wide;
    wide.high = QStringLiteral("10");
    SessionValidator ok(write(nodes, QStringLiteral("nodes.qms")), wide);
    QVERIFY(ok.validate());
  }

  void badDataFileBinary()
  {
    const QString data = dir.filePath(QStringLiteral("binary.txt"));
    QFile f(data);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("0 1\n1 2\n\0\0\x01\x02", 12));
    f.close();
    SessionValidator v(write("[MainWindow]\nfunctionTypeUsed=1\ndataFile=" + data.toUtf8() + "\n",
                             QStringLiteral("binarydata.qms")),
                       {});
    QVERIFY(!v.validate());
    QCOMPARE(v.badKey(), QStringLiteral("MainWindow/dataFile"));
  }

  void wholeFileRefused_data()
  {
    QTest::addColumn<QString>("path");
    QTest::newRow("directory") << dir.path();
    QTest::newRow("device") << QStringLiteral("/dev/null");
    QByteArray binary("[MainWindow]\nzoom=1\n");
    binary.append('\0');
    binary.append("\xff\xfe garbage");
    QTest::newRow("binary") << write(binary, QStringLiteral("binary.qms"));
    QTest::newRow("huge") << write(QByteArray(SessionValidator::maxFileSize + 1, 'a'),
                                   QStringLiteral("huge.qms"));
  }

  void wholeFileRefused()
  {
    QFETCH(QString, path);
    SessionValidator v(path, {});
    QVERIFY(!v.validate());
    QVERIFY(v.badKey().isEmpty());
    QVERIFY(!v.reason().isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestSessionValidator)
#include "tst_sessionvalidator.moc"
