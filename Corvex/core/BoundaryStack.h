// The boundaries in force in the current message's body: its own multipart
// first, then those of the parts and enclosed messages inside it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "MultipartSkip.h"
#include "Reader.h"
#include "TextLine.h"

namespace corvex {

class BoundaryStack {
public:
    // Deeper nesting is not tracked: its lines are read as any other.
    static constexpr size_t kLevels = 64;

    enum class LineKind { Other, Delimiter, Closing };

    bool Empty() const { return depth_ == 0; }
    size_t Depth() const { return depth_; }
    void Clear() { depth_ = 0; }
    // A boundary ("--" and its value) declared inside the innermost level.
    // The levels' buffers are kept for the next messages.
    void Push(const std::string &delimiter) {
        if (depth_ == kLevels)
            return;
        if (depth_ == levels_.size())
            levels_.emplace_back();
        levels_[depth_].delimiter = delimiter;
        levels_[depth_].skip.Reset();
        ++depth_;
    }
    // Ends the levels from level on.
    void EndFrom(size_t level) {
        if (level < depth_)
            depth_ = level;
    }
    const std::string &Delimiter(size_t level) const { return levels_[level].delimiter; }
    // The look for the level's closing line, kept with it: many delimiter
    // lines of one boundary, or of several in turn, cost one look each.
    MultipartSkip &Skip(size_t level) { return levels_[level].skip; }

    // What a line is to the boundaries in force, and to which level.
    struct LineMatch {
        LineKind kind = LineKind::Other;
        size_t level = 0;
    };

    // Whether the line is a delimiter line of a level (the delimiter, then
    // only blanks) or a closing line of one (the delimiter and "--"), the
    // innermost level first.
    LineMatch Match(Reader &data, const TextLine &line) const {
        if (line.length < 2 || line.head[0] != '-' || line.head[1] != '-')
            return {};
        const uint64_t trimmed = line.TrimmedLength(data);
        for (size_t k = depth_; k-- > 0;) {
            const std::string &d = levels_[k].delimiter;
            // A boundary may itself end in blanks, though the standard forbids it.
            if (trimmed <= d.size() && line.length >= d.size() && line.BeginsWith(data, d.data(), d.size()))
                return {LineKind::Delimiter, k};
        }
        for (size_t k = depth_; k-- > 0;) {
            const std::string &d = levels_[k].delimiter;
            if (line.BeginsWith(data, d.data(), d.size()) && line.length >= d.size() + 2 &&
                line.At(data, d.size()) == '-' && line.At(data, d.size() + 1) == '-')
                return {LineKind::Closing, k};
        }
        return {};
    }

private:
    struct Level {
        std::string delimiter;
        MultipartSkip skip;
    };
    std::vector<Level> levels_;
    size_t depth_ = 0;
};

} // namespace corvex
