#pragma once
// Options the window keeps from one run to the next, in the user's settings ("Korvex",
// "korvex-config"). Window thread only. Kept apart so that a settings store for the whole window
// can take them over.
namespace korvex::ui::window::stored {

// "Wait for line silence after every reply" on the Connect page (off unless chosen).
bool waitForSilence();
void setWaitForSilence(bool on);
// "Verify after sending" on the Connect page (off unless chosen).
bool verifyAfterSend();
void setVerifyAfterSend(bool on);

// The View Data page's seconds between watch cycles (2 unless changed).
double watchIntervalSeconds();
void setWatchIntervalSeconds(double seconds);

} // namespace korvex::ui::window::stored
