#ifndef QUELMORA_PROMPT_H
#define QUELMORA_PROMPT_H

#include <QColor>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>

#include <functional>

// The one seam through which the program asks the user something modal:
// message boxes, colour and file-name dialogs. Tests install handlers that
// answer at once, so no test ever blocks on a dialog.
class Prompt
{
public:
  struct Message
  {
    QMessageBox::Icon icon;
    QWidget* parent;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
  };

  using MessageHandler = std::function<QMessageBox::StandardButton(const Message&)>;
  using ColorHandler = std::function<QColor(const QColor& initial)>;
  // Answers getOpenFileName, getSaveFileName and getExistingDirectory alike:
  // given the caption, start directory and filter, returns the chosen path or "".
  using FileHandler =
    std::function<QString(const QString& caption, const QString& dir, const QString& filter)>;

  static QMessageBox::StandardButton message(QMessageBox::Icon icon, QWidget* parent,
                                             const QString& title, const QString& text,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                             QMessageBox::StandardButton defaultButton =
                                               QMessageBox::NoButton);
  static QMessageBox::StandardButton critical(QWidget* parent, const QString& title,
                                              const QString& text,
                                              QMessageBox::StandardButtons buttons = QMessageBox::Ok);
  static QMessageBox::StandardButton warning(QWidget* parent, const QString& title,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok);
  static QMessageBox::StandardButton information(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons =
                                                   QMessageBox::Ok);

  static QColor getColor(const QColor& initial, QWidget* parent = nullptr);
  static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter);
  // With a default suffix the dialog appends it to a name typed without one
  // (and asks before that file is replaced); test handlers get the name as typed.
  static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, const QString& defaultSuffix = QString());
  static QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

  // Test hooks; an empty handler restores the real dialog.
  static void setMessageHandler(MessageHandler handler);
  static void setColorHandler(ColorHandler handler);
  static void setFileHandler(FileHandler handler);
};

#endif
