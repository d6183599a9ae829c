#ifndef QUELMORA_USERGUIDE_H
#define QUELMORA_USERGUIDE_H

#include <QObject>
#include <QPointer>

class GuideBrowser;
class QAction;
class QWidget;

// The user guide of the program's window: one guide window for the whole
// run, opened at the section of the control that has the focus. The window's
// action (Help > User guide, F1) opens it for the window; F1 in the program's
// other windows (dialogs, where that shortcut does not reach) for theirs.
// Over a modal dialog the guide window sits on the dialog, so that both can
// be used, and goes back to being a window of its own when the dialog closes.
class UserGuide : public QObject
{
  Q_OBJECT

public:
  // Connects action to the guide of window; the guide belongs to window.
  static UserGuide* attach(QAction* action, QWidget* window);
  ~UserGuide() override;

  // The guide window, made when it is first needed, in the language of the
  // user interface.
  GuideBrowser* browser();
  // Opens the guide at the section that explains w (the contents for none).
  void showHelpFor(QWidget* w);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit UserGuide(QWidget* window);
  // Puts the guide window on the active modal dialog, or on its own without one.
  void placeBrowser();
  void releaseFromHost();

  QPointer<GuideBrowser> _browser;
  QPointer<QWidget> _host;
};

#endif
