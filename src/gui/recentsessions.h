#ifndef QUELMORA_RECENTSESSIONS_H
#define QUELMORA_RECENTSESSIONS_H

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QSettings;

// The recent-session entries of a menu, most recent first: one action per
// path, above the menu's other entries. Picking one moves it to the top and
// asks for the session to be opened.
class RecentSessions : public QObject
{
  Q_OBJECT

public:
  // limit tells the longest list the preferences allow, asked at each addition.
  RecentSessions(QMenu* menu, std::function<int()> limit);

  // Puts path first: an entry of it moves up, else a new one is added and
  // the oldest beyond the limit dropped.
  void add(const QString& path);
  QStringList paths() const;

  // The entries stored in the user settings' current group ("Menu" array).
  void load(QSettings& s);
  void save(QSettings& s) const;

signals:
  void openRequested(const QString& path);

private:
  QMenu* menu;
  std::function<int()> limit;
  QList<QAction*> actions;
};

#endif
