#ifndef QUELMORA_CONTEXTHELP_H
#define QUELMORA_CONTEXTHELP_H

#include <QString>

#include <vector>

class QWidget;

// Where the user guide explains each control: the one table from the
// widgets of the window and its dialogs to sections of the guide.
namespace ContextHelp {

struct Entry
{
  // A widget's object name (as the forms store it) or class name; a
  // trailing '#' stands for a number ("comboBox#": comboBox0, comboBox1, ...);
  // "Outer/inner" matches inner only inside a widget that matches Outer.
  const char* key;
  // "page.html#anchor" of the guide.
  const char* target;
};

// The entries in the order they are tried: for the widget itself, then for
// each of its parents up to its window, the first entry that matches wins.
const std::vector<Entry>& table();

// The section that explains w, or "" (the contents) when no entry matches.
QString targetFor(const QWidget* w);

} // namespace ContextHelp

#endif
