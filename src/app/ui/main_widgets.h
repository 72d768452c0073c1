#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace beatloom {

// Every control of the main window, under its control name. The window owns
// them through Qt parenting; this is only the index.
struct MainWidgets {
  // Tool bar
  QWidget* ToolBar1 = nullptr;
  QToolButton* sp2 = nullptr;
  QToolButton* sp3 = nullptr;
  QToolButton* s_select = nullptr;
  QToolButton* s_draw = nullptr;
  QToolButton* s_erase = nullptr;
  QComboBox* CB_Viewer = nullptr;
  QToolButton* s_fplay = nullptr;
  QToolButton* s_play = nullptr;
  QToolButton* S_SPlay = nullptr;
  QToolButton* s_stop = nullptr;
  QLabel* Label2 = nullptr;  // "GRID"
  QComboBox* cb_grid = nullptr;
  QLabel* Label5 = nullptr;  // "補助"
  QComboBox* cb_r = nullptr;
  QLabel* L_Devmode = nullptr;

  // Score
  QWidget* pb = nullptr;
  QScrollBar* GSH = nullptr;
  QScrollBar* GSV = nullptr;

  // Direct input bar
  QWidget* Panel6 = nullptr;
  QLabel* Label7 = nullptr;  // "Direct"
  QLineEdit* Edit2 = nullptr;
  QPushButton* Button6 = nullptr;

  // Status panel; Label30 and Label16 are the fixed texts.
  QWidget* Panel9 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label31 = nullptr;
  QLabel* Label30 = nullptr;
  QLabel* Label29 = nullptr;
  QLabel* Label28 = nullptr;
  QLabel* Label16 = nullptr;
  QLabel* Label15 = nullptr;

  // Right-hand column
  QWidget* Panel8 = nullptr;
  QTabWidget* Panel7 = nullptr;  // pages "基本", "拡張", "環境"
  QPushButton* Panel3 = nullptr;

  // Header ("基本", "拡張")
  QComboBox* cbpmode = nullptr;
  QComboBox* e_genre = nullptr;
  QLineEdit* e_title = nullptr;
  QComboBox* e_art = nullptr;
  QLineEdit* e_bpm = nullptr;
  QComboBox* e_level = nullptr;
  QComboBox* cbrank = nullptr;
  QLineEdit* e_midif = nullptr;
  QPushButton* Button1 = nullptr;  // "..." beside e_midif
  QLineEdit* e_total = nullptr;
  QLineEdit* e_volwav = nullptr;
  QLineEdit* E_Stagefile = nullptr;
  QPushButton* Button16 = nullptr;  // "..." beside E_Stagefile
  QLineEdit* E_Email = nullptr;
  QLineEdit* E_URL = nullptr;
  QTabWidget* PageControl1 = nullptr;  // "情報", "拡張命令"
  QPlainTextEdit* mmemo = nullptr;
  QPlainTextEdit* mcom = nullptr;

  // "環境"
  QScrollBar* ScrollBar1 = nullptr;  // 表示高さ
  QScrollBar* ScrollBar3 = nullptr;  // 表示幅
  QScrollBar* ScrollBar2 = nullptr;  // オブジェ
  QPushButton* Button7 = nullptr;
  QPushButton* Button10 = nullptr;
  QPushButton* Button8 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox8 = nullptr;
  QLineEdit* Edit3 = nullptr;

  // WAV and BMP lists
  QWidget* Panel4 = nullptr;
  QTabWidget* PC2 = nullptr;
  QListWidget* lbw = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button11 = nullptr;
  QPushButton* Button12 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QListWidget* lbb = nullptr;
  QPushButton* Button14 = nullptr;
  QPushButton* Button15 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button9 = nullptr;
  QPushButton* Button13 = nullptr;
};

}  // namespace beatloom
