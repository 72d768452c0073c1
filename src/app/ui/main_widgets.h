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
  QWidget* toolBar = nullptr;                  // ToolBar1
  QToolButton* openButton = nullptr;           // sp2
  QToolButton* saveButton = nullptr;           // sp3
  QToolButton* selectModeButton = nullptr;     // s_select
  QToolButton* writeModeButton = nullptr;      // s_draw
  QToolButton* eraseModeButton = nullptr;      // s_erase
  QComboBox* playerCombo = nullptr;            // CB_Viewer
  QToolButton* playFromStartButton = nullptr;  // s_fplay
  QToolButton* playFromViewButton = nullptr;   // s_play
  QToolButton* playButton = nullptr;           // S_SPlay
  QToolButton* stopPlayerButton = nullptr;     // s_stop
  QLabel* gridLabel = nullptr;                 // Label2, "GRID"
  QComboBox* gridCombo = nullptr;              // cb_grid
  QLabel* subGridLabel = nullptr;              // Label5, "補助"
  QComboBox* subGridCombo = nullptr;           // cb_r
  QLabel* devModeLabel = nullptr;              // L_Devmode

  // Score
  QWidget* score = nullptr;                   // pb
  QScrollBar* horizontalScrollBar = nullptr;  // GSH
  QScrollBar* verticalScrollBar = nullptr;    // GSV

  // Direct input bar
  QWidget* directInputBar = nullptr;         // Panel6
  QLabel* directInputLabel = nullptr;        // Label7, "Direct"
  QLineEdit* directInputEdit = nullptr;      // Edit2
  QPushButton* directInputButton = nullptr;  // Button6

  // Status panel; Label30 and Label16 are the fixed texts.
  QWidget* statusBar = nullptr;            // Panel9
  QLabel* statusKindLabel = nullptr;       // Label12
  QLabel* statusMeasureLabel = nullptr;    // Label31
  QLabel* statusMeasureCaption = nullptr;  // Label30
  QLabel* statusBeatLabel = nullptr;       // Label29
  QLabel* statusGridLabel = nullptr;       // Label28
  QLabel* statusZoneCaption = nullptr;     // Label16
  QLabel* statusZoneLabel = nullptr;       // Label15
  QLabel* statusTimeLabel = nullptr;       // LabelTime: seconds at the pointer
  // What went wrong outside the chart (a player that did not start); the
  // pointer's labels are rewritten at every move, this one is not.
  QLabel* statusMessageLabel = nullptr;  // LabelMessage

  // Right-hand column
  QWidget* settingsColumn = nullptr;         // Panel8
  QTabWidget* headerPages = nullptr;         // Panel7, pages "基本", "拡張", "環境"
  QPushButton* headerPagesToggle = nullptr;  // Panel3

  // Header ("基本", "拡張")
  QComboBox* playModeCombo = nullptr;       // cbpmode
  QComboBox* genreCombo = nullptr;          // e_genre
  QLineEdit* titleEdit = nullptr;           // e_title
  QComboBox* artistCombo = nullptr;         // e_art
  QLineEdit* bpmEdit = nullptr;             // e_bpm
  QComboBox* levelCombo = nullptr;          // e_level
  QComboBox* rankCombo = nullptr;           // cbrank
  QLineEdit* midiFileEdit = nullptr;        // e_midif
  QPushButton* midiFileButton = nullptr;    // Button1, "..." beside e_midif
  QLineEdit* totalEdit = nullptr;           // e_total
  QLineEdit* volWavEdit = nullptr;          // e_volwav
  QLineEdit* stageFileEdit = nullptr;       // E_Stagefile
  QPushButton* stageFileButton = nullptr;   // Button16, "..." beside E_Stagefile
  QLineEdit* emailEdit = nullptr;           // E_Email
  QLineEdit* urlEdit = nullptr;             // E_URL
  QLineEdit* subtitleEdit = nullptr;        // e_subtitle
  QPlainTextEdit* subartistEdit = nullptr;  // e_subartist, one per line
  QComboBox* difficultyCombo = nullptr;     // e_difficulty
  QLineEdit* bannerEdit = nullptr;          // e_banner
  QLineEdit* backBmpEdit = nullptr;         // e_backbmp
  QLineEdit* previewEdit = nullptr;         // e_preview
  QLineEdit* lnTypeEdit = nullptr;          // e_lntype
  QTabWidget* memoPages = nullptr;          // PageControl1, "情報", "拡張命令"
  QPlainTextEdit* infoMemo = nullptr;       // mmemo
  QPlainTextEdit* extensionMemo = nullptr;  // mcom

  // "環境"
  QScrollBar* gridHeightBar = nullptr;             // ScrollBar1, 表示高さ
  QScrollBar* gridWidthBar = nullptr;              // ScrollBar3, 表示幅
  QScrollBar* objectHeightBar = nullptr;           // ScrollBar2, オブジェ
  QPushButton* gridHeightResetButton = nullptr;    // Button7
  QPushButton* gridWidthResetButton = nullptr;     // Button10
  QPushButton* objectHeightResetButton = nullptr;  // Button8
  QCheckBox* dropOverwriteCheck = nullptr;         // CheckBox1
  QCheckBox* keepLayoutCheck = nullptr;            // CheckBox8
  QLineEdit* minCellsEdit = nullptr;               // Edit3

  // WAV and BMP lists
  QWidget* listPanel = nullptr;            // Panel4
  QTabWidget* listPages = nullptr;         // PC2
  QListWidget* wavList = nullptr;          // lbw
  QPushButton* stopSoundButton = nullptr;  // Button2
  QPushButton* assignWavButton = nullptr;  // Button11
  QPushButton* clearWavButton = nullptr;   // Button12
  QPushButton* wavUpButton = nullptr;      // Button4
  QPushButton* wavDownButton = nullptr;    // Button5
  QListWidget* bmpList = nullptr;          // lbb
  QPushButton* assignBmpButton = nullptr;  // Button14
  QPushButton* clearBmpButton = nullptr;   // Button15
  QPushButton* showImageButton = nullptr;  // Button3
  QPushButton* bmpUpButton = nullptr;      // Button9
  QPushButton* bmpDownButton = nullptr;    // Button13
};

}  // namespace beatloom
