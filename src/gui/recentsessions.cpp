#include "gui/recentsessions.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

#include <algorithm>

namespace {

// Entries read from a damaged settings file stay within what the preferences
// can ask for.
constexpr int maxStored = 50;

} // namespace

RecentSessions::RecentSessions(QMenu* m, std::function<int()> l)
    : QObject(m), menu(m), limit(std::move(l))
{
}

void RecentSessions::add(const QString& path)
{
  for (int i = 0; i < actions.size(); ++i) {
    QAction* a = actions.at(i);
    if (a->data().toString() != path)
      continue;
    menu->removeAction(a);
    menu->insertAction(menu->actions().value(0, nullptr), a);
    actions.swapItemsAt(0, i);
    return;
  }

  auto* a = new QAction(path, menu);
  a->setData(path);
  connect(a, &QAction::triggered, this, [this, a] {
    const QString picked = a->data().toString();
    add(picked);
    emit openRequested(picked);
  });
  menu->insertAction(menu->actions().value(0, nullptr), a);
  actions.prepend(a);
  if (actions.size() > limit()) {
    QAction* last = actions.takeLast();
    menu->removeAction(last);
    delete last;
  }
}

QStringList RecentSessions::paths() const
{
  QStringList list;
  for (const QAction* a : actions)
    list.append(a->data().toString());
  return list;
}

void RecentSessions::load(QSettings& s)
{
  const int n = std::min(s.beginReadArray(QStringLiteral("Menu")), maxStored);
  QStringList stored;
  for (int i = 0; i < n; ++i) {
    s.setArrayIndex(i);
    stored.append(s.value(QStringLiteral("recent")).toString());
  }
  s.endArray();
  for (int i = stored.size() - 1; i >= 0; --i)
    if (!stored.at(i).isEmpty())
      add(stored.at(i));
}

void RecentSessions::save(QSettings& s) const
{
  s.remove(QStringLiteral("Menu"));
  s.beginWriteArray(QStringLiteral("Menu"), actions.size());
  for (int i = 0; i < actions.size(); ++i) {
    s.setArrayIndex(i);
    s.setValue(QStringLiteral("recent"), actions.at(i)->data().toString());
  }
  s.endArray();
}
