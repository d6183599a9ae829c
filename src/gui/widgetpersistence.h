#ifndef QUELMORA_WIDGETPERSISTENCE_H
#define QUELMORA_WIDGETPERSISTENCE_H

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSettings>
#include <QStringList>

class QWidget;

// Stores and restores whole widget trees in a settings file, or in a map of
// stored values, without the widgets knowing: every named widget of a
// registered tree writes the properties its classes carry (a spin box its
// "value", a check box "checked", ...) as "<objectName>_<property>" in the
// tree's group. Restoring writes the values back through the property system,
// so the widgets emit their change signals as if the user had typed them.
// The target is the user settings file until setFile() names another or
// setStore() a map.
class WidgetPersistence : public QObject
{
  Q_OBJECT

public:
  explicit WidgetPersistence(QObject* parent = nullptr);
  ~WidgetPersistence() override;

  // Changes the target file; "" is the user settings file. A target without
  // write permission is reported in a message box and used anyway.
  void setFile(const QString& name);
  QString file() const;
  QSettings* settings() const;
  // Keeps the values in store ("Group/key") instead of a file; nullptr goes
  // back to the file. The store outlives its use here.
  void setStore(QMap<QString, QVariant>* store);

  // Registers a tree; registering a widget again replaces its group.
  // Trees are saved and loaded in registration order.
  void addWidget(QWidget* widget, const QString& group);
  QString groupName(QWidget* widget) const;

  // Groups of a store that save() keeps as they are (dialogs opened now and
  // then, saved with saveTree() when they close).
  void setHeldGroups(const QStringList& groups);

  // Status of the settings object after the last save() (its sync).
  QSettings::Status status() const;

  QStringList skippedClasses() const;
  QStringList skippedNames() const;

public slots:
  // Stores every registered tree and syncs; true when the file was written.
  // A store keeps only the held groups besides the trees.
  bool save();
  void load();
  void saveTree(QWidget* root, const QString& group);
  void loadTree(QWidget* root, const QString& group);

signals:
  void widgetLoaded(QWidget* w);
  void loaded();
  void saved();

private:
  QSettings* openSettings() const;
  QList<QWidget*> walk(QWidget* root) const;
  bool stored(const QWidget* w) const;
  QStringList propertiesOf(const QWidget* w) const;
  QVariant storedValue(const QString& key) const;

  QString fileName;
  QSettings* settingsObject = nullptr;
  QMap<QString, QVariant>* store = nullptr;
  QList<QPair<QPointer<QWidget>, QString>> groups; // registration order
  QList<QPair<QString, QStringList>> properties;   // class -> properties, in table order
  QStringList skippedClassList;
  QStringList skippedNameList;
  QSettings::Status lastStatus = QSettings::NoError;
  QStringList heldGroups;
};

#endif
