#include "gui/inputs/widgetbase.h"

#include <QBoxLayout>
#include <QDoubleValidator>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>

#include <cmath>

WidgetBase::WidgetBase(QWidget* parent) : QWidget(parent) {}

QWidget* WidgetBase::firstInputWidget()
{
  return nullptr;
}

QWidget* WidgetBase::lastInputWidget()
{
  return nullptr;
}

bool WidgetBase::isAcceptable(QLineEdit* edit)
{
  auto* validator = qobject_cast<const QDoubleValidator*>(edit->validator());
  Q_ASSERT(validator);
  if (!validator)
    return false;
  QString text = edit->text();
  int pos = 0;
  if (validator->validate(text, pos) != QValidator::Acceptable)
    return false;
  bool ok = false;
  const double value = edit->text().toDouble(&ok);
  return ok && std::isfinite(value) && value != validator->bottom();
}

void WidgetBase::replaceWidget(QLayout* layout, QWidget* placeholder, QWidget* widget)
{
  widget->setSizePolicy(placeholder->sizePolicy());
  widget->setMinimumSize(placeholder->minimumSize());
  widget->setMaximumSize(placeholder->maximumSize());
  const int index = layout->indexOf(placeholder);
  auto* box = qobject_cast<QBoxLayout*>(layout);
  if (index >= 0)
    delete layout->takeAt(index);
  if (box && index >= 0)
    box->insertWidget(index, widget);
  else
    layout->addWidget(widget);
  delete placeholder;
}

void WidgetBase::useCLocale(QValidator* validator)
{
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
  validator->setLocale(c);
}
