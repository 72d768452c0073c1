#pragma once

#include <QDialog>
#include <array>

#include "view/view_settings.h"

class QPushButton;

namespace beatloom {

class Prompts;

// "色の設定": one swatch per score colour. A click on a swatch asks for a new
// colour, starting from its own; "元に戻す" puts every swatch back to its
// default. There is no cancel: each change is in the view settings at once
// and the score shows it at its next render.
class ColorDialog : public QDialog {
  Q_OBJECT

 public:
  ColorDialog(ViewSettings& view, Prompts& prompts, QWidget* parent);

  // The swatches show the view settings' colours, which the settings file
  // may have changed since the last showing.
  void ShowColors();
  // Shows the current colours and waits until the author closes the dialog.
  void Open();

 signals:
  void colorsChanged();

 private:
  void Choose(int index);
  void Reset();

  ViewSettings& view_;
  Prompts& prompts_;
  std::array<QPushButton*, ScoreColorCount> swatches_{};
};

}  // namespace beatloom
