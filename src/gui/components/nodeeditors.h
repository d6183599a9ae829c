#ifndef QUELMORA_NODEEDITORS_H
#define QUELMORA_NODEEDITORS_H

#include <QString>
#include <QWidget>

#include <vector>

class QLineEdit;
namespace Ui {
class NodeEditors;
}

// A row of line edits, one per partition node. Each editor accepts only a
// number strictly between its neighbours' current values and inside the
// range (the partition's domain; the end editors may reach its ends); a typed value is
// reported with valueChanged only when it differs from what the editor showed.
// Values show rounded to three decimals, or to as many as the smallest
// spacing of neighbouring nodes needs to show three significant digits; the
// limits of an editor are its neighbours' shown values.
// A partition may have 100,000 nodes: the row keeps every node's text, value
// and limits, but creates the line edit of a node only once it scrolls into
// view or is asked for with editor().
class NodeEditors : public QWidget
{
  Q_OBJECT

public:
  explicit NodeEditors(QWidget* parent = nullptr);
  ~NodeEditors() override;

  virtual QLineEdit* firstEditor() const;
  virtual QLineEdit* lastEditor() const;

  std::size_t count() const { return _count; }
  // The editor of a node (created when needed), or null beyond the count.
  QLineEdit* editor(std::size_t index) const;
  // Line edits that exist now, as opposed to count().
  std::size_t createdEditors() const;
  const std::vector<double>& values() const { return _values; }

  // Bounds of the first and the last node (unbounded at start).
  void setRange(double low, double high);

  void setReadOnly(bool readOnly);
  bool isReadOnly() const { return _readOnly; }
  void connectEditors();
  void disconnectEditors();
  bool isConnected() const { return _connected; }

  // The editor text of a value, rounded to the given decimals.
  static QString editorText(double value, int decimals = 3);
  // Decimals every editor shows now.
  int decimals() const { return _decimals; }

signals:
  void valueChanged(size_t index, double value);
  // Alt+Insert and Alt+Delete in a node's editor: the keyboard's way to add a
  // node after it and to remove it (not while read-only).
  void addNodeRequested(size_t index);
  void removeNodeRequested(size_t index);
  void editorEnterFocus(size_t index);
  void editorLeaveFocus(size_t index);

public slots:
  // A count of 0 only disables the row.
  void setEditorsCount(size_t count);
  void setEditorValue(size_t index, double value);
  // Every value at once (one per editor), in linear time.
  void setEditorValues(const std::vector<double>& values);
  void highlighEditor(size_t index, bool highlight);

protected slots:
  void onEditingFinished();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLineEdit* ensureEditor(std::size_t index);
  QLineEdit* createEditor(std::size_t index);
  std::size_t indexOf(const QObject* editor) const;
  void setNeighbourLimits(std::size_t index, double value);
  // Follows the decimals the values need; true when they changed and every
  // text and limit was written again.
  bool updateDecimals();
  void showValue(std::size_t index);
  void setTop(std::size_t index, double top);
  void setBottom(std::size_t index, double bottom);
  // Sizes the strip for count editors and places the existing ones.
  void layoutStrip();
  void placeEditor(std::size_t index, QLineEdit* e) const;
  void createVisibleEditors();

  Ui::NodeEditors* ui;
  std::size_t _count = 1;
  bool _connected = false;
  bool _readOnly = false;
  std::vector<double> _values;
  // One slot per node, null while the node's line edit does not exist.
  std::vector<QLineEdit*> _editors;
  // What each editor last showed or committed; unchanged text is not reported.
  std::vector<QString> _texts;
  // Each editor's validator limits, kept for editors not created yet.
  std::vector<double> _bottoms;
  std::vector<double> _tops;
  std::vector<bool> _highlights;
  int _decimals = 3;
  double _rangeLow;
  double _rangeHigh;
  int _editorWidth = 0;
  int _editorHeight = 0;
};

#endif
