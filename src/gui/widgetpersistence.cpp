#include "gui/widgetpersistence.h"

#include "gui/components/diagnostics.h"
#include "gui/components/prompt.h"
#include "midle/session/sessionsave.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QQueue>
#include <QWidget>

WidgetPersistence::WidgetPersistence(QObject* parent)
    : QObject(parent),
      properties{{"QWidget", {"enabled"}},          {"QAbstractButton", {"checked", "down"}},
                 {"QListWidget", {"currentRow"}},   {"QComboBox", {"currentIndex"}},
                 {"QLineEdit", {"text"}},           {"QTextEdit", {"plainText"}},
                 {"QPlainTextEdit", {"plainText"}}, {"QSpinBox", {"value"}},
                 {"ColorLabel", {"color"}},         {"LineStyleSelector", {"LineWidth"}}},
      skippedClassList{"Oxygen::TransitionWidget", "Oxygen::SunkenFrameShadow"},
      skippedNameList{"qt_spinbox_lineedit"}
{
  settingsObject = openSettings();
}

WidgetPersistence::~WidgetPersistence()
{
  delete settingsObject;
}

QSettings* WidgetPersistence::openSettings() const
{
  if (fileName.isEmpty())
    return new QSettings(QSettings::IniFormat, QSettings::UserScope,
                         QCoreApplication::organizationName(), QCoreApplication::applicationName());
  return new QSettings(fileName, QSettings::IniFormat);
}

void WidgetPersistence::setFile(const QString& name)
{
  if (name == fileName)
    return;
  fileName = name;
  delete settingsObject;
  settingsObject = nullptr;

  if (!name.isEmpty() && !SessionSave::targetWritable(name))
    Prompt::critical(nullptr, tr("Error"), tr("Cannot write to target location."),
                     QMessageBox::Close);
  settingsObject = openSettings();
  lastStatus = QSettings::NoError;
}

QString WidgetPersistence::file() const
{
  return fileName;
}

QSettings* WidgetPersistence::settings() const
{
  return settingsObject;
}

void WidgetPersistence::addWidget(QWidget* widget, const QString& group)
{
  if (!widget)
    return;
  for (auto& entry : groups) {
    if (entry.first == widget) {
      entry.second = group;
      return;
    }
  }
  groups.append({QPointer<QWidget>(widget), group});
}

QString WidgetPersistence::groupName(QWidget* widget) const
{
  for (const auto& entry : groups)
    if (widget && entry.first == widget)
      return entry.second;
  return QString();
}

QSettings::Status WidgetPersistence::status() const
{
  return lastStatus;
}

QStringList WidgetPersistence::skippedClasses() const
{
  return skippedClassList;
}

QStringList WidgetPersistence::skippedNames() const
{
  return skippedNameList;
}

void WidgetPersistence::setStore(QMap<QString, QVariant>* values)
{
  store = values;
}

void WidgetPersistence::setHeldGroups(const QStringList& names)
{
  heldGroups = names;
}

QVariant WidgetPersistence::storedValue(const QString& key) const
{
  return store ? store->value(key) : settingsObject->value(key);
}

bool WidgetPersistence::save()
{
  if (store) {
    for (auto it = store->begin(); it != store->end();) {
      if (heldGroups.contains(it.key().section(QLatin1Char('/'), 0, 0)))
        ++it;
      else
        it = store->erase(it);
    }
  }
  for (const auto& entry : groups)
    if (entry.first)
      saveTree(entry.first, entry.second);
  qCDebug(lcDiagnostics) << "WidgetPersistence::Saved";
  if (!store) {
    settingsObject->sync();
    lastStatus = settingsObject->status();
  }
  emit saved();
  return lastStatus == QSettings::NoError;
}

void WidgetPersistence::load()
{
  const auto snapshot = groups; // loading may drive slots that register more
  for (const auto& entry : snapshot) {
    if (!entry.first)
      continue;
    loadTree(entry.first, entry.second);
    emit widgetLoaded(entry.first);
  }
  qCDebug(lcDiagnostics) << "WidgetPersistence::Loaded";
  emit loaded();
}

QList<QWidget*> WidgetPersistence::walk(QWidget* root) const
{
  QList<QWidget*> order;
  QQueue<QWidget*> queue;
  queue.enqueue(root);
  while (!queue.isEmpty()) {
    QWidget* w = queue.dequeue();
    for (QObject* child : w->children())
      if (child->isWidgetType())
        queue.enqueue(static_cast<QWidget*>(child));
    if (stored(w))
      order.append(w);
  }
  return order;
}

bool WidgetPersistence::stored(const QWidget* w) const
{
  const QString name = w->objectName();
  return !name.isEmpty() && !skippedNameList.contains(name) &&
         !skippedClassList.contains(QString::fromLatin1(w->metaObject()->className()));
}

QStringList WidgetPersistence::propertiesOf(const QWidget* w) const
{
  QStringList result;
  for (const auto& entry : properties)
    if (w->inherits(entry.first.toLatin1().constData()))
      result += entry.second;
  return result;
}

void WidgetPersistence::saveTree(QWidget* root, const QString& group)
{
  if (!root)
    return;
  for (QWidget* w : walk(root)) {
    for (const QString& p : propertiesOf(w)) {
      const QString key = group + "/" + w->objectName() + "_" + p;
      const QVariant v = w->property(p.toLatin1().constData());
      if (store)
        store->insert(key, v);
      else
        settingsObject->setValue(key, v);
    }
  }
}

void WidgetPersistence::loadTree(QWidget* root, const QString& group)
{
  if (!root)
    return;
  // The tree is walked before anything is restored: restoring drives the
  // program, which may create or delete widgets of the tree.
  const QList<QWidget*> order = walk(root);
  QList<QPointer<QWidget>> alive;
  for (QWidget* w : order)
    alive.append(w);
  for (const QPointer<QWidget>& w : alive) {
    if (!w)
      continue;
    const QStringList props = propertiesOf(w);
    const QString name = w->objectName();
    for (const QString& p : props) {
      if (!w)
        break;
      const QString key = name + "_" + p;
      // The group is left before writing: a restored value drives slots that
      // may use this settings object themselves.
      const QVariant value = storedValue(group + "/" + key);
      // Qt 5 writes a default value for an invalid variant, so a missing key
      // must not reach setProperty at all.
      if (!value.isValid() || !w->setProperty(p.toLatin1().constData(), value))
        qCDebug(lcDiagnostics) << "Property wasn't read:" << key;
    }
  }
}
