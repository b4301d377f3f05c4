#include "puzzle/PuzzleBoard.h"

#include "common/KelStd.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

constexpr int32_t MaxColours = 256;
constexpr uint8_t NoArmsUp = static_cast<uint8_t>(~(ArmNorthWest | ArmNorth | ArmNorthEast));
constexpr uint8_t NoArmsDown = static_cast<uint8_t>(~(ArmSouthEast | ArmSouth | ArmSouthWest));
constexpr uint8_t NoArmsLeft = static_cast<uint8_t>(~(ArmSouthWest | ArmWest | ArmNorthWest));
constexpr uint8_t NoArmsRight = static_cast<uint8_t>(~(ArmNorthEast | ArmEast | ArmSouthEast));

constexpr std::string_view ColumnKeys = "ABCDEFGHIJK";
constexpr std::string_view RowKeys = "1234567890";

char32_t UpperAsciiLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') ? static_cast<char32_t>(c - U'a' + U'A') : c;
}

} // namespace

TPuzzleBoard::TPuzzleBoard(int32_t numColours)
    : FNumColours(Clamp(numColours, 1, MaxColours))
{
}

void TPuzzleBoard::SetCols(int32_t n)
{
    if (n >= MinLines && n <= MaxLines)
        FCols = static_cast<uint8_t>(n);
}

void TPuzzleBoard::SetRows(int32_t n)
{
    if (n >= MinLines && n <= MaxLines)
        FRows = static_cast<uint8_t>(n);
}

void TPuzzleBoard::NewPuzzle(TRandomSource& random)
{
    const int32_t cols = Cols();
    const int32_t rows = Rows();

    // Each colour is dropped with a chance of 40 in 100, but one always stays.
    std::array<bool, MaxColours> allowed {};
    std::fill_n(allowed.begin(), FNumColours, true);
    for (int32_t k = FNumColours - 1; k >= 0; --k)
        if (random.Random(100) < 40)
            allowed[k] = false;
    if (std::none_of(allowed.begin(), allowed.end(), [](bool a) { return a; }))
        allowed[random.Random(FNumColours)] = true;

    // Colours for every slot, drawn until an allowed one comes up.
    for (int32_t c = 1; c <= cols; ++c)
        for (int32_t r = 1; r <= rows; ++r)
            for (uint8_t& slot : Current.Cell(c, r).ArmColours) {
                int32_t colour;
                do
                    colour = random.Random(FNumColours);
                while (!allowed[colour]);
                slot = static_cast<uint8_t>(colour);
            }

    // The target gets the same colours, over the whole storage.
    for (int32_t c = 1; c <= StorageLines; ++c)
        for (int32_t r = 1; r <= StorageLines; ++r)
            Target.Cell(c, r).ArmColours = Current.Cell(c, r).ArmColours;

    // Random arms, made symmetric and kept on the board, until the picture is not uniform.
    do {
        uint8_t mask = 0xFF;
        for (int32_t i = 0; i < 2; ++i)
            if (random.Random(100) < 50)
                mask &= static_cast<uint8_t>(~AxisMask(random.Random(100) % 4));

        for (int32_t c = 1; c <= cols; ++c)
            for (int32_t r = 1; r <= rows; ++r)
                Current.Cell(c, r).Arms = static_cast<uint8_t>(random.Random(256) & mask);

        // Down the columns: no arm leaves the top or bottom row, and the arms that face each
        // other across a row boundary agree.
        for (int32_t c = 1; c <= cols; ++c) {
            Current.Cell(c, 1).Arms &= NoArmsUp;
            Current.Cell(c, rows).Arms &= NoArmsDown;
            for (int32_t r = 1; r < rows; ++r) {
                TRoadCell& cell = Current.Cell(c, r);
                if (c > 1)
                    LinkArms(random, cell, ArmSouthWest, Current.Cell(c - 1, r + 1), ArmNorthEast);
                if (c < cols)
                    LinkArms(random, cell, ArmSouthEast, Current.Cell(c + 1, r + 1), ArmNorthWest);
                LinkArms(random, cell, ArmSouth, Current.Cell(c, r + 1), ArmNorth);
            }
        }

        // Along the rows likewise, for the first and last column and the east-west pairs.
        for (int32_t r = 1; r <= rows; ++r) {
            Current.Cell(1, r).Arms &= NoArmsLeft;
            Current.Cell(cols, r).Arms &= NoArmsRight;
            for (int32_t c = 1; c < cols; ++c)
                LinkArms(random, Current.Cell(c, r), ArmEast, Current.Cell(c + 1, r), ArmWest);
        }
    } while (ArmsUniform());

    // The whole storage again, so that the target equals the current board.
    for (int32_t c = 1; c <= StorageLines; ++c)
        for (int32_t r = 1; r <= StorageLines; ++r)
            Target.Cell(c, r).Arms = Current.Cell(c, r).Arms;
}

// Two facing arms that disagree are both cleared or, three times as often, both set.
void TPuzzleBoard::LinkArms(
    TRandomSource& random, TRoadCell& a, uint8_t armA, TRoadCell& b, uint8_t armB)
{
    const bool hasA = (a.Arms & armA) != 0;
    const bool hasB = (b.Arms & armB) != 0;
    if (hasA == hasB)
        return;
    if (random.Random(100) < 25) {
        a.Arms &= static_cast<uint8_t>(~armA);
        b.Arms &= static_cast<uint8_t>(~armB);
    } else {
        a.Arms |= armA;
        b.Arms |= armB;
    }
}

bool TPuzzleBoard::ArmsUniform() const
{
    const uint8_t first = Current.Cell(1, 1).Arms;
    for (int32_t c = 1; c <= Cols(); ++c)
        for (int32_t r = 1; r <= Rows(); ++r)
            if (Current.Cell(c, r).Arms != first)
                return false;
    return true;
}

// Every rotation of a line of odd length is an even permutation of the cells, so on a board of
// odd sides a board of distinct tiles is reached only in an even arrangement; a repeated tile
// lets rotations swap it with its twin, and a line of even length gives odd permutations.
bool TPuzzleBoard::RotationsReachTarget() const
{
    std::vector<TRoadCell> current, target;
    for (int32_t c = 1; c <= Cols(); ++c)
        for (int32_t r = 1; r <= Rows(); ++r) {
            current.push_back(Current.Cell(c, r));
            target.push_back(Target.Cell(c, r));
        }
    if (!std::is_permutation(current.begin(), current.end(), target.begin(), target.end()))
        return false;
    if (Cols() % 2 == 0 || Rows() % 2 == 0)
        return true;
    std::vector<std::size_t> home(current.size());
    for (std::size_t i = 0; i < current.size(); ++i) {
        const auto first = std::find(target.begin(), target.end(), current[i]);
        if (std::find(first + 1, target.end(), current[i]) != target.end())
            return true;
        home[i] = static_cast<std::size_t>(first - target.begin());
    }
    // Each cycle of length n takes n - 1 transpositions.
    bool odd = false;
    std::vector<bool> visited(home.size());
    for (std::size_t i = 0; i < home.size(); ++i)
        for (std::size_t j = i; !visited[j]; j = home[j]) {
            visited[j] = true;
            if (home[j] != i)
                odd = !odd;
        }
    return !odd;
}

void TPuzzleBoard::ShiftColumnUp(int32_t col)
{
    if (!OnBoard(col, 1))
        return;
    const TRoadCell first = Current.Cell(col, 1);
    for (int32_t r = 2; r <= Rows(); ++r)
        Current.Cell(col, r - 1) = Current.Cell(col, r);
    Current.Cell(col, Rows()) = first;
}

void TPuzzleBoard::ShiftColumnDown(int32_t col)
{
    if (!OnBoard(col, 1))
        return;
    const TRoadCell last = Current.Cell(col, Rows());
    for (int32_t r = Rows(); r >= 2; --r)
        Current.Cell(col, r) = Current.Cell(col, r - 1);
    Current.Cell(col, 1) = last;
}

void TPuzzleBoard::ShiftRowLeft(int32_t row)
{
    if (!OnBoard(1, row))
        return;
    const TRoadCell first = Current.Cell(1, row);
    for (int32_t c = 2; c <= Cols(); ++c)
        Current.Cell(c - 1, row) = Current.Cell(c, row);
    Current.Cell(Cols(), row) = first;
}

void TPuzzleBoard::ShiftRowRight(int32_t row)
{
    if (!OnBoard(1, row))
        return;
    const TRoadCell last = Current.Cell(Cols(), row);
    for (int32_t c = Cols(); c >= 2; --c)
        Current.Cell(c, row) = Current.Cell(c - 1, row);
    Current.Cell(1, row) = last;
}

bool TPuzzleBoard::IsArrow(bool isColumn, int32_t index) const
{
    return index >= 1 && index <= 2 * (isColumn ? Cols() : Rows());
}

void TPuzzleBoard::ApplyArrow(bool isColumn, int32_t index)
{
    if (!IsArrow(isColumn, index))
        return;
    if (isColumn) {
        if (index <= Cols())
            ShiftColumnUp(index);
        else
            ShiftColumnDown(index - Cols());
    } else {
        if (index <= Rows())
            ShiftRowLeft(index);
        else
            ShiftRowRight(index - Rows());
    }
}

TPuzzleBoard TPuzzleBoard::Apply(TArrow arrow) const
{
    TPuzzleBoard after = *this;
    after.ApplyArrow(arrow.IsColumn, arrow.Index);
    return after;
}

bool TPuzzleBoard::OnBoard(int32_t col, int32_t row) const
{
    return col >= 1 && col <= Cols() && row >= 1 && row <= Rows();
}

bool TPuzzleBoard::CellSolved(int32_t col, int32_t row) const
{
    if (!OnBoard(col, row))
        return true;
    const TRoadCell& now = Current.Cell(col, row);
    const TRoadCell& goal = Target.Cell(col, row);
    if (now.Arms != goal.Arms)
        return false;
    if (now.Arms == 0)
        return now.ArmColours[EndCapSlot] == goal.ArmColours[EndCapSlot];
    for (int32_t k = 0; k < ArmSlots; ++k)
        if ((now.Arms & (1u << k)) != 0 && now.ArmColours[k] != goal.ArmColours[k])
            return false;
    return true;
}

bool TPuzzleBoard::IsSolved() const
{
    for (int32_t c = 1; c <= Cols(); ++c)
        for (int32_t r = 1; r <= Rows(); ++r)
            if (!CellSolved(c, r))
                return false;
    return true;
}

std::vector<TLineMove> TPuzzleBoard::ScrambleStep(TRandomSource& random)
{
    std::vector<TLineMove> moves;
    // n lines of length m in the current direction.
    bool columns = random.Random(100) < 50;
    int32_t n = columns ? Cols() : Rows();
    int32_t m = columns ? Rows() : Cols();
    std::array<bool, MaxLines + 1> used {};
    int32_t count = 0;

    // Distinct lines per direction, each turned the shorter way round.
    for (int32_t i = 0; i < ScrambleRotations; ++i) {
        int32_t line;
        do
            line = random.Random(n * 1000) % n + 1;
        while (used[line]);
        used[line] = true;
        ++count;

        int32_t amount = random.Random((m - 1) * 1000) % (m - 1) + 1;
        const bool reversed = amount * 2 > m;
        if (reversed)
            amount = m - amount;

        for (int32_t a = 0; a < amount; ++a) {
            moves.push_back({columns, line});
            if (columns) {
                if (reversed)
                    ShiftColumnDown(line);
                else
                    ShiftColumnUp(line);
            } else {
                if (reversed)
                    ShiftRowRight(line);
                else
                    ShiftRowLeft(line);
            }
        }

        if (count == n - 1 || random.Random(10) < n) {
            columns = !columns;
            std::swap(n, m);
            used = {};
            count = 0;
        }
    }
    return moves;
}

std::optional<TArrow> TPuzzleBoard::ArrowForKey(char32_t key) const
{
    const char32_t upper = UpperAsciiLetter(key);
    for (int32_t i = 0; i < 2 * Cols(); ++i)
        if (upper == static_cast<char32_t>(ColumnKeys[i]))
            return TArrow {true, i + 1};
    for (int32_t i = 0; i < 2 * Rows(); ++i)
        if (upper == static_cast<char32_t>(RowKeys[i]))
            return TArrow {false, i + 1};
    return std::nullopt;
}
