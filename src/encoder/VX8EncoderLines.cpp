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
        : FCost(cost)
        , FIndex(capacity)
    {
    }
    void Reset() { FHead = FTail = 0; }
    void Add(uint32_t j)
    {
        while (FTail > FHead && FCost[FIndex[FTail - 1]] >= FCost[j]) {
            --FTail;
        }
        FIndex[FTail++] = j;
    }
    // The index of the cheapest end not above hi; the window must not be empty.
    uint32_t Best(uint32_t hi)
    {
        while (FIndex[FHead] > hi) {
            ++FHead;
        }
        return FIndex[FHead];
    }

private:
    const std::vector<uint32_t>& FCost;
    std::vector<uint32_t> FIndex;
    size_t FHead = 0;
    size_t FTail = 0;
};

class TLineCoder {
public:
    TLineCoder(uint16_t width, uint8_t e1, uint8_t e2)
        : FWidth(width)
        , FEscape1(e1)
        , FEscape2(e2)
        , FRun(FWidth + 1)
        , FMatch(FWidth + 1)
        , FXorRun(FWidth + 1)
        , FDiff(FWidth)
        , FEscCost(FWidth + 1)
        , FXorCost(FWidth + 1)
        , FRowCost(FWidth + 1)
        , FEscStep(FWidth)
        , FXorStep(FWidth)
        , FRowStep(FWidth)
    {
    }

    void EncodeRow(const uint8_t* row, const uint8_t* below, std::vector<uint8_t>& out,
        TVX8LineCodeCounts& counts)
    {
        MeasureRow(row, below);
        SolveEscapes(row, FRun, below ? FMatch.data() : nullptr, FEscCost, FEscStep);
        if (below) {
            SolveEscapes(FDiff.data(), FXorRun, nullptr, FXorCost, FXorStep);
        }
        SolveRow(below != nullptr);
        EmitRow(row, out, counts);
    }

private:
    bool IsEscape(uint8_t v) const { return v == FEscape1 || v == FEscape2; }

    // Run lengths of equal pixels and of pixels equal to the row below, from each x onwards.
    void MeasureRow(const uint8_t* row, const uint8_t* below)
    {
        FRun[FWidth] = FMatch[FWidth] = FXorRun[FWidth] = 0;
        for (uint32_t x = FWidth; x-- > 0;) {
            bool sameNext = x + 1 < FWidth && row[x + 1] == row[x];
            FRun[x] = sameNext ? FRun[x + 1] + 1 : 1;
            if (below) {
                FMatch[x] = row[x] == below[x] ? FMatch[x + 1] + 1 : 0;
                FDiff[x] = static_cast<uint8_t>(row[x] ^ below[x]);
                bool sameDiff = x + 1 < FWidth && FDiff[x + 1] == FDiff[x];
                FXorRun[x] = sameDiff ? FXorRun[x + 1] + 1 : 1;
            }
        }
    }

    void SolveEscapes(const uint8_t* px, const std::vector<uint32_t>& run, const uint32_t* match,
        std::vector<uint32_t>& cost, std::vector<TStep>& step)
    {
        TWindowMin runs(cost, FWidth + 1);
        TWindowMin copies(cost, FWidth + 1);
        cost[FWidth] = 0;
        for (uint32_t x = FWidth; x-- > 0;) {
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
            } else if (x + m == FWidth) {
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
        TWindowMin copies(FRowCost, FWidth + 1);
        FRowCost[FWidth] = 0;
        for (uint32_t x = FWidth; x-- > 0;) {
            uint32_t rest = FWidth - x;
            TStep best {static_cast<uint8_t>(TRowToken::Raw), rest};
            uint32_t bestCost = 1 + rest;
            auto offer = [&](TRowToken token, uint32_t length, uint32_t c) {
                if (c < bestCost) {
                    bestCost = c;
                    best = {static_cast<uint8_t>(token), length};
                }
            };
            offer(TRowToken::Escaped, rest, 1 + FEscCost[x]);
            if (FRun[x] == rest) {
                offer(TRowToken::Fill, rest, 2);
            }
            if (hasBelow) {
                uint32_t m = FMatch[x];
                if (m == rest) {
                    offer(TRowToken::CopyRest, rest, 1);
                }
                if (x == 0) {
                    offer(TRowToken::Xor, rest, 1 + FXorCost[0]);
                }
                if (m < 8) {
                    copies.Reset();
                } else {
                    copies.Add(x + 8);
                    uint32_t end = copies.Best(x + std::min(m, MaxCount));
                    offer(TRowToken::CopyCode, end - x, 1 + FRowCost[end]);
                }
            }
            FRowCost[x] = bestCost;
            FRowStep[x] = best;
        }
    }

    void EmitEscapes(const uint8_t* px, uint32_t x, const std::vector<TStep>& step,
        std::vector<uint8_t>& out) const
    {
        while (x < FWidth) {
            TStep s = step[x];
            uint8_t v = px[x];
            switch (static_cast<TEscapeToken>(s.Token)) {
            case TEscapeToken::Literal:
                if (v == FEscape1) {
                    out.insert(out.end(), {FEscape1, 0});
                } else if (v == FEscape2) {
                    out.insert(out.end(), {FEscape2, FEscape1});
                } else {
                    out.push_back(v);
                }
                break;
            case TEscapeToken::Pair:
                out.insert(out.end(), {v, static_cast<uint8_t>(v == FEscape1 ? 1 : FEscape2)});
                break;
            case TEscapeToken::Triple:
                out.insert(out.end(), {FEscape2, v});
                break;
            case TEscapeToken::Run:
                out.insert(out.end(), {FEscape1, static_cast<uint8_t>(s.Length), v});
                break;
            case TEscapeToken::Copy:
                out.insert(out.end(), {FEscape1, 2, static_cast<uint8_t>(s.Length)});
                break;
            case TEscapeToken::CopyRest:
                out.insert(out.end(), {FEscape1, 2, 0});
                break;
            }
            x += s.Length;
        }
    }

    void EmitRow(const uint8_t* row, std::vector<uint8_t>& out, TVX8LineCodeCounts& counts) const
    {
        uint32_t x = 0;
        while (x < FWidth) {
            TStep s = FRowStep[x];
            switch (static_cast<TRowToken>(s.Token)) {
            case TRowToken::CopyCode:
                out.push_back(static_cast<uint8_t>(s.Length));
                ++counts[8];
                break;
            case TRowToken::Raw:
                out.push_back(0);
                out.insert(out.end(), row + x, row + FWidth);
                ++counts[0];
                break;
            case TRowToken::Escaped:
                out.push_back(1);
                EmitEscapes(row, x, FEscStep, out);
                ++counts[1];
                break;
            case TRowToken::Xor:
                out.push_back(2);
                EmitEscapes(FDiff.data(), x, FXorStep, out);
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

    uint32_t FWidth;
    uint8_t FEscape1;
    uint8_t FEscape2;
    std::vector<uint32_t> FRun;
    std::vector<uint32_t> FMatch;
    std::vector<uint32_t> FXorRun;
    std::vector<uint8_t> FDiff;
    std::vector<uint32_t> FEscCost;
    std::vector<uint32_t> FXorCost;
    std::vector<uint32_t> FRowCost;
    std::vector<TStep> FEscStep;
    std::vector<TStep> FXorStep;
    std::vector<TStep> FRowStep;
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
