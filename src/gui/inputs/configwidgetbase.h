#ifndef QUELMORA_CONFIGWIDGETBASE_H
#define QUELMORA_CONFIGWIDGETBASE_H

#include "gui/ftransform_widgets/data_structures.h"
#include "gui/inputs/widgetbase.h"

// Root of the widgets that configure the computation. Every accepted change is
// announced with inputsChanged(); the receiver pulls the new record with data().
class ConfigWidgetBase : public WidgetBase
{
  Q_OBJECT

public:
  explicit ConfigWidgetBase(const QString& name, QWidget* parent = nullptr);

  virtual DataHolderBase data() = 0;
  virtual bool isValid();
  // The name of the input that makes the widget not valid, after giving it
  // the invalid-input style; "" while the widget is valid.
  virtual QString markInvalidInput();

  // The invalid-input style sheet; the valid style is the empty one.
  static const char* const invalidStyle;

signals:
  void inputsChanged();

public slots:
  // Public so that the main window can make a widget read back inputs it
  // restored from a session.
  virtual void onInputsChanged(int v = 0);
};

#endif
