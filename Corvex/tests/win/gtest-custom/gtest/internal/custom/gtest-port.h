// GoogleTest customisation for MinGW-w64 with the win32 thread model, whose
// standard library has no std::mutex or std::condition_variable. GoogleTest
// needs them only for Notification, which starts its own test threads; the
// test programs here never start threads, so a flag that is polled will do.
#ifndef QUILLBOX_GTEST_CUSTOM_PORT_H_
#define QUILLBOX_GTEST_CUSTOM_PORT_H_

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : notified_(false) {}
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_;
};

} // namespace internal
} // namespace testing

#endif
