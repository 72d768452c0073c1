#pragma once

#include <QDialog>

class QLabel;

namespace beatloom {

// The splash shown while the program starts, which afterwards serves as the
// About window. Its client area stays 538 x 170 in both roles.
class SplashWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 538;
  static constexpr int kClientHeight = 170;
  // The version the About window shows, and `beatloom --version` prints.
  static constexpr const char* kVersion = "2.0.a9";

  explicit SplashWindow(QWidget* owner);

  // Borderless and painted at once, before the event loop runs.
  void ShowSplash();
  // Hidden, with an ordinary dialog border from now on.
  void BecomeAboutDialog();
  // Modal; closed with its close box.
  void ShowAbout();

  static QImage Picture();

 private:
  QLabel* image_;
};

}  // namespace beatloom
