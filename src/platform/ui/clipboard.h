#pragma once

#include <QString>
#include <optional>

namespace beatloom {

// The system clipboard as plain text, so that the windows can be driven by
// tests with a clipboard of their own.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Nothing when the clipboard holds no text.
  virtual std::optional<QString> Text() const = 0;
  virtual void SetText(const QString& text) = 0;
};

class QtClipboard : public Clipboard {
 public:
  std::optional<QString> Text() const override;
  void SetText(const QString& text) override;
};

}  // namespace beatloom
