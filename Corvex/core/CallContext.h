// What one exported call carries through all its layers: the host, the
// rate limits of the message pump and of the threshold setting, the
// double-byte table and the output names this call knows to be taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Cp932.h"
#include "host.h"

namespace corvex {

// Output names run from 1 to kMaxOutputNumber by "%5.5d.eml": five digits
// up to 99999.eml, then 100000.eml on to 9999999.eml.
constexpr uint32_t kMaxOutputNumber = 9999999;
constexpr size_t kDefaultCacheSize = 256 * 1024;

// Remembers, for one output folder and one call, which numbers are known to
// be taken (found taken or created here) and which this call created, so that
// later files of the call need not ask the file system again.
class OutputNames {
public:
    OutputNames();
    bool Created(uint32_t n) const { return Test(created_, n); }
    void MarkTaken(uint32_t n) { Set(taken_, n); }
    void MarkCreated(uint32_t n) {
        Set(created_, n);
        Set(taken_, n);
        anyCreated_ = true;
    }
    bool AnyCreated() const { return anyCreated_; }
    // Whether this call's last output file went into the folder just now, so
    // that the folder is known to stand until a create fails.
    bool folderReady = false;
    // The smallest number >= n that is not known to be taken, or
    // kMaxOutputNumber + 1 when there is none.
    uint32_t NextUnknown(uint32_t n) const;

private:
    // The bits grow as far as the highest number marked, so that a call
    // that writes a few files keeps a few words.
    static bool Test(const std::vector<uint64_t> &bits, uint32_t n) {
        return (n >> 6) < bits.size() && ((bits[n >> 6] >> (n & 63)) & 1u);
    }
    static void Set(std::vector<uint64_t> &bits, uint32_t n) {
        if ((n >> 6) >= bits.size())
            bits.resize((n >> 6) + 1, 0);
        bits[n >> 6] |= uint64_t(1) << (n & 63);
    }
    std::vector<uint64_t> taken_, created_;
    bool anyCreated_ = false;
};

class CallContext {
public:
    explicit CallContext(Host &host, size_t cacheSize = kDefaultCacheSize);

    Host &host() { return host_; }
    PathStyle style() const { return style_; }
    char separator() const { return style_ == PathStyle::Windows ? '\\' : '/'; }
    bool IsLead(unsigned char b) const { return lead_.IsLead(b); }
    const quillbox::LeadBytes &leadBytes() const { return lead_; }
    size_t cacheSize() const { return cacheSize_; }
    OutputNames &names() { return names_; }
    // Forgets the output names known, when the files that follow go into
    // another folder.
    void ResetNames() { names_ = OutputNames(); }
    // While a tree is read: the length of the output folder given, below
    // which every missing level of an output path is made (also on a
    // network path, where otherwise only the last level is); 0 otherwise.
    size_t treeOutputLength = 0;

    // One point where the caller's window messages are kept moving. The queue
    // is looked at only when 10 ms have passed since the last look (the first
    // point of a call always looks), and the clock only every few points.
    void Pump() {
        if (--pumpCountdown_ == 0)
            PumpSlow();
    }
    // Right after the caller's progress callback, which may have run a while
    // (and posted messages), the clock is looked at whatever the stride.
    void PumpAfterCallback() { PumpSlow(); }
    // n pump points passed at once (a point looks at most once anyway).
    void PumpPoints(unsigned n) {
        if (n >= pumpCountdown_)
            PumpSlow();
        else
            pumpCountdown_ -= n;
    }
    // The threshold that the setting chooses (4 to 12, otherwise 8), read
    // afresh when 100 ms have passed since the last read (always the first time).
    int32_t SettingThreshold();
    // Pins the setting's threshold for the rest of the call (tests and fuzzing
    // reach thresholds that the setting itself cannot choose).
    void PinThreshold(int32_t threshold) {
        threshold_ = threshold;
        pinned_ = true;
    }

private:
    void PumpSlow();

    Host &host_;
    PathStyle style_;
    size_t cacheSize_;
    quillbox::LeadBytes lead_;
    OutputNames names_;
    bool pumping_;
    unsigned pumpCountdown_ = 1;
    bool looked_ = false;
    uint32_t lastLook_ = 0;
    bool thresholdRead_ = false;
    uint32_t lastThresholdRead_ = 0;
    int32_t threshold_ = 8;
    bool pinned_ = false;
};

// Reads a decimal number as the C library's atoi does (leading white space,
// an optional sign, digits up to the first other byte; none give 0), with the
// value held within the int32 range instead of overflowing.
int32_t ParseDecimal(const char *text);
// The threshold a setting text chooses: its number when 4 to 12, else 8.
int32_t ThresholdFromSetting(const char *text);

} // namespace corvex
