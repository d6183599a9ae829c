#include "gui/components/prompt.h"

#include <QColorDialog>

namespace {

Prompt::MessageHandler& messageHandler()
{
  static Prompt::MessageHandler handler;
  return handler;
}

Prompt::ColorHandler& colorHandler()
{
  static Prompt::ColorHandler handler;
  return handler;
}

Prompt::FileHandler& fileHandler()
{
  static Prompt::FileHandler handler;
  return handler;
}

} // namespace

QMessageBox::StandardButton Prompt::message(QMessageBox::Icon icon, QWidget* parent,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton)
{
  if (messageHandler())
    return messageHandler()(Message{icon, parent, title, text, buttons});
  QMessageBox box(icon, title, text, buttons, parent);
  box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton Prompt::critical(QWidget* parent, const QString& title,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons)
{
  return message(QMessageBox::Critical, parent, title, text, buttons);
}

QMessageBox::StandardButton Prompt::warning(QWidget* parent, const QString& title,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons)
{
  return message(QMessageBox::Warning, parent, title, text, buttons);
}

QMessageBox::StandardButton Prompt::information(QWidget* parent, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons)
{
  return message(QMessageBox::Information, parent, title, text, buttons);
}

QColor Prompt::getColor(const QColor& initial, QWidget* parent)
{
  if (colorHandler())
    return colorHandler()(initial);
  return QColorDialog::getColor(initial, parent);
}

QString Prompt::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter)
{
  if (fileHandler())
    return fileHandler()(caption, dir, filter);
  return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Prompt::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter, const QString& defaultSuffix)
{
  if (fileHandler())
    return fileHandler()(caption, dir, filter);
  if (defaultSuffix.isEmpty())
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
  QFileDialog dialog(parent, caption, dir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString Prompt::getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
  if (fileHandler())
    return fileHandler()(caption, dir, QString());
  return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

void Prompt::setMessageHandler(MessageHandler handler) { messageHandler() = std::move(handler); }
void Prompt::setColorHandler(ColorHandler handler) { colorHandler() = std::move(handler); }
void Prompt::setFileHandler(FileHandler handler) { fileHandler() = std::move(handler); }
