#pragma once
// TrafficWindow ("Traffic"): the non-modal view of what goes over the serial line, line by line
// in the wire trace's text form, with a filter, Pause, Clear and "Save trace…". The link's
// recorder is turned on when the window is first shown and stays on for the rest of the run (the
// ring is set aside then; a closed window's lines wait in the ring, and come in when it is shown
// again). While shown, a timer takes what the recorder holds beyond the last line seen, batch by
// batch, and the grid follows the newest line unless the user has scrolled up. Window thread only.
#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace korvex::ui::window {
class ConfigTool;
}

namespace korvex::ui::models {
class TrafficModel;
}

namespace korvex::ui::dialogs {

class TrafficWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 100;
    // Batches of the recorder taken at most per poll, so catching up never holds up the window.
    static constexpr int kBatchesPerPoll = 8;

    explicit TrafficWindow(window::ConfigTool& tool);

    QTableView* grid() const { return grid_; }
    models::TrafficModel* model() const { return model_; }
    QLineEdit* filterBox() const { return filter_; }
    QPushButton* pauseButton() const { return pause_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* saveButton() const { return save_; }
    QString countShown() const;
    QString messageShown() const;

    // Takes in what the recorder holds beyond the last line seen (the timer's work).
    void poll();
    void clearTrace();
    // Asks for a file and writes every line held to it; false when nothing was written.
    bool saveTrace();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLayout* buildTopRow();
    void startRecording();
    void setPaused(bool paused);
    void showCount();

    window::ConfigTool& tool_;
    models::TrafficModel* model_;
    QTableView* grid_;
    QLineEdit* filter_;
    QPushButton* pause_;
    QPushButton* clear_;
    QPushButton* save_;
    QLabel* count_;
    QLabel* message_;
    QTimer* timer_;
    std::uint64_t seen_ = 0; // number of the last event taken from the recorder
    bool recording_ = false;
};

} // namespace korvex::ui::dialogs
