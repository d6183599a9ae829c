// Session files are user data: every damaged or hostile value must be refused
// with the key that holds it before anything reaches a widget.
#include "common/testfiles.h"
#include "midle/session/sessionvalidator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSessionValidator : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;

  // One file per name: the settings cache may not notice a rewrite within a second.
  QString write(const QByteArray& text, const QString& name)
  {
    return writeFile(dir.filePath(name), text);
  }
  QString writeRow(const QByteArray& text)
  {
    return write(text, QString::fromLatin1(QTest::currentDataTag()) + ".qms");
  }

private slots:
  void contentsAreRead_data()
  {
    QTest::addColumn<QByteArray>("text"); // null: no file at all
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("legend");
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<double>>("nodes");
    QTest::addColumn<double>("fixedPoint"); // -1: none
    // clang-format off
    const QByteArray valid = "[MainWindow]\nzoom=2.5\npartitionType=8\nlegendAlignment=66\nshowLegend=true\n"
        "[FunctionSelector]\ncount=3\n[CustomPartition]\nNodeList\\1\\node=0.1\nNodeList\\2\\node=0.5\n"
        "NodeList\\3\\node=0.5\nNodeList\\4\\node=0.9\nNodeList\\size=4\n";
    const QByteArray fixed = "[MainWindow]\npartitionType=7\n[DomainWidget]\nlowEdt_text=2\n"
        "highEdt_text=4\n[EquidistantRuspini]\n";
    QTest::newRow("missing file") << QByteArray() << 1.0 << 6 << 0x22 << false << 1 << QVector<double>() << -1.0;
    QTest::newRow("empty file") << QByteArray("") << 1.0 << 6 << 0x22 << false << 1 << QVector<double>() << -1.0;
    QTest::newRow("valid") << valid << 2.5 << 8 << 0x42 << true << 3 << QVector<double>{0.1, 0.5, 0.9} << -1.0;
    QTest::newRow("no fixed point") << fixed << 1.0 << 7 << 0x22 << false << 1 << QVector<double>() << -1.0;
    QTest::newRow("fixed point at low") << fixed + "fixedPoint=2\n" << 1.0 << 7 << 0x22 << false << 1 << QVector<double>() << 2.0;
    QTest::newRow("fixed point at high") << fixed + "fixedPoint=4\n" << 1.0 << 7 << 0x22 << false << 1 << QVector<double>() << 4.0;
    QTest::newRow("node distance the whole range") << fixed + "elemWidthEdt_text=2\n" << 1.0 << 7 << 0x22 << false << 1 << QVector<double>() << -1.0;
    QTest::newRow("fixed point inside") << fixed + "fixedPoint=2.75\n" << 1.0 << 7 << 0x22 << false << 1 << QVector<double>() << 2.75;
    QTest::newRow("variance near its bottom") << QByteArray("[MainWindow]\npartitionType=8\n[CustomPartition]\ndeltaEdt_text=0.25\nextraParamEdt_text=0.00003\n") << 1.0 << 8 << 0x22 << false << 1 << QVector<double>() << -1.0;
    // clang-format on
  }

  void contentsAreRead()
  {
    QFETCH(QByteArray, text);
    QFETCH(double, fixedPoint);
    SessionValidator v(text.isNull() ? dir.filePath("none.qms") : writeRow(text), {});
    QVERIFY2(v.validate(), qPrintable(v.badKey() + ' ' + v.reason()));
    const SessionContents& c = v.contents();
    QTEST(c.zoom, "zoom");
    QTEST(int(c.partitionKind), "type");
    QTEST(c.legendAlignment, "legend");
    QTEST(c.showLegend, "show");
    QTEST(c.selectorCount, "count");
    QTEST(QVector<double>(c.nodes.begin(), c.nodes.end()), "nodes");
    QCOMPARE(c.functionSource, FunctionSource::Formulas);
    QCOMPARE(c.hasFixedPoint, fixedPoint >= 0);
    QCOMPARE(c.fixedPoint, qMax(fixedPoint, 0.0));
  }

  void hostileValueIsRefused_data()
  {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    const QByteArray equid = "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\n";
    const QByteArray custom = "[MainWindow]\npartitionType=8\n[CustomPartition]\n";
    const QByteArray generic = "[GenericRuspini]\n";
    const QByteArray data = "[MainWindow]\nfunctionTypeUsed=1\ndataFile=";
    QByteArray binary("0 1\n1 2\n\0\0\x01\x02", 12);
    const QString binaryData = write(binary, "binary.txt");
    // clang-format off
    QTest::newRow("low == high") << QByteArray("[DomainWidget]\nlowEdt_text=1\nhighEdt_text=1\n") << "DomainWidget/highEdt_text";
    QTest::newRow("low not finite") << QByteArray("[DomainWidget]\nlowEdt_text=-inf\n") << "DomainWidget/lowEdt_text";
    QTest::newRow("high nan") << QByteArray("[DomainWidget]\nhighEdt_text=nan\n") << "DomainWidget/highEdt_text";
    QTest::newRow("range overflows") << QByteArray("[DomainWidget]\nlowEdt_text=-1.7e308\nhighEdt_text=1.7e308\n") << "DomainWidget/highEdt_text";
    QTest::newRow("low text") << QByteArray("[DomainWidget]\nlowEdt_text=abc\n") << "DomainWidget/lowEdt_text";
    QTest::newRow("discretization 1") << QByteArray("[DomainWidget]\ndiscrEdt_text=1\n") << "DomainWidget/discrEdt_text";
    QTest::newRow("discretization huge") << QByteArray("[DomainWidget]\ndiscrEdt_text=10000001\n") << "DomainWidget/discrEdt_text";
    QTest::newRow("discretization fraction") << QByteArray("[DomainWidget]\ndiscrEdt_text=2.5\n") << "DomainWidget/discrEdt_text";
    QTest::newRow("discretization list") << QByteArray("[DomainWidget]\ndiscrEdt_text=1,5\n") << "DomainWidget/discrEdt_text";
    QTest::newRow("unknown partition type") << QByteArray("[MainWindow]\npartitionType=9\n") << "MainWindow/partitionType";
    QTest::newRow("node list huge") << generic + "NodeList\\size=1000000000\n" << "GenericRuspini/NodeList/size";
    QTest::newRow("node list negative size") << generic + "NodeList\\size=-3\n" << "GenericRuspini/NodeList/size";
    QTest::newRow("nodes unsorted") << generic + "NodeList\\1\\node=0\nNodeList\\2\\node=0.7\nNodeList\\3\\node=0.4\nNodeList\\size=3\n" << "GenericRuspini/NodeList/3/node";
    QTest::newRow("node outside domain") << custom + "NodeList\\1\\node=0\nNodeList\\2\\node=2\nNodeList\\size=2\n" << "CustomPartition/NodeList/2/node";
    QTest::newRow("node not a number") << generic + "NodeList\\1\\node=0\nNodeList\\2\\node=x\nNodeList\\size=2\n" << "GenericRuspini/NodeList/2/node";
    QTest::newRow("node nan") << generic + "NodeList\\1\\node=nan\nNodeList\\size=1\n" << "GenericRuspini/NodeList/1/node";
    QTest::newRow("single distinct node") << generic + "NodeList\\1\\node=0.5\nNodeList\\2\\node=0.5\nNodeList\\size=2\n" << "GenericRuspini/NodeList/size";
    QTest::newRow("node distance zero") << equid + "elemWidthEdt_text=0\n" << "EquidistantRuspini/elemWidthEdt_text";
    QTest::newRow("node distance tiny") << equid + "elemWidthEdt_text=1e-300\n" << "EquidistantRuspini/elemWidthEdt_text";
    QTest::newRow("node distance beyond the range") << QByteArray("[DomainWidget]\nlowEdt_text=2\nhighEdt_text=4\n") + equid + "elemWidthEdt_text=3\n" << "EquidistantRuspini/elemWidthEdt_text";
    QTest::newRow("node distance inf") << equid + "elemWidthEdt_text=inf\n" << "EquidistantRuspini/elemWidthEdt_text";
    QTest::newRow("fixed point below low") << equid + "fixedPoint=-0.001\n" << "EquidistantRuspini/fixedPoint";
    QTest::newRow("fixed point above high") << equid + "fixedPoint=1.5\n" << "EquidistantRuspini/fixedPoint";
    QTest::newRow("fixed point text") << equid + "fixedPoint=low\n" << "EquidistantRuspini/fixedPoint";
    QTest::newRow("element width zero") << custom + "deltaEdt_text=0\n" << "CustomPartition/deltaEdt_text";
    QTest::newRow("element width tiny") << custom + "deltaEdt_text=0.000001\n" << "CustomPartition/deltaEdt_text";
    QTest::newRow("variance zero") << custom + "extraParamEdt_text=0\n" << "CustomPartition/extraParamEdt_text";
    QTest::newRow("variance nan") << custom + "extraParamEdt_text=nan\n" << "CustomPartition/extraParamEdt_text";
    QTest::newRow("shift zero") << generic + "shiftSpin_value=0\n" << "GenericRuspini/shiftSpin_value";
    QTest::newRow("components one") << generic + "nodesSpin_value=1\n" << "GenericRuspini/nodesSpin_value";
    QTest::newRow("components 10001") << generic + "nodesSpin_value=10001\n" << "GenericRuspini/nodesSpin_value";
    QTest::newRow("offset -1000") << generic + "offsetSpin_value=-1000\n" << "GenericRuspini/offsetSpin_value";
    QTest::newRow("shape gaussian on generic") << generic + "shapeCbox_currentIndex=2\n" << "GenericRuspini/shapeCbox_currentIndex";
    QTest::newRow("degree 4") << QByteArray("[FtDegreeWidget]\nftDegreeSpin_value=4\n") << "FtDegreeWidget/ftDegreeSpin_value";
    QTest::newRow("degree negative") << QByteArray("[FtDegreeWidget]\nftDegreeSpin_value=-1\n") << "FtDegreeWidget/ftDegreeSpin_value";
    QTest::newRow("zoom below 1") << QByteArray("[MainWindow]\nzoom=0.5\n") << "MainWindow/zoom";
    QTest::newRow("zoom huge") << QByteArray("[MainWindow]\nzoom=1e12\n") << "MainWindow/zoom";
    QTest::newRow("zoom nan") << QByteArray("[MainWindow]\nzoom=nan\n") << "MainWindow/zoom";
    QTest::newRow("selector count absurd") << QByteArray("[FunctionSelector]\ncount=100000\n") << "FunctionSelector/count";
    QTest::newRow("selector count zero") << QByteArray("[FunctionSelector]\ncount=0\n") << "FunctionSelector/count";
    QTest::newRow("function type 2") << QByteArray("[MainWindow]\nfunctionTypeUsed=2\n") << "MainWindow/functionTypeUsed";
    QTest::newRow("show legend text") << QByteArray("[MainWindow]\nshowLegend=maybe\n") << "MainWindow/showLegend";
    QTest::newRow("data file missing") << data + "/nonexistent/quelmora.txt\n" << "MainWindow/dataFile";
    QTest::newRow("data file directory") << data + "/\n" << "MainWindow/dataFile";
    QTest::newRow("data file device") << data + "/dev/zero\n" << "MainWindow/dataFile";
    QTest::newRow("data file binary") << data + binaryData.toUtf8() + "\n" << "MainWindow/dataFile";
    QTest::newRow("separator too long") << QByteArray("[MainWindow]\nvalueSeparator=abcdefghijklmnopqrstuvwxyz\n") << "MainWindow/valueSeparator";
    // clang-format on
  }

  void hostileValueIsRefused()
  {
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    SessionValidator v(writeRow(text), {});
    QVERIFY(!v.validate());
    QCOMPARE(v.badKey(), key);
    QVERIFY(!v.reason().isEmpty());
  }

  void wholeFileRefused_data()
  {
    QTest::addColumn<QString>("path");
    QByteArray binary("[MainWindow]\nzoom=1\n");
    binary.append('\0').append("\xff\xfe garbage");
    QTest::newRow("directory") << dir.path();
    QTest::newRow("device") << QStringLiteral("/dev/null");
    QTest::newRow("binary") << write(binary, "binary.qms");
    QTest::newRow("huge") << write(QByteArray(SessionValidator::maxFileSize + 1, 'a'), "huge.qms");
  }

  void wholeFileRefused()
  {
    QFETCH(QString, path);
    SessionValidator v(path, {});
    QVERIFY(!v.validate());
    QVERIFY(v.badKey().isEmpty());
    QVERIFY(!v.reason().isEmpty());
  }

  void missingDomainKeyUsesTheShownDomain()
  {
    const QString nodes = write("[GenericRuspini]\nNodeList\\1\\node=0\nNodeList\\2\\node=8\n"
                                "NodeList\\size=2\n",
                                "nodes.qms");
    QVERIFY(!SessionValidator(nodes, {}).validate());
    SessionValidator::Fallback wide;
    wide.high = QStringLiteral("10");
    QVERIFY(SessionValidator(nodes, wide).validate());
  }

  // UTF-16 text holds zero bytes; with its byte-order mark it is no binary file.
  void utf16DataFileWithItsStoredXColumn()
  {
    const QString data = write(QByteArray("\xFF\xFE"
                                          "0\0 \0"
                                          "1\0\n\0",
                                          10),
                               "wide.txt");
    SessionValidator v(
        write("[MainWindow]\nfunctionTypeUsed=1\nxColumn=-1\ndataFile=" + data.toUtf8() + "\n",
              "wide.qms"),
        {});
    QVERIFY2(v.validate(), qPrintable(v.refusal()));
    QCOMPARE(v.contents().xColumn, -1);
  }
};

QTEST_GUILESS_MAIN(TestSessionValidator)
#include "tst_sessionvalidator.moc"
