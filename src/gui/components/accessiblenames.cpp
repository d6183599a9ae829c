#include "gui/components/accessiblenames.h"

#include <qwt_plot.h>
#include <qwt_slider.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>

namespace {

bool hasWord(const QString& text)
{
  static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
  return word.match(text).hasMatch();
}

// A button named by a symbol ("X", "...") says nothing to a screen reader.
bool namedBySymbol(const QWidget* w)
{
  const auto* b = qobject_cast<const QAbstractButton*>(w);
  return b && !hasWord(b->text());
}

bool needsName(const QWidget* w)
{
  return namedBySymbol(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QwtSlider*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
         qobject_cast<const QwtPlot*>(w);
}

bool hasBuddy(const QWidget* w)
{
  if (!w->parentWidget())
    return false;
  for (const QLabel* l : w->parentWidget()->findChildren<QLabel*>())
    if (l->buddy() == w)
      return true;
  return false;
}

// The label just before w in its layout: left of it in a grid row, the
// label of its form row, or the item before it in a box.
QLabel* labelBeside(QWidget* w)
{
  QWidget* parent = w->parentWidget();
  QLayout* layout = parent ? parent->layout() : nullptr;
  if (!layout)
    return nullptr;
  // The layout that holds w may be nested.
  QList<QLayout*> layouts{layout};
  for (int i = 0; i < layouts.size(); ++i) {
    QLayout* l = layouts.at(i);
    const int index = l->indexOf(w);
    if (index < 0) {
      for (int j = 0; j < l->count(); ++j)
        if (QLayout* sub = l->itemAt(j)->layout())
          layouts.append(sub);
      continue;
    }
    if (auto* form = qobject_cast<QFormLayout*>(l))
      return qobject_cast<QLabel*>(form->labelForField(w));
    if (auto* grid = qobject_cast<QGridLayout*>(l)) {
      int row, column, rows, columns;
      grid->getItemPosition(index, &row, &column, &rows, &columns);
      for (int c = column - 1; c >= 0; --c)
        if (QLayoutItem* item = grid->itemAtPosition(row, c))
          return qobject_cast<QLabel*>(item->widget());
      return nullptr;
    }
    for (int j = index - 1; j >= 0; --j)
      if (QWidget* before = l->itemAt(j)->widget())
        return qobject_cast<QLabel*>(before);
    return nullptr;
  }
  return nullptr;
}

} // namespace

void AccessibleNames::watch()
{
  static QPointer<AccessibleNames> watcher;
  if (!watcher && qApp) {
    watcher = new AccessibleNames(qApp);
    qApp->installEventFilter(watcher);
  }
}

void AccessibleNames::name(QWidget* root)
{
  nameOne(root);
  for (QWidget* w : root->findChildren<QWidget*>())
    nameOne(w);
}

void AccessibleNames::nameOne(QWidget* w)
{
  if (!needsName(w) || !w->accessibleName().isEmpty() || hasBuddy(w))
    return;
  if (QLabel* label = labelBeside(w);
      !namedBySymbol(w) && label && !label->buddy() && hasWord(label->text())) {
    label->setBuddy(w);
    return;
  }
  // The tooltip's first clause; the whole of it stays the description.
  const QString tip =
      w->toolTip().section(QLatin1Char(';'), 0, 0).section(QLatin1String(". "), 0, 0);
  if (!tip.isEmpty())
    w->setAccessibleName(tip);
}

bool AccessibleNames::eventFilter(QObject* watched, QEvent* event)
{
  // On show, when its labels and tooltip are in place (a polish during
  // construction may come before them).
  if (event->type() == QEvent::Show && watched->isWidgetType())
    nameOne(static_cast<QWidget*>(watched));
  return QObject::eventFilter(watched, event);
}
