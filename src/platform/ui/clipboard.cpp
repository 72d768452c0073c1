#include "platform/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace beatloom {

std::optional<QString> QtClipboard::Text() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return std::nullopt;
  return data->text();
}

void QtClipboard::SetText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace beatloom
