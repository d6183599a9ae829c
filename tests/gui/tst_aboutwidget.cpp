#include "gui/aboutwidget.h"
#include "version_private.h"

#include <QLabel>
#include <QtTest>

#include <stdexcept>

class TestAboutWidget : public QObject
{
  Q_OBJECT

private slots:
  void showsVersionBuildAndLogo()
  {
    AboutWidget about;
    QCOMPARE(about.findChild<QLabel*>("versionValueLbl")->text(), QString("1.4"));
    QCOMPARE(about.findChild<QLabel*>("buildNumberValueLbl")->text(),
             QString(QUELMORA_REVISION).section(' ', 1, 1));
    QCOMPARE(about.findChild<QLabel*>("buildOnValueLbl")->text(), QString(__DATE__));
    QVERIFY(!about.findChild<QLabel*>("logoLbl")->pixmap(Qt::ReturnByValue).isNull());
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
  }

  void buildNumber_data()
  {
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("number"); // empty: the keyword is malformed and asserts
    // clang-format off
    QTest::newRow("usual") << "$Revision: 1234 $" << "1234";
    QTest::newRow("no space") << "$Revision:$" << "";
    QTest::newRow("one space") << "$Revision: 12$" << "";
    // clang-format on
  }

  void buildNumber()
  {
    QFETCH(QString, keyword);
    QFETCH(QString, number);
    Policy::assertionHandler() = [](const char* condition, const char* file, int, const char*) {
      throw std::runtime_error(std::string(condition) + " @ " + file);
    };
    QString result;
    try {
      result = QString::fromStdString(Version::buildNumber(keyword.toStdString()));
    } catch (const std::runtime_error& e) {
      result = e.what();
    }
    Policy::assertionHandler() = nullptr;
    if (number.isEmpty())
      QVERIFY2(result.endsWith("@ src/version_private.h"), qPrintable(result));
    else
      QCOMPARE(result, number);
  }
};

QTEST_MAIN(TestAboutWidget)
#include "tst_aboutwidget.moc"
