#include "encoder/VX8Encoder.h"

#include <cstddef>
#include <vector>

// Line coding: each row is the cheapest sequence of copy codes 8 ... 255 followed by one
// finishing code, found by dynamic programming from the end of the row backwards. cost[x] is the
// fewest bytes that produce pixels x ... W - 1; every token costs a fixed number of bytes for any
// length in a range, so each step takes the minimum of cost[] over a sliding window of ends.

namespace {

constexpr uint32_t MaxCount = 255;

enum class TEscapeToken : uint8_t { Literal, Pair, Triple, Run, Copy, CopyRest };
enum class TRowToken : uint8_t { CopyCode, Raw, Escaped, Xor, Fill, CopyRest };

struct TStep {
    uint8_t Token = 0;
    uint32_t Length = 0;
};

// Minimum of cost[] over a window [lo, hi] whose bounds only move down: indices are added at the
// low end and expire at the high end.
class TWindowMin {
public:
    TWindowMin(const std::vector<uint32_t>& cost, size_t capacity)
        : cost_(cost)
        , index_(capacity)
    {
    }
    void Reset() { head_ = tail_ = 0; }
    void Add(uint32_t j)
    {
        while (tail_ > head_ && cost_[index_[tail_ - 1]] >= cost_[j]) {
            --tail_;
        }
        index_[tail_++] = j;
    }
    // The index of the cheapest end not above hi; the window must not be empty.
    uint32_t Best(uint32_t hi)
    {
        while (index_[head_] > hi) {
            ++head_;
        }
        return index_[head_];
    }

private:
    const std::vector<uint32_t>& cost_;
    std::vector<uint32_t> index_;
    size_t head_ = 0;
    size_t tail_ = 0;
};

class TLineCoder {
public:
    TLineCoder(uint16_t width, uint8_t e1, uint8_t e2)
        : w_(width)
        , e1_(e1)
        , e2_(e2)
        , run_(w_ + 1)
        , match_(w_ + 1)
        , xorRun_(w_ + 1)
        , diff_(w_)
        , escCost_(w_ + 1)
        , xorCost_(w_ + 1)
        , rowCost_(w_ + 1)
        , escStep_(w_)
        , xorStep_(w_)
        , rowStep_(w_)
    {
    }

    void EncodeRow(const uint8_t* row, const uint8_t* below, std::vector<uint8_t>& out,
        TVX8LineCodeCounts& counts)
    {
        MeasureRow(row, below);
        SolveEscapes(row, run_, below ? match_.data() : nullptr, escCost_, escStep_);
        if (below) {
            SolveEscapes(diff_.data(), xorRun_, nullptr, xorCost_, xorStep_);
        }
        SolveRow(below != nullptr);
        EmitRow(row, out, counts);
    }

private:
    bool IsEscape(uint8_t v) const { return v == e1_ || v == e2_; }

    // Run lengths of equal pixels and of pixels equal to the row below, from each x onwards.
    void MeasureRow(const uint8_t* row, const uint8_t* below)
    {
        run_[w_] = match_[w_] = xorRun_[w_] = 0;
        for (uint32_t x = w_; x-- > 0;) {
            bool sameNext = x + 1 < w_ && row[x + 1] == row[x];
            run_[x] = sameNext ? run_[x + 1] + 1 : 1;
            if (below) {
                match_[x] = row[x] == below[x] ? match_[x + 1] + 1 : 0;
                diff_[x] = static_cast<uint8_t>(row[x] ^ below[x]);
                bool sameDiff = x + 1 < w_ && diff_[x + 1] == diff_[x];
                xorRun_[x] = sameDiff ? xorRun_[x + 1] + 1 : 1;
            }
        }
    }

    void SolveEscapes(const uint8_t* px, const std::vector<uint32_t>& run, const uint32_t* match,
        std::vector<uint32_t>& cost, std::vector<TStep>& step)
    {
        TWindowMin runs(cost, w_ + 1);
        TWindowMin copies(cost, w_ + 1);
        cost[w_] = 0;
        for (uint32_t x = w_; x-- > 0;) {
            uint8_t v = px[x];
            bool escape = IsEscape(v);
            uint32_t r = run[x];
            TStep best {static_cast<uint8_t>(TEscapeToken::Literal), 1};
            uint32_t bestCost = (escape ? 2 : 1) + cost[x + 1];
            auto offer = [&](TEscapeToken token, uint32_t length, uint32_t c) {
                if (c < bestCost) {
                    bestCost = c;
                    best = {static_cast<uint8_t>(token), length};
                }
            };
            if (escape && r >= 2) {
                offer(TEscapeToken::Pair, 2, 2 + cost[x + 2]);
            }
            if (!escape && r >= 3) {
                offer(TEscapeToken::Triple, 3, 2 + cost[x + 3]);
            }
            if (r == 1) {
                runs.Reset();
            }
            if (r >= 3) {
                runs.Add(x + 3);
                uint32_t end = runs.Best(x + std::min(r, MaxCount));
                offer(TEscapeToken::Run, end - x, 3 + cost[end]);
            }
            uint32_t m = match ? match[x] : 0;
            if (m == 0) {
                copies.Reset();
            } else if (x + m == w_) {
                offer(TEscapeToken::CopyRest, m, 3);
            } else {
                copies.Add(x + 1);
                uint32_t end = copies.Best(x + std::min(m, MaxCount));
                offer(TEscapeToken::Copy, end - x, 3 + cost[end]);
            }
            cost[x] = bestCost;
            step[x] = best;
        }
    }

    void SolveRow(bool hasBelow)
    {
        TWindowMin copies(rowCost_, w_ + 1);
        rowCost_[w_] = 0;
        for (uint32_t x = w_; x-- > 0;) {
            uint32_t rest = w_ - x;
            TStep best {static_cast<uint8_t>(TRowToken::Raw), rest};
            uint32_t bestCost = 1 + rest;
            auto offer = [&](TRowToken token, uint32_t length, uint32_t c) {
                if (c < bestCost) {
                    bestCost = c;
                    best = {static_cast<uint8_t>(token), length};
                }
            };
            offer(TRowToken::Escaped, rest, 1 + escCost_[x]);
            if (run_[x] == rest) {
                offer(TRowToken::Fill, rest, 2);
            }
            if (hasBelow) {
                uint32_t m = match_[x];
                if (m == rest) {
                    offer(TRowToken::CopyRest, rest, 1);
                }
                if (x == 0) {
                    offer(TRowToken::Xor, rest, 1 + xorCost_[0]);
                }
                if (m < 8) {
                    copies.Reset();
                } else {
                    copies.Add(x + 8);
                    uint32_t end = copies.Best(x + std::min(m, MaxCount));
                    offer(TRowToken::CopyCode, end - x, 1 + rowCost_[end]);
                }
            }
            rowCost_[x] = bestCost;
            rowStep_[x] = best;
        }
    }

    void EmitEscapes(const uint8_t* px, uint32_t x, const std::vector<TStep>& step,
        std::vector<uint8_t>& out) const
    {
        while (x < w_) {
            TStep s = step[x];
            uint8_t v = px[x];
            switch (static_cast<TEscapeToken>(s.Token)) {
            case TEscapeToken::Literal:
                if (v == e1_) {
                    out.insert(out.end(), {e1_, 0});
                } else if (v == e2_) {
                    out.insert(out.end(), {e2_, e1_});
                } else {
                    out.push_back(v);
                }
                break;
            case TEscapeToken::Pair:
                out.insert(out.end(), {v, static_cast<uint8_t>(v == e1_ ? 1 : e2_)});
                break;
            case TEscapeToken::Triple:
                out.insert(out.end(), {e2_, v});
                break;
            case TEscapeToken::Run:
                out.insert(out.end(), {e1_, static_cast<uint8_t>(s.Length), v});
                break;
            case TEscapeToken::Copy:
                out.insert(out.end(), {e1_, 2, static_cast<uint8_t>(s.Length)});
                break;
            case TEscapeToken::CopyRest:
                out.insert(out.end(), {e1_, 2, 0});
                break;
            }
            x += s.Length;
        }
    }

    void EmitRow(const uint8_t* row, std::vector<uint8_t>& out, TVX8LineCodeCounts& counts) const
    {
        uint32_t x = 0;
        while (x < w_) {
            TStep s = rowStep_[x];
            switch (static_cast<TRowToken>(s.Token)) {
            case TRowToken::CopyCode:
                out.push_back(static_cast<uint8_t>(s.Length));
                ++counts[8];
                break;
            case TRowToken::Raw:
                out.push_back(0);
                out.insert(out.end(), row + x, row + w_);
                ++counts[0];
                break;
            case TRowToken::Escaped:
                out.push_back(1);
                EmitEscapes(row, x, escStep_, out);
                ++counts[1];
                break;
            case TRowToken::Xor:
                out.push_back(2);
                EmitEscapes(diff_.data(), x, xorStep_, out);
                ++counts[2];
                break;
            case TRowToken::Fill:
                out.insert(out.end(), {6, row[x]});
                ++counts[6];
                break;
            case TRowToken::CopyRest:
                out.push_back(7);
                ++counts[7];
                break;
            }
            x += s.Length;
        }
    }

    uint32_t w_;
    uint8_t e1_;
    uint8_t e2_;
    std::vector<uint32_t> run_;
    std::vector<uint32_t> match_;
    std::vector<uint32_t> xorRun_;
    std::vector<uint8_t> diff_;
    std::vector<uint32_t> escCost_;
    std::vector<uint32_t> xorCost_;
    std::vector<uint32_t> rowCost_;
    std::vector<TStep> escStep_;
    std::vector<TStep> xorStep_;
    std::vector<TStep> rowStep_;
};

} // namespace

void EncodeLineCoding(
    std::span<const uint8_t> rows, uint16_t width, uint16_t lines, TVX8EncodedSegment& segment)
{
    auto [e1, e2] = StartEscapedSegment(rows, width, lines, TVX8Coding::Lines, segment);
    size_t stride = SegmentRowStride(rows, width, lines);
    TLineCoder coder(width, e1, e2);
    for (size_t i = 0; i < lines; ++i) {
        const uint8_t* row = rows.data() + i * stride;
        const uint8_t* below = i == 0 ? nullptr : row - stride;
        coder.EncodeRow(row, below, segment.Stored, segment.LineCodes);
    }
}
