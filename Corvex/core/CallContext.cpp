#include "CallContext.h"

#include <climits>

namespace corvex {

namespace {
constexpr unsigned kPumpStride = 16;      // points between looks at the clock
constexpr uint32_t kPumpIntervalMs = 10;  // between looks at the queue
constexpr uint32_t kSettingIntervalMs = 100;
} // namespace

OutputNames::OutputNames() = default;

uint32_t OutputNames::NextUnknown(uint32_t n) const {
    while (n <= kMaxOutputNumber) {
        if ((n >> 6) >= taken_.size())
            return n; // beyond every number marked
        uint64_t word = ~taken_[n >> 6] >> (n & 63);
        if (word != 0) {
            uint32_t found = n + uint32_t(__builtin_ctzll(word));
            return found <= kMaxOutputNumber ? found : kMaxOutputNumber + 1;
        }
        n = (n | 63) + 1;
    }
    return kMaxOutputNumber + 1;
}

CallContext::CallContext(Host &host, size_t cacheSize)
    : host_(host), style_(host.Style()), cacheSize_(cacheSize ? cacheSize : 1),
      lead_([&host](unsigned char b) { return host.IsLeadByte(b); }),
      pumping_(host.HasMessageQueue()) {}

void CallContext::PumpSlow() {
    if (!pumping_) {
        pumpCountdown_ = UINT_MAX; // nothing to dispatch: the points only count down
        return;
    }
    pumpCountdown_ = kPumpStride;
    uint32_t now = host_.TickMs();
    if (!looked_ || now - lastLook_ >= kPumpIntervalMs) {
        looked_ = true;
        lastLook_ = now;
        host_.PumpOneMessage();
    }
}

int32_t CallContext::SettingThreshold() {
    if (pinned_)
        return threshold_;
    uint32_t now = host_.TickMs();
    if (!thresholdRead_ || now - lastThresholdRead_ >= kSettingIntervalMs) {
        // The setting is meant to hold a short decimal string; its raw bytes are
        // read as text whatever the value's type, at most 10 of them.
        char text[11];
        host_.ReadThresholdSetting(text, sizeof text);
        text[10] = 0;
        threshold_ = ThresholdFromSetting(text);
        thresholdRead_ = true;
        lastThresholdRead_ = now;
    }
    return threshold_;
}

int32_t ParseDecimal(const char *text) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX)
            value = int64_t(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int32_t(value);
}

int32_t ThresholdFromSetting(const char *text) {
    int32_t n = ParseDecimal(text);
    return (n < 4 || n > 12) ? 8 : n;
}

} // namespace corvex
