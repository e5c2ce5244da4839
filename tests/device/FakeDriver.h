#pragma once
// A scripted serial driver for the link and engine tests: each read takes the next scripted
// step (bytes, a quiet poll, or a failure) and an empty script reads as a quiet line. Every
// call is recorded. An optional fake clock advances by each step's cost, so budgets can be
// tested without waiting.
#include "LinkMode.h"
#include "device/link/SerialPortDriver.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace korvex::device::test {

class FakeClock {
public:
    std::int64_t now() const { return micros_.load(); }
    void advanceMs(int ms) { micros_ += std::int64_t{ms} * 1000; }

private:
    std::atomic<std::int64_t> micros_{0};
};

class FakeDriver : public SerialPortDriver {
public:
    struct Step {
        std::string bytes; // empty: a quiet poll
        bool fail = false;
        int costMs = 0; // how long the step takes on the fake clock (quiet polls: 100)
    };

    explicit FakeDriver(FakeClock* clock = nullptr) : clock_(clock) {}

    // Script.
    void reply(const std::string& bytes, int costMs = 0) { push({bytes, false, costMs}); }
    void quiet() { push({"", false, 100}); }
    void failRead() { push({"", true, 0}); }
    // Bytes that arrive after a reply ended and wait on the line until the next flush.
    void waitBeforeFlush(const std::string& bytes) {
        std::lock_guard lock(mutex_);
        waiting_ += bytes;
    }
    void failWrites(bool fail) { failWrites_ = fail; }
    void refuseOpen(bool refuse) { refuseOpen_ = refuse; }

    // Record.
    int opens() const { return opens_; }
    int closes() const { return closes_; }
    int flushes() const { return flushes_; }
    int reads() const { return reads_.load(); }
    std::vector<std::string> writes() const {
        std::lock_guard lock(mutex_);
        return writes_;
    }
    std::string lastPath() const { return lastPath_; }

    bool open(const std::string& path) override {
        ++opens_;
        lastPath_ = path;
        open_ = !refuseOpen_;
        return open_;
    }
    bool isOpen() override { return open_; }
    void close() override {
        ++closes_;
        open_ = false;
    }
    // Drops (and counts) what waitBeforeFlush() left waiting.
    int flushInput() override {
        ++flushes_;
        std::lock_guard lock(mutex_);
        const int dropped = static_cast<int>(waiting_.size());
        waiting_.clear();
        return dropped;
    }
    bool write(const char* data, std::size_t length) override {
        std::lock_guard lock(mutex_);
        writes_.emplace_back(data, length);
        return !failWrites_;
    }
    int read(char* dest, std::size_t capacity, int) override {
        ++reads_;
        Step step;
        {
            std::lock_guard lock(mutex_);
            if (script_.empty()) {
                step = Step{"", false, 100};
            } else {
                step = script_.front();
                script_.pop_front();
            }
        }
        if (clock_) clock_->advanceMs(step.costMs);
        if (step.fail) return -1;
        const std::size_t n = std::min(capacity, step.bytes.size());
        std::memcpy(dest, step.bytes.data(), n);
        return static_cast<int>(n);
    }

private:
    void push(Step step) {
        std::lock_guard lock(mutex_);
        script_.push_back(std::move(step));
    }

    FakeClock* clock_;
    mutable std::mutex mutex_;
    std::deque<Step> script_;
    std::vector<std::string> writes_;
    std::string waiting_;
    std::atomic<int> reads_{0};
    std::atomic<int> opens_{0};
    std::atomic<int> closes_{0};
    std::atomic<int> flushes_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> failWrites_{false};
    std::atomic<bool> refuseOpen_{false};
    std::string lastPath_;
};

} // namespace korvex::device::test
