#ifndef QUELMORA_ACCESSIBLENAMES_H
#define QUELMORA_ACCESSIBLENAMES_H

#include <QObject>

class QWidget;

// Names every input and plot for screen readers as it is shown, in the
// user's language: the label beside it in its layout (not a mere "x")
// becomes its buddy (so its mnemonic focuses it too), else the first clause
// of its tooltip names it; so does a button that shows only a symbol ("X",
// "..."). Inputs made later (partition widgets, function selectors) are
// named the same way.
class AccessibleNames : public QObject
{
  Q_OBJECT

public:
  // Watches the whole application; once is enough.
  static void watch();
  // Names the inputs under root now.
  static void name(QWidget* root);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  using QObject::QObject;
  static void nameOne(QWidget* w);
};

#endif
