#pragma once
// Catches Ctrl+C (and a polite kill) while an InterruptCatcher lives, so that a watch or a long
// transfer can end after the command in flight; the handlers before it come back after. The
// program's thread looks at caught() between its steps.
#include <csignal>

namespace korvex::cli {

namespace interrupt_detail {
inline volatile std::sig_atomic_t interrupted = 0;
inline void onInterrupt(int) {
    interrupted = 1;
}
} // namespace interrupt_detail

class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupt_detail::interrupted = 0;
        previousInt_ = std::signal(SIGINT, interrupt_detail::onInterrupt);
        previousTerm_ = std::signal(SIGTERM, interrupt_detail::onInterrupt);
    }
    ~InterruptCatcher() {
        std::signal(SIGINT, previousInt_);
        std::signal(SIGTERM, previousTerm_);
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;
    bool caught() const { return interrupt_detail::interrupted != 0; }

private:
    void (*previousInt_)(int) = SIG_DFL;
    void (*previousTerm_)(int) = SIG_DFL;
};

} // namespace korvex::cli
