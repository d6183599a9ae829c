// The window and its dialogs for keyboard and screen reader users: every
// input and plot has an accessible name and a tooltip, and Tab reaches every
// input in reading order (top to bottom, left to right within a group).
#include "windowparts.h"

#include "gui/translations.h"

#include <qwt_plot.h>
#include <qwt_slider.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>

namespace {

bool ours(QWidget* w, QWidget* root)
{
  if (w->objectName().startsWith(QLatin1String("qt_")) || w->inherits("QTableCornerButton"))
    return false;
  // The file dialog's own parts are Qt's; only what the program adds counts.
  if (qobject_cast<DataFileOpenDialog*>(root))
    return w->objectName().startsWith(QLatin1String("xColumn"));
  for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
    if (p->focusProxy() || qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p))
      return false;
  return true;
}

// An input a user types into, picks from or presses.
bool isInput(QWidget* w)
{
  if (qobject_cast<QScrollBar*>(w) || qobject_cast<QHeaderView*>(w))
    return false;
  return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
         qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
         qobject_cast<QAbstractSlider*>(w) || qobject_cast<QwtSlider*>(w) ||
         qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w) ||
         w->inherits("ColorLabel");
}

QList<QWidget*> shownInputs(QWidget* root)
{
  QList<QWidget*> found;
  for (QWidget* w : root->findChildren<QWidget*>())
    if (ours(w, root) && w->isVisibleTo(root) && isInput(w))
      found.append(w);
  return found;
}

// A tool bar button whose action a key triggers needs no focus.
bool hasShortcut(QWidget* w)
{
  auto* button = qobject_cast<QToolButton*>(w);
  return button && button->defaultAction() && !button->defaultAction()->shortcut().isEmpty();
}

QString nameOf(QWidget* w)
{
  QString name = w->objectName();
  for (QWidget* p = w->parentWidget(); name.isEmpty() && p; p = p->parentWidget())
    if (!p->objectName().isEmpty())
      name = p->objectName() + "/";
  return QStringLiteral("%1 (%2)").arg(name, w->metaObject()->className());
}

// What Tab visits from the first focusable widget of root, as Qt moves focus.
QList<QWidget*> tabChain(QWidget* root)
{
  QList<QWidget*> chain;
  QWidget* w = root;
  for (int guard = 0; guard < 2000; ++guard) {
    w = w->nextInFocusChain();
    if (w == root)
      break;
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() &&
        w->isVisibleTo(root) && w->isEnabled() && w->window() == root->window())
      chain.append(w);
  }
  return chain;
}

// Whether b comes after a when reading their group.
bool readsAfter(QWidget* a, QWidget* b)
{
  const QRect ra(a->mapTo(a->window(), QPoint()), a->size());
  const QRect rb(b->mapTo(b->window(), QPoint()), b->size());
  // On one line when their vertical middles lie within each other.
  const bool sameLine = std::abs(ra.center().y() - rb.center().y()) <
                        std::max(4, std::min(ra.height(), rb.height()) / 2);
  return sameLine ? rb.left() >= ra.left() : rb.center().y() > ra.center().y();
}

// The letter & marks in a menu text, lower case; none when there is no mark.
QChar mnemonic(const QString& text)
{
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text.at(i) != '&')
      continue;
    if (text.at(i + 1) != '&')
      return text.at(i + 1).toLower();
    ++i;
  }
  return {};
}

// Menus whose items share a mnemonic, which then only cycles between them.
void sharedMnemonics(const QString& where, const QList<QAction*>& actions, QStringList* faults)
{
  QMap<QChar, QString> seen;
  for (QAction* a : actions) {
    if (a->isSeparator() || !a->isVisible())
      continue;
    const QChar m = mnemonic(a->text());
    if (!m.isNull() && seen.contains(m))
      faults->append(where + ": \"" + seen.value(m) + "\" and \"" + a->text() + "\" share &" + m);
    else if (!m.isNull())
      seen.insert(m, a->text());
    if (a->menu())
      sharedMnemonics(where + " > " + a->text(), a->menu()->actions(), faults);
  }
}

// Every part to check: the window in each partition kind, then each dialog.
template <typename F>
void forEachPart(WindowParts& parts, F check)
{
  for (const QString& kind : WindowParts::partitionKinds()) {
    MainWindowTester::action(parts.window.get(), kind.toLatin1().constData())->trigger();
    QCoreApplication::processEvents();
    check(kind, parts.window.get());
  }
  for (const auto& d : parts.dialogs) {
    auto* prefs = qobject_cast<PreferencesWidget*>(d.second);
    for (int page = 0; page < (prefs ? 3 : 1); ++page) {
      if (prefs)
        prefs->setCurrentPage(page);
      d.second->show();
      QCoreApplication::processEvents();
      check(d.first, d.second);
      d.second->hide();
    }
  }
}

} // namespace

class TestAccessibility : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

private slots:
  void initTestCase() { env.setUp(); }
  void cleanup() { Translations::uninstall(qApp); }

  void everyInputIsNamedAndExplained_data()
  {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("Czech") << "cs";
  }
  void everyInputIsNamedAndExplained()
  {
    QFETCH(QString, language);
    QVERIFY(Translations::install(qApp, language));
    WindowParts parts;
    QStringList faults;
    forEachPart(parts, [&](const QString& part, QWidget* root) {
      QList<QWidget*> named = shownInputs(root);
      for (QwtPlot* plot : root->findChildren<QwtPlot*>())
        if (plot->isVisibleTo(root))
          named.append(plot);
      for (QWidget* w : named) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        // A name is words: "X" or "..." tells a listener nothing.
        static const QRegularExpression word("\\p{L}{2,}");
        if (!a || !word.match(a->text(QAccessible::Name)).hasMatch())
          faults.append(part + ": no accessible name: " + nameOf(w));
        if (w->isEnabled() && w->toolTip().trimmed().isEmpty() &&
            (!a || a->text(QAccessible::Description).trimmed().isEmpty()))
          faults.append(part + ": no tooltip: " + nameOf(w));
      }
    });
    faults.removeDuplicates();
    for (const QString& f : faults)
      qWarning("%s", qPrintable(f));
    QCOMPARE(faults.size(), 0);
  }

  void menusHaveDistinctMnemonics_data() { everyInputIsNamedAndExplained_data(); }
  void menusHaveDistinctMnemonics()
  {
    QFETCH(QString, language);
    QVERIFY(Translations::install(qApp, language));
    auto w = startWindow();
    QStringList faults;
    sharedMnemonics("menu bar", w->menuBar()->actions(), &faults);
    for (const QString& f : faults)
      qWarning("%s", qPrintable(f));
    QCOMPARE(faults.size(), 0);
  }

  void tabReachesEveryInputInReadingOrder()
  {
    WindowParts parts;
    QStringList faults;
    forEachPart(parts, [&](const QString& part, QWidget* root) {
      const QList<QWidget*> chain = tabChain(root);
      for (QWidget* w : shownInputs(root))
        if (w->isEnabled() && !chain.contains(w) && w->focusPolicy() != Qt::NoFocus)
          faults.append(part + ": Tab never reaches " + nameOf(w));
        else if (w->isEnabled() && w->focusPolicy() == Qt::NoFocus && !hasShortcut(w))
          faults.append(part + ": takes no keyboard focus: " + nameOf(w));
      // Within a group (the inputs of one parent) Tab reads like a page.
      QMap<QWidget*, QList<QWidget*>> groups;
      for (QWidget* w : chain)
        if (isInput(w) && ours(w, root))
          groups[w->parentWidget()].append(w);
      for (const auto& group : groups)
        for (int i = 1; i < group.size(); ++i)
          if (!readsAfter(group[i - 1], group[i]))
            faults.append(part + ": Tab goes from " + nameOf(group[i - 1]) + " back to " +
                          nameOf(group[i]));
    });
    faults.removeDuplicates();
    for (const QString& f : faults)
      qWarning("%s", qPrintable(f));
    QCOMPARE(faults.size(), 0);
  }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
