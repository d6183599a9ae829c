#include "gui/guide/userguide.h"

#include "gui/guide/contexthelp.h"
#include "gui/guide/guidebrowser.h"
#include "gui/translations.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLocale>

UserGuide::UserGuide(QWidget* window) : QObject(window)
{
  qApp->installEventFilter(this);
}

UserGuide::~UserGuide()
{
  delete _browser.data();
}

UserGuide* UserGuide::attach(QAction* action, QWidget* window)
{
  auto* guide = new UserGuide(window);
  connect(action, &QAction::triggered, guide, [guide, window] {
    QWidget* focus = QApplication::focusWidget();
    guide->showHelpFor(focus && focus->window() == window ? focus : window);
  });
  return guide;
}

GuideBrowser* UserGuide::browser()
{
  if (!_browser) {
    _browser = new GuideBrowser;
    // The window's language, where the guide has it (English otherwise).
    _browser->setLanguage(Translations::languageFor(QLocale().uiLanguages()));
  }
  return _browser;
}

void UserGuide::showHelpFor(QWidget* w)
{
  GuideBrowser* b = browser();
  // F1 inside the guide shows its contents.
  const bool inGuide = w && (w == b || b->isAncestorOf(w));
  const QString target = w && !inGuide ? ContextHelp::targetFor(w) : QString();
  placeBrowser();
  b->open(target);
  b->show();
  b->raise();
  b->activateWindow();
}

void UserGuide::placeBrowser()
{
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == _host || modal == _browser)
    return;
  const QRect geometry = _browser->geometry();
  const bool shown = _browser->isVisible();
  // A window of its own would be blocked by the dialog; one of the dialog's is not.
  _browser->setParent(modal, Qt::Window);
  _host = modal;
  if (shown) {
    _browser->setGeometry(geometry);
    _browser->show();
  }
}

void UserGuide::releaseFromHost()
{
  _host = nullptr;
  if (!_browser)
    return;
  const QRect geometry = _browser->geometry();
  const bool shown = _browser->isVisible();
  _browser->setParent(nullptr, Qt::Window);
  if (shown) {
    _browser->setGeometry(geometry);
    _browser->show();
  }
}

bool UserGuide::eventFilter(QObject* watched, QEvent* event)
{
  // Before the dialog goes away with its children.
  if (event->type() == QEvent::Hide && _host && watched == _host) {
    releaseFromHost();
    return false;
  }
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
    return false;
  // Only what no shortcut took comes here: F1 outside the window.
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return false;
  showHelpFor(static_cast<QWidget*>(watched));
  return true;
}
