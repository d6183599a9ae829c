#include "gui/aboutwidget.h"
#include "version_private.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <stdexcept>

namespace {

[[noreturn]] void throwingHandler(const char* condition, const char* file, int, const char*)
{
  throw std::runtime_error(std::string(condition) + " @ " + file);
}

} // namespace

class TestAboutWidget : public QObject
{
  Q_OBJECT

private slots:
  void showsVersionBuildAndLogo();
  void buildNumber_data();
  void buildNumber();
  void malformedKeywordAsserts_data();
  void malformedKeywordAsserts();
  void closeButtonCloses();
};

void TestAboutWidget::showsVersionBuildAndLogo()
{
  AboutWidget about;
  QCOMPARE(about.windowTitle(), QString("About"));
  QCOMPARE(about.findChild<QLabel*>("captionLbl")->text(), QString("Quelmora"));
  QCOMPARE(about.findChild<QLabel*>("versionValueLbl")->text(), QString("1.4"));
  const QString build = about.findChild<QLabel*>("buildNumberValueLbl")->text();
  QVERIFY(!build.isEmpty());
  QVERIFY(!build.contains(' ') && !build.contains('$'));
  QCOMPARE(about.findChild<QLabel*>("buildOnValueLbl")->text(), QString(__DATE__));
  const QPixmap logo = about.findChild<QLabel*>("logoLbl")->pixmap(Qt::ReturnByValue);
  QVERIFY(!logo.isNull());
  QVERIFY(QFile::exists(":/graphics/logos/korvant_logo.png"));
}

void TestAboutWidget::buildNumber_data()
{
  QTest::addColumn<QString>("keyword");
  QTest::addColumn<QString>("number");
  QTest::newRow("usual") << "$Revision: 1234 $"
                         << "1234";
  QTest::newRow("built in") << QUELMORA_REVISION << QString(QUELMORA_REVISION).section(' ', 1, 1);
}

void TestAboutWidget::buildNumber()
{
  QFETCH(QString, keyword);
  QFETCH(QString, number);
  QCOMPARE(QString::fromStdString(Version::buildNumber(keyword.toStdString())), number);
}

void TestAboutWidget::malformedKeywordAsserts_data()
{
  QTest::addColumn<QString>("keyword");
  QTest::newRow("no space") << "$Revision:$";
  QTest::newRow("one space") << "$Revision: 12$";
}

void TestAboutWidget::malformedKeywordAsserts()
{
  QFETCH(QString, keyword);
  Policy::assertionHandler() = throwingHandler;
  QString what;
  try {
    Version::buildNumber(keyword.toStdString());
  } catch (const std::runtime_error& e) {
    what = e.what();
  }
  Policy::assertionHandler() = nullptr;
  QVERIFY2(what.endsWith("@ src/version_private.h"), qPrintable(what));
}

void TestAboutWidget::closeButtonCloses()
{
  AboutWidget about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  about.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Close)->click();
  QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestAboutWidget)
#include "tst_aboutwidget.moc"
