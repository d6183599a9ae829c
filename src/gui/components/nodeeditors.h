#ifndef QUELMORA_NODEEDITORS_H
#define QUELMORA_NODEEDITORS_H

#include <QStringList>
#include <QWidget>

#include <vector>

class QLineEdit;
namespace Ui {
class NodeEditors;
}

// A row of line edits, one per partition node. Each editor accepts only a
// number strictly between its neighbours' current values; a typed value is
// reported with valueChanged only when it differs from what the editor showed.
class NodeEditors : public QWidget
{
  Q_OBJECT

public:
  explicit NodeEditors(QWidget* parent = nullptr);
  ~NodeEditors() override;

  virtual QLineEdit* firstEditor() const;
  virtual QLineEdit* lastEditor() const;

  std::size_t count() const { return _count; }
  QLineEdit* editor(std::size_t index) const;
  const std::vector<double>& values() const { return _values; }

  void setReadOnly(bool readOnly);
  bool isReadOnly() const { return _readOnly; }
  void connectEditors();
  void disconnectEditors();
  bool isConnected() const { return _connected; }

  // The editor text of a value: 3 decimals, the 4th cut off.
  static QString editorText(double value);

signals:
  void valueChanged(size_t index, double value);
  void editorEnterFocus(size_t index);
  void editorLeaveFocus(size_t index);

public slots:
  // A count of 0 only disables the row.
  void setEditorsCount(size_t count);
  void setEditorValue(size_t index, double value);
  void highlighEditor(size_t index, bool highlight);

protected slots:
  void onEditingFinished();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLineEdit* createEditor(std::size_t index);
  std::size_t indexOf(const QObject* editor) const;
  void setNeighbourLimits(std::size_t index, double value);

  Ui::NodeEditors* ui;
  std::size_t _count = 1;
  bool _connected = false;
  bool _readOnly = false;
  std::vector<double> _values;
  std::vector<QLineEdit*> _editors;
  // What each editor last showed or committed; unchanged text is not reported.
  QStringList _texts;
};

#endif
