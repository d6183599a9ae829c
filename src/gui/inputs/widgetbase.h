#ifndef QUELMORA_WIDGETBASE_H
#define QUELMORA_WIDGETBASE_H

#include <QWidget>

class QLayout;
class QLineEdit;
class QValidator;

// Common root of the program's own widgets. The main window chains the tab
// order of its input widgets through the two queries.
class WidgetBase : public QWidget
{
  Q_OBJECT

public:
  explicit WidgetBase(QWidget* parent = nullptr);

  virtual QWidget* firstInputWidget();
  virtual QWidget* lastInputWidget();

  // True when the edit's double validator accepts its text and the number is
  // finite and not the validator's bottom: the bottom is an exclusive bound.
  static bool isAcceptable(QLineEdit* edit);

  // Puts widget where placeholder was in layout (same index for box layouts,
  // appended otherwise), with the placeholder's size policy and limits.
  // The placeholder is deleted.
  static void replaceWidget(QLayout* layout, QWidget* placeholder, QWidget* widget);

  // Makes a validator read numbers the way QString::toDouble does, so that
  // what it accepts is what the widgets read, whatever the system locale.
  static void useCLocale(QValidator* validator);
};

#endif
