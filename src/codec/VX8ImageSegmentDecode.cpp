#include "codec/VX8ImageSegment.h"

#include "common/KelException.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// The stored bytes of a segment, each read once and in order.
class TStoredBytes {
public:
    TStoredBytes(const uint8_t* data, std::size_t size)
        : Pos(data)
        , End(data + size)
    {
    }

    bool AtEnd() const { return Pos == End; }

    uint8_t Next()
    {
        if (Pos == End)
            Overflow();
        return *Pos++;
    }

    const uint8_t* Take(std::size_t count)
    {
        if (static_cast<std::size_t>(End - Pos) < count)
            Overflow();
        const uint8_t* taken = Pos;
        Pos += count;
        return taken;
    }

private:
    const uint8_t* Pos;
    const uint8_t* End;

    [[noreturn]] static void Overflow() { throw VX8Exception("Decode: source buffer overflow"); }
};

[[noreturn]] void LineOverflow()
{
    throw VX8Exception("Decode: output line overflow");
}

// A run of pixels read from the stored bytes.
struct TRun {
    uint8_t Value;
    uint16_t Count;
};

// One row being decoded: its pixels, the row below it in the buffer (none for row 0) and the
// pixels done so far.
struct TRowCursor {
    uint8_t* Row;
    const uint8_t* Below;
    uint16_t Width;
    uint16_t X = 0;

    uint16_t Left() const { return static_cast<uint16_t>(Width - X); }

    void Fill(uint8_t value, uint16_t count)
    {
        if (count > Left())
            LineOverflow();
        std::memset(Row + X, value, count);
        X = static_cast<uint16_t>(X + count);
    }

    void CopyFromBelow(uint16_t count)
    {
        if (count > Left())
            LineOverflow();
        std::memcpy(Row + X, Below + X, count);
        X = static_cast<uint16_t>(X + count);
    }
};

// E2, c: one E2 when c is E1, two E2 when c is E2, otherwise three c.
TRun SecondEscapeRun(TStoredBytes& in, uint8_t e1, uint8_t e2)
{
    const uint8_t c = in.Next();
    if (c == e1)
        return {e2, 1};
    if (c == e2)
        return {e2, 2};
    return {c, 3};
}

// Escape-coded pixels until the row is full.
void DecodeEscaped(TStoredBytes& in, TRowCursor& row, uint8_t e1, uint8_t e2)
{
    while (row.X < row.Width) {
        const uint8_t b = in.Next();
        if (b == e2) {
            const TRun run = SecondEscapeRun(in, e1, e2);
            row.Fill(run.Value, run.Count);
        } else if (b != e1) {
            row.Fill(b, 1);
        } else {
            const uint8_t n = in.Next();
            if (n == 0 || n == 1) {
                row.Fill(e1, static_cast<uint16_t>(n + 1));
            } else if (n == 2) {
                const uint8_t m = in.Next();
                if (row.Below == nullptr)
                    throw VX8Exception("Decode: copy from the row below on row 0");
                row.CopyFromBelow(m == 0 ? row.Left() : m);
            } else {
                row.Fill(in.Next(), n);
            }
        }
    }
}

// One row of line codes: any number of copies from the row below (codes 8 ... 255), then one
// finishing code unless the copies alone fill the row.
void DecodeRowCodes(TStoredBytes& in, TRowCursor& row, uint8_t e1, uint8_t e2, bool rawLines)
{
    while (row.X < row.Width) {
        if (in.AtEnd())
            throw VX8Exception("Decode: source buffer overflow");
        const uint8_t code = rawLines ? 0 : in.Next();
        if (row.Below == nullptr && (code == 2 || code >= 7))
            throw VX8Exception("Decode: invalid line code");
        const uint16_t left = row.Left();
        switch (code) {
        case 0:
            std::memcpy(row.Row + row.X, in.Take(left), left);
            row.X = row.Width;
            break;
        case 1:
        case 3:
        case 4:
        case 5:
            DecodeEscaped(in, row, e1, e2);
            break;
        case 2:
            DecodeEscaped(in, row, e1, e2);
            for (uint16_t x = 0; x < row.Width; ++x)
                row.Row[x] ^= row.Below[x];
            break;
        case 6:
            row.Fill(in.Next(), left);
            break;
        case 7:
            row.CopyFromBelow(left);
            break;
        default:
            row.CopyFromBelow(code);
            break;
        }
    }
}

// Runs in the run-only coding: E1 escapes a count (0 and 1 mean one and two E1).
TRun NextPlainRun(TStoredBytes& in, uint8_t e1, uint8_t e2)
{
    const uint8_t b = in.Next();
    if (b == e2)
        return SecondEscapeRun(in, e1, e2);
    if (b != e1)
        return {b, 1};
    const uint8_t n = in.Next();
    if (n == 0 || n == 1)
        return {e1, static_cast<uint16_t>(n + 1)};
    return {in.Next(), n};
}

// The geometry of the rows being written: L rows of stride bytes, W pixels each.
struct TRowsLayout {
    uint8_t* Rows;
    uint16_t Lines;
    uint16_t Width;
    uint16_t Stride;

    uint8_t* Row(uint16_t i) const { return Rows + std::size_t {i} * Stride; }
    void ClearFiller(uint16_t i) const { std::memset(Row(i) + Width, 0, Stride - Width); }
};

// Line decoding: every row starts afresh with its line codes.
void DecodeLines(TStoredBytes& in, const TRowsLayout& out, uint8_t e1, uint8_t e2, bool rawLines)
{
    for (uint16_t i = 0; i < out.Lines; ++i) {
        TRowCursor row {out.Row(i), i == 0 ? nullptr : out.Row(i) - out.Stride, out.Width};
        DecodeRowCodes(in, row, e1, e2, rawLines);
        out.ClearFiller(i);
    }
}

// Run-only decoding: one sequence of runs over all rows; a run may go on into the next row.
void DecodeRunsOnly(TStoredBytes& in, const TRowsLayout& out, uint8_t e1, uint8_t e2)
{
    TRun pending {0, 0};
    for (uint16_t i = 0; i < out.Lines; ++i) {
        TRowCursor row {out.Row(i), nullptr, out.Width};
        while (row.X < row.Width) {
            if (pending.Count == 0)
                pending = NextPlainRun(in, e1, e2);
            const uint16_t count = std::min(pending.Count, row.Left());
            row.Fill(pending.Value, count);
            pending.Count = static_cast<uint16_t>(pending.Count - count);
        }
        out.ClearFiller(i);
    }
}

} // namespace

void TVX8ImageSegment::Decode(uint16_t width, uint16_t height)
{
    if ((Flags & FlagEncoded) == 0)
        return;
    const TVX8SegmentBuffer stored = Detach();
    const uint16_t lines = SegmentLines(width, height, SegmentIndex);
    const uint16_t stride = RowStride(width);
    const uint32_t bytes = uint32_t {lines} * stride;
    if (bytes > SegmentLimit)
        throw VX8Exception("Decode: segment larger than 65280 bytes");
    Allocate(static_cast<uint16_t>(bytes), TAllocation::Decoded);
    const TRowsLayout out {Lock(), lines, width, stride};
    try {
        TStoredBytes in(stored.Data.get(), stored.Size);
        if ((Flags & FlagRunsOnly) != 0)
            DecodeRunsOnly(in, out, Escape1, Escape2);
        else
            DecodeLines(in, out, Escape1, Escape2, (Flags & FlagRawLines) != 0);
    } catch (...) {
        FreeBuffer();
        throw;
    }
    Unlock();
}
