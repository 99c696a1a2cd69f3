#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "live/CommDeviceLink.h"
#include "live/LivePolling.h"
#include "live/LiveTable.h"
#include "serial/CommDevice.h"
#include "ui/ColumnFitting.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;
class QTabWidget;
class QTimer;

namespace pq::ui {
class Prompter;
}

namespace pq::live {

class LiveSpectrumPage;
class LiveTableModel;
class LiveWaveformPage;

// Runs the device settings dialog after a failed open; true when it closed with OK.
using SettingsDialogRunner = std::function<bool(OstrelComm32::TCommDevice& device, QWidget* owner)>;

// What the live window always uses in the program, and tests replace: COM1, the device settings
// dialog and the program's polling state.
struct LiveWindowOptions {
  int portNo = 1;
  SettingsDialogRunner settingsDialog;
  LivePolling* polling = nullptr;
};

// The live data window (TForm10): opens the serial device CommDevice1 on COM1 when it is created,
// polls the instrument from a 600 ms timer and shows the answers on three pages (values, waveforms
// with the phasor diagram, spectra). The polling state outlives the window (programLivePolling).
class TForm10 : public QDialog {
 public:
  using Options = LiveWindowOptions;

  TForm10(LivePage page, ui::Prompter& prompter, QWidget* parent = nullptr, Options options = {});
  ~TForm10() override;

  // The port did not open and the operator cancelled the settings dialog: the program ends.
  bool endsProgram() const { return endsProgram_; }

  void Timer1Timer();
  void Btn_PauseClick();
  void Btn_ContinueClick();

  OstrelComm32::TCommDevice& CommDevice1() { return *device_; }
  QTimer& Timer1() { return *timer_; }
  QTabWidget& PageControl1() { return *pages_; }
  QTableView& StringGrid1() { return *grid_; }
  const LiveTable& table() const { return table_; }
  LiveWaveformPage& waveformPage() { return *waveformPage_; }
  LiveSpectrumPage& spectrumPage() { return *spectrumPage_; }
  QRadioButton& RadioButton2() { return *primary_; }
  QString statusText(int panel) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void openDevice(int portNo, const SettingsDialogRunner& settingsDialog);
  QWidget* buildValuesPage();
  QWidget* buildControls();
  void preparePage(int page);
  void showTableTexts();
  LivePage shownPage() const;

  ui::Prompter& prompter_;
  LivePolling& polling_;
  std::unique_ptr<OstrelComm32::TCommDevice> device_;
  CommDeviceLink link_;
  LiveTable table_;
  bool endsProgram_ = false;
  bool shown_ = false;

  QTimer* timer_;
  QTabWidget* pages_;
  QTableView* grid_ = nullptr;
  std::unique_ptr<ui::ColumnFitting> fitting_;
  LiveTableModel* model_ = nullptr;
  LiveWaveformPage* waveformPage_;
  LiveSpectrumPage* spectrumPage_;
  QRadioButton* primary_ = nullptr;
  QPushButton* pause_ = nullptr;
  QPushButton* continue_ = nullptr;
  QLabel* linkStatus_;
  QLabel* refreshStatus_;
};

}  // namespace pq::live
