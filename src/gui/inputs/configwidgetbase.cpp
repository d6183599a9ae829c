#include "gui/inputs/configwidgetbase.h"

const char* const ConfigWidgetBase::invalidStyle =
    "border-style: groove;border-color: red;border-width: 3px;";

ConfigWidgetBase::ConfigWidgetBase(const QString& name, QWidget* parent) : WidgetBase(parent)
{
  setObjectName(name);
}

bool ConfigWidgetBase::isValid()
{
  return false;
}

QString ConfigWidgetBase::markInvalidInput()
{
  return isValid() ? QString() : tr("inputs");
}

void ConfigWidgetBase::onInputsChanged(int)
{
  emit inputsChanged();
}
